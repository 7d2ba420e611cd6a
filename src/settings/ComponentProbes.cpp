// The real probes of the dependency check: each one uses its component as the program later will.
#include "settings/DependencyCheck.h"

#include "lib/Environment.h"
#include "lib/Error.h"
#include "lib/FileSystem.h"
#include "settings/OdbcProbe.h"
#include "source/ConnectionString.h"

#include <pugixml.hpp>

#include <fstream>
#include <random>

namespace tabulon {

namespace {

void probeXmlParser() {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_string("<AccessDatabase><Table Name=\"t\"/></AccessDatabase>");
    if (!parsed || !document.select_node("/AccessDatabase/Table[@Name='t']"))
        throw Error(errc::ComponentMissing, "pugixml", std::string("The XML parser failed: ") + parsed.description());
}

// Creates, writes and removes a file of a random name: the schema document is written there.
void probeTemporaryFolder(const std::string& folder) {
    std::random_device random;
    const std::filesystem::path probe =
        toFsPath(folder) / ("tabulon-probe-" + std::to_string(random()) + "-" + std::to_string(random()) + ".tmp");
    bool written;
    {
        std::ofstream file(probe, std::ios::binary | std::ios::trunc);
        written = file && (file << "probe") && file.flush();
    }
    std::error_code ignored;
    std::filesystem::remove(probe, ignored);
    if (!written)
        throw Error(errc::ComponentMissing, "Tabulon.Startup",
                    "Cannot write to the temporary folder '" + folder + "'.");
}

} // namespace

std::vector<Component> RequiredComponents() {
    const std::string temporary = temporaryFolder();
    return {
        {"Access reader (libmdb)",
         "The program requires that the Access database reader (libmdb of mdbtools) is installed on this "
         "machine.\r\nOn Debian and Ubuntu it is the package libmdb3.",
         [] { CreateDaoEngine(); }},
        {"XML parser (pugixml)",
         "The program requires that the XML parser pugixml is available on your computer. You can download it "
         "from https://pugixml.org/ or install the package libpugixml1v5 to get this component.",
         probeXmlParser},
        {"ODBC driver manager (unixODBC)",
         "The program requires that the ODBC driver manager unixODBC is available on your computer. You can "
         "download it from https://www.unixodbc.org/ or install the package libodbc2 to get this component.",
         probeOdbcDriverManager},
        {"Temporary folder",
         "The program requires a temporary folder it can write to, but '" + temporary +
             "' (named by TEMP, else TMPDIR, else /tmp) cannot be written.\r\nSet TEMP to a folder you can write to.",
         [temporary] { probeTemporaryFolder(temporary); }},
    };
}

} // namespace tabulon
