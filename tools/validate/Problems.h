#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace validate {

/// One thing wrong with the content: the file, a JSON pointer into it ("" for the whole
/// file) and what is wrong.
struct Problem {
    std::string file;
    std::string pointer;
    std::string what;
    /// Worth a designer's look but harmless: the content still loads and plays.
    bool warning = false;
};

/// The pointer of member `key` below `parent`, escaped as JSON pointers require.
inline std::string Child(const std::string& parent, std::string_view key) {
    std::string out = parent + "/";
    for (char c : key) {
        if (c == '~') {
            out += "~0";
        } else if (c == '/') {
            out += "~1";
        } else {
            out += c;
        }
    }
    return out;
}

/// `FILE: /json/pointer: what is wrong`, one line.
inline std::ostream& operator<<(std::ostream& out, const Problem& problem) {
    out << problem.file << ": " << (problem.pointer.empty() ? "/" : problem.pointer) << ": ";
    if (problem.warning) out << "warning: ";
    for (char c : problem.what) out << (c == '\n' ? ' ' : c);
    return out;
}

}  // namespace validate
