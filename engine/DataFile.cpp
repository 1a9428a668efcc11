#include "engine/DataFile.h"

#include <filesystem>
#include <fstream>
#include <ios>

nlohmann::json ParseDataText(std::istream& in, const std::string& path) {
    // The library parses iteratively, but copying, comparing and walking a value recurse: a
    // limit here keeps every later step off the end of the stack.
    const nlohmann::json::parser_callback_t depth =
        [&path](int level, nlohmann::json::parse_event_t event, nlohmann::json&) {
            if ((event == nlohmann::json::parse_event_t::object_start ||
                 event == nlohmann::json::parse_event_t::array_start) &&
                level >= kMaxDataDepth) {
                throw DataError(path + ": arrays and objects nested more than " +
                                std::to_string(kMaxDataDepth) + " deep");
            }
            return true;
        };
    try {
        return nlohmann::json::parse(in, depth);
    } catch (const nlohmann::json::exception& e) {
        // Parse errors, and numbers beyond a double (out_of_range).
        throw DataFileError(path, e);
    } catch (const std::ios_base::failure& e) {
        throw DataError(path + ": cannot be read: " + e.what());
    }
}

nlohmann::json ReadDataFile(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) throw DataError(path + ": is a folder");
    // A pipe or a device would block the reader or never end.
    if (std::filesystem::exists(path, error) && !std::filesystem::is_regular_file(path, error)) {
        throw DataError(path + ": not a regular file");
    }
    std::ifstream in(path);
    if (!in) {
        throw DataError(path + (std::filesystem::exists(path, error) ? ": cannot be read"
                                                                     : ": file not found"));
    }
    return ParseDataText(in, path);
}

DataError DataFileError(const std::string& path, const nlohmann::json::exception& error,
                        const std::string& where) {
    return DataError(path + ": " + (where.empty() ? "" : where + ": ") + error.what());
}
