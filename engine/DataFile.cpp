#include "engine/DataFile.h"

#include <filesystem>
#include <fstream>
#include <ios>

nlohmann::json ReadDataFile(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) throw DataError(path + ": is a folder");
    std::ifstream in(path);
    if (!in) {
        throw DataError(path + (std::filesystem::exists(path, error) ? ": cannot be read"
                                                                     : ": file not found"));
    }
    try {
        return nlohmann::json::parse(in);
    } catch (const nlohmann::json::exception& e) {
        throw DataFileError(path, e);
    } catch (const std::ios_base::failure& e) {
        throw DataError(path + ": cannot be read: " + e.what());
    }
}

DataError DataFileError(const std::string& path, const nlohmann::json::exception& error,
                        const std::string& where) {
    return DataError(path + ": " + (where.empty() ? "" : where + ": ") + error.what());
}
