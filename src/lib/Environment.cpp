#include "Environment.h"

#include "FileSystem.h"

#include <cstdlib>
#include <filesystem>

namespace tabulon {

std::string environmentVariable(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? std::string(value) : std::string();
}

std::string temporaryFolder() {
    for (const char* name : {"TEMP", "TMPDIR"}) {
        std::string folder = environmentVariable(name);
        if (!folder.empty())
            return folder;
    }
    if constexpr (std::filesystem::path::preferred_separator == '/') {
        return "/tmp";
    } else {
        std::error_code code;
        const std::filesystem::path folder = std::filesystem::temp_directory_path(code);
        return code ? std::string(".") : fromFsPath(folder);
    }
}

} // namespace tabulon
