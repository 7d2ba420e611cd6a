#include "RunOptions.h"

#include "SettingsKeys.h"
#include "lib/Convert.h"

#include <stdexcept>

namespace tabulon {

namespace {

class Reader {
public:
    explicit Reader(const Dictionary& section) : m_section(section) {}

    const Variant& value(std::string_view key) const {
        // Every key a run reads has its entry in the table, with its default and normalisation.
        if (!FindSettingKey(key))
            throw std::logic_error("the settings key '" + std::string(key) + "' is not in the table");
        return m_section.get(std::string(key));
    }
    std::string text(std::string_view key) const { return toText(value(key)); }
    bool flagOrOff(std::string_view key) const { return toBooleanOr(value(key), false); }

    // A flag that must convert; the first one that does not is kept for the run to report.
    bool flag(std::string_view key, std::optional<Error>& unreadable) const {
        try {
            return toBoolean(value(key));
        } catch (const Error& error) {
            if (!unreadable)
                unreadable = Error(error.number(), "Verdix.modMySql.MoveData2MySql",
                                   "Type mismatch: the setting '" + std::string(key) + "' holds '" + text(key) +
                                       "', which is neither 0 nor 1");
            return false;
        }
    }

    // On unless the value is 0, as a number, a text or a Boolean.
    bool onUnlessZero(std::string_view key) const {
        const Variant& v = value(key);
        return v.type() == Variant::Type::Boolean ? v.boolean() : toText(v) != "0";
    }

private:
    const Dictionary& m_section;
};

} // namespace

RunOptions ReadRunOptions(const Dictionary& section) {
    const Reader read(section);
    RunOptions options;
    options.direct = read.text("destinationmethod") == "DIRECT";
    options.database = read.text("destinationdatabase");
    options.dumpFileName = read.text("destinationdumpfilename");
    options.login = {read.text("destinationserver"), toLowerAscii(read.text("destinationauthentication")) == "windows",
                     read.text("destinationusername"), read.text("destinationpassword")};
    options.source = {read.text("sourcefilename"), read.text("sourcesystemdatabase"), read.text("sourceusername"),
                      read.text("sourcepassword")};

    options.dropDatabase = read.flag("dropdatabase", options.unreadable);
    options.createTables = read.flag("createtables", options.unreadable);
    options.transferRecords = read.flag("transferrecords", options.unreadable);
    options.columnList = read.flagOrOff("columnlist");
    options.negativeBoolean = read.flagOrOff("negativeboolean");
    options.ignoreLargeBlobs = read.flagOrOff("ignorelargeblobs");
    options.tablePrefix = read.text("tableprefix");
    options.transferRelationships = read.onUnlessZero("transferrelationships");
    options.transferValidationRules = read.onUnlessZero("transfervalidationrules");
    options.transferDescriptions = read.onUnlessZero("transferdescriptions");
    options.verifyCounts = read.onUnlessZero("verifycounts");
    options.transferQueries = read.onUnlessZero("transferqueries");

    TableDefinitionOptions& definition = options.definition;
    definition.unicode = read.onUnlessZero("unicode");
    definition.dateTimeType = read.text("datetimetype");
    definition.transferDefaultValues = read.flag("transferdefaultvalues", options.unreadable);
    definition.transferAutonumbers = read.flag("transferautonumbers", options.unreadable);
    definition.transferIndexes = read.flag("transferindexes", options.unreadable);
    definition.storageEngine = toLowerAscii(read.text("storageengine"));
    options.selection = TableSelection(read.value("sourcetables"));

    options.listing = ListedOptions(section);
    return options;
}

} // namespace tabulon
