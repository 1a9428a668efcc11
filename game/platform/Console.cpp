#include "game/platform/Console.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdio>
#include <iostream>

namespace {

bool Leads(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

}  // namespace

void ReachStartingConsole() {
    // A GUI-subsystem program gets no console of its own; one started from a console window
    // (rather than from a shell that redirected its output) has no standard handles at all.
    if (Leads(STD_OUTPUT_HANDLE) && Leads(STD_ERROR_HANDLE)) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    FILE* ignored = nullptr;
    if (!Leads(STD_OUTPUT_HANDLE)) freopen_s(&ignored, "CONOUT$", "w", stdout);
    if (!Leads(STD_ERROR_HANDLE)) freopen_s(&ignored, "CONOUT$", "w", stderr);
    std::cout.clear();
    std::cerr.clear();
}
#else
void ReachStartingConsole() {}
#endif
