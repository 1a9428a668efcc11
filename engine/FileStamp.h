#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

/// What a cache records of a file when it reads it, to tell later whether the file changed:
/// its last-write time and size, or that it was not there.
struct FileStamp {
    bool exists = false;
    std::filesystem::file_time_type time{};
    std::uintmax_t size = 0;

    bool operator==(const FileStamp&) const = default;
};

/// Never throws: a file that cannot be looked at counts as missing.
inline FileStamp StampFile(const std::string& path) {
    std::error_code error;
    FileStamp stamp;
    stamp.time = std::filesystem::last_write_time(path, error);
    if (error) return FileStamp{};
    stamp.size = std::filesystem::file_size(path, error);
    if (error) return FileStamp{};
    stamp.exists = true;
    return stamp;
}
