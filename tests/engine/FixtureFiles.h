#pragma once

#include "source/AccessDatabase.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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

// Points TEMP at a folder while it lives; the scanner saves access.xml there.
class ScopedTemp {
public:
    explicit ScopedTemp(const std::filesystem::path& folder) {
        if (const char* temp = std::getenv("TEMP"))
            m_old = temp;
        setenv("TEMP", folder.c_str(), 1);
    }
    ~ScopedTemp() {
        if (m_old)
            setenv("TEMP", m_old->c_str(), 1);
        else
            unsetenv("TEMP");
    }
    ScopedTemp(const ScopedTemp&) = delete;
    ScopedTemp& operator=(const ScopedTemp&) = delete;

private:
    std::optional<std::string> m_old;
};

} // namespace fixture
