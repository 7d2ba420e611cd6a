#pragma once

#include <string>

namespace tabulon::test {

// A copy of a real Access file under tests/data/access (or generated/ for the Jackcess-made ones).
inline std::string accessFile(const std::string& name) {
    return std::string(TABULON_TEST_DATA) + "/access/" + name;
}

inline std::string generatedFile(const std::string& name) {
    return std::string(TABULON_TEST_DATA) + "/generated/" + name;
}

} // namespace tabulon::test
