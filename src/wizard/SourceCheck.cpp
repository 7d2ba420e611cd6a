#include "wizard/SourceCheck.h"

#include "lib/FileSystem.h"

namespace tabulon {

bool CheckSourceDatabase(const std::string& fileName, const std::string& systemDatabase, const std::string& userName,
                         const std::string& password, std::string& message, std::string& url) {
    (void)userName;
    (void)password;
    url.clear();
    if (!FileExists(fileName)) {
        message = "The database file '" + fileName + "' does not exist.";
        return false;
    }
    if (!systemDatabase.empty() && !FileExists(systemDatabase)) {
        message = "The system database file '" + systemDatabase + "' does not exist.";
        return false;
    }
    return true;
}

} // namespace tabulon
