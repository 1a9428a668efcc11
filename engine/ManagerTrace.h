#pragma once

#include <fstream>
#include <mutex>

#include "engine/Manager.h"

/// Writes every message it sees to trace.log, one line each, flushed at once. Never consumes.
/// Frame messages and the services' high-rate messages are skipped.
class ManagerTrace : public Manager {
public:
    /// Opens trace.log in the working directory; if that fails, writes are silently dropped.
    ManagerTrace();
    bool HandleMessage(const Message& message) override;

private:
    std::ofstream log;
    // Loader threads trace too; whole lines only.
    std::mutex logMutex;
};
