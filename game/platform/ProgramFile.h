#pragma once

#include <filesystem>

/// The running program's file as the system knows it, or empty where it cannot tell.
std::filesystem::path RunningProgramFile();
