#include "ConnectionString.h"

#include "lib/Convert.h"
#include "lib/Error.h"

#include <glib.h>

#include <mdbtools.h>

namespace tabulon {

namespace {

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

bool IsAccdbFile(const std::string& fileName) {
    const std::string lower = toLowerAscii(fileName);
    return endsWith(lower, ".accdb") || endsWith(lower, ".accde");
}

void CreateDaoEngine() {
    // The reader's engine is libmdb; it is usable when it reports its version and the library was loaded.
    const char* version = mdb_get_version();
    if (version == nullptr || *version == '\0')
        throw Error(errc::ComponentMissing, "Tabulon.Source.CreateDaoEngine",
                    "Unable to create DAO.Engine. Please install Microsoft Access on this computer. Error: " +
                        std::to_string(errc::ComponentMissing) + ". The Access reader (libmdb) is not available.");
}

} // namespace tabulon
