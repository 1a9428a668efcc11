#pragma once

#include <stdexcept>
#include <string>

/// Bad content: a data file that is missing or malformed. The message names the file first,
/// then the key or the parser's complaint.
class DataError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
