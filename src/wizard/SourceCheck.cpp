#include "wizard/SourceCheck.h"

#include "lib/Error.h"
#include "lib/FileSystem.h"
#include "source/AccessDatabase.h"

namespace tabulon {

namespace {
// The Access engine's number for a data provider that is not installed.
constexpr long kProviderNotInstalled = 3706;

std::string missingEngineMessage() {
    return "You are most likely missing a driver for the Access Database on your system.\r\n\r\n"
           "You can probably fix this by downloading and installting the AccessDatabaseEngine.exe from Microsoft at "
           "the link below:\r\n\r\n" +
           AccessEngineDownloadAddress();
}
} // namespace

std::string AccessEngineDownloadAddress() {
    return "https://www.microsoft.com/en-us/download/details.aspx?id=54920";
}

bool CheckSourceDatabase(const std::string& fileName, const std::string& systemDatabase, const std::string& userName,
                         const std::string& password, std::string& message, std::string& url) {
    url.clear();
    if (!FileExists(fileName)) {
        message = "The database file '" + fileName + "' does not exist.";
        return false;
    }
    if (!systemDatabase.empty() && !FileExists(systemDatabase)) {
        message = "The system database file '" + systemDatabase + "' does not exist.";
        return false;
    }
    try {
        // Opening reads and checks the header, the password and the catalog; the database is closed again.
        AccessDatabase::open({fileName, systemDatabase, userName, password});
        return true;
    } catch (const Error& error) {
        if (error.number() == kProviderNotInstalled) {
            message = missingEngineMessage();
            url = AccessEngineDownloadAddress();
        } else {
            message = "Unable to open the source database.\r\nError " + std::to_string(error.number()) + ": " +
                      error.description();
        }
    } catch (const std::exception& error) {
        message = "Unable to open the source database.\r\nError " + std::to_string(errc::General) + ": " + error.what();
    }
    return false;
}

} // namespace tabulon
