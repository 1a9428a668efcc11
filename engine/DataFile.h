#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "engine/DataError.h"

/// Opens and parses the JSON data file at `path`. A file that is missing or unreadable, or
/// text that is not JSON, raises a DataError whose message begins with `path`.
nlohmann::json ReadDataFile(const std::string& path);

/// The DataError for a JSON error met while reading the content of `path`. The JSON library's
/// text names the key path of the offending value, for example "(/Physics/Velocity)"; `where`
/// (such as "\"Physics\"") is put in front of it when given.
DataError DataFileError(const std::string& path, const nlohmann::json::exception& error,
                        const std::string& where = "");
