#include "Catalog.h"

#include "ObjectNames.h"
#include "PageFile.h"
#include "TableCursor.h"
#include "lib/Convert.h"
#include "lib/Error.h"

namespace tabulon {

namespace {

constexpr std::uint32_t kCatalogPage = 2;
const std::vector<std::string> kColumns{"Id", "Name", "Type", "Flags", "Database", "Connect", "ForeignName", "LvProp"};
enum { Id, Name, Type, Flags, Database, Connect, ForeignName, LvProp, ColumnCount };

std::string textOf(const Variant& value) {
    return value.isText() ? value.text() : std::string();
}

} // namespace

std::vector<CatalogEntry> readCatalog(PageFile& file, std::uint16_t textCodePage) {
    return readCatalogEntries(file, textCodePage, [](int type) {
        return type == objecttype::LocalTable || type == objecttype::LinkedTable || type == objecttype::OdbcLinkedTable;
    });
}

std::vector<CatalogEntry> readCatalogEntries(PageFile& file, std::uint16_t textCodePage,
                                             const std::function<bool(int)>& acceptType) {
    auto definition = std::make_shared<const TableDefinition>(readTableDefinition(file, kCatalogPage));
    std::vector<CursorColumn> columns;
    try {
        columns = columnsByName(*definition, kColumns, "MSysObjects");
    } catch (const Error&) {
        file.damaged("the catalog lacks one of its columns");
    }
    TableCursor cursor(file.reopen(), definition, std::move(columns), textCodePage);
    std::vector<CatalogEntry> entries;
    while (cursor.next()) {
        const int type = static_cast<int>(toInteger(cursor.value(Type)));
        if (!acceptType(type))
            continue;
        CatalogEntry entry;
        entry.id = static_cast<std::int32_t>(toInteger(cursor.value(Id)));
        entry.name = textOf(cursor.value(Name));
        // Such a name means the catalog page is damaged, and the ids and flags beside it cannot be
        // trusted either: refuse the file rather than convert it partly or wrongly.
        if (holdsControlCharacter(entry.name))
            file.damaged("the catalog names a table '" + nameForMessage(entry.name) +
                         "' with a control character, which no Access name holds");
        entry.type = type;
        entry.flags = static_cast<std::uint32_t>(toInteger(cursor.value(Flags)));
        entry.database = textOf(cursor.value(Database));
        entry.connect = textOf(cursor.value(Connect));
        entry.foreignName = textOf(cursor.value(ForeignName));
        const Variant& properties = cursor.value(LvProp);
        if (properties.type() == Variant::Type::Bytes)
            entry.properties = properties.bytes();
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace tabulon
