#pragma once

#include "source/AccessDatabase.h"

#include <memory>
#include <string>

// The real Access files under tests/data that the engine's end-to-end tests read.
namespace fixture {

inline std::string path(const std::string& relative) {
    return std::string(TABULON_TEST_DATA) + "/" + relative;
}

inline std::unique_ptr<tabulon::AccessDatabase> open(const std::string& relative, const std::string& password = "") {
    return tabulon::AccessDatabase::open({path(relative), "", "", password});
}

// The lines of a dump or report text, split at CR LF.
inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        out.push_back(text.substr(start, end - start));
    if (start < text.size())
        out.push_back(text.substr(start));
    return out;
}

} // namespace fixture
