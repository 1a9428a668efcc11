#pragma once

#include <istream>
#include <string>

#include <nlohmann/json.hpp>

#include "engine/DataError.h"

/// Arrays and objects nested deeper than this are refused: no content needs a quarter of it
/// (64 levels of inline children take 256), and the recursive walks over a parsed value must
/// stay well within the stack, which the sanitizers fill from about 3,000 levels.
inline constexpr int kMaxDataDepth = 1024;

/// Parses JSON text read from `in` (`path` names it in errors): text that is not JSON, a
/// number beyond a double or nesting beyond kMaxDataDepth raises a DataError.
nlohmann::json ParseDataText(std::istream& in, const std::string& path);

/// Opens and parses the JSON data file at `path`. A file that is missing, unreadable or not a
/// regular file, or text that ParseDataText refuses, raises a DataError whose message begins with
/// `path`.
nlohmann::json ReadDataFile(const std::string& path);

/// The DataError for a JSON error met while reading the content of `path`. The JSON library's
/// text names the key path of the offending value, for example "(/Physics/Velocity)"; `where`
/// (such as "\"Physics\"") is put in front of it when given.
DataError DataFileError(const std::string& path, const nlohmann::json::exception& error,
                        const std::string& where = "");
