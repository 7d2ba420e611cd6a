#pragma once

#include <string>

namespace tabulon {

// Test-opens the source database with the four inputs of the source page. Returns true when it
// opens; otherwise false with `message` saying why (naming the file), and `url` set when a download
// would fix it. Never raises.
bool CheckSourceDatabase(const std::string& fileName, const std::string& systemDatabase, const std::string& userName,
                         const std::string& password, std::string& message, std::string& url);

// The page offered when the Access reader itself is missing.
std::string AccessEngineDownloadAddress();

} // namespace tabulon
