#include "engine/DataFile.h"

#include <filesystem>
#include <fstream>

nlohmann::json ReadDataFile(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        std::error_code error;
        throw DataError(path + (std::filesystem::exists(path, error) ? ": cannot be read"
                                                                     : ": file not found"));
    }
    try {
        return nlohmann::json::parse(in);
    } catch (const nlohmann::json::exception& e) {
        throw DataFileError(path, e);
    }
}

DataError DataFileError(const std::string& path, const nlohmann::json::exception& error,
                        const std::string& where) {
    return DataError(path + ": " + (where.empty() ? "" : where + ": ") + error.what());
}
