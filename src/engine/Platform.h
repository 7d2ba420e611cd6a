#pragma once

#include <cstdio>
#include <string>

namespace tabulon {

// The few calls that differ between Windows and the other platforms.

// std::fopen for a UTF-8 path; `mode` is "wb" or "ab".
std::FILE* openFile(const std::string& utf8Path, const char* mode);

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

LocalTime currentLocalTime();

} // namespace tabulon
