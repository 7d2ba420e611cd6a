#include "AccessDatabase.h"
#include "Catalog.h"
#include "PageFile.h"
#include "TableCursor.h"
#include "lib/Convert.h"

#include <algorithm>
#include <map>

namespace tabulon {

namespace {

std::string textOf(const Variant& value) {
    return value.isText() ? value.text() : std::string();
}

bool hasField(const TableInfo& table, const std::string& name) {
    return std::any_of(table.fields.begin(), table.fields.end(), [&](const FieldInfo& f) { return f.name == name; });
}

QueryRow rowFrom(const RowCursor& cursor, bool withLvExtra) {
    QueryRow row;
    row.attribute = static_cast<int>(toInteger(cursor.value(1)) & 0xFF); // a Byte: the end row reads 255
    const Variant& order = cursor.value(2);
    if (order.type() == Variant::Type::Bytes)
        row.order.assign(order.bytes().begin(), order.bytes().end());
    row.name1 = textOf(cursor.value(3));
    row.name2 = textOf(cursor.value(4));
    row.expression = textOf(cursor.value(5));
    row.flag = static_cast<int>(toInteger(cursor.value(6)));
    row.lvExtra = withLvExtra ? static_cast<long>(toInteger(cursor.value(7))) : 0;
    return row;
}

} // namespace

SavedQueries AccessDatabase::savedQueries() const {
    SavedQueries result;
    const auto entries =
        readCatalogEntries(*m_pages, m_textCodePage, [](int type) { return type == objecttype::Query; });
    std::map<std::int32_t, std::vector<QueryRow>> rowsById;
    const TableInfo* table = findTable("MSysQueries");
    if (table && table->definition) {
        const bool withLvExtra = hasField(*table, "LvExtra"); // Access 97 files have none
        std::vector<std::string> names{"ObjectId", "Attribute", "Order", "Name1", "Name2", "Expression", "Flag"};
        if (withLvExtra)
            names.push_back("LvExtra");
        TableCursor cursor(m_pages->reopen(), table->definition, columnsByName(*table->definition, names, table->name),
                           m_textCodePage);
        while (cursor.next())
            rowsById[static_cast<std::int32_t>(toInteger(cursor.value(0)))].push_back(rowFrom(cursor, withLvExtra));
    }
    for (const CatalogEntry& entry : entries) {
        if (!isUserQuery(entry.name, entry.flags)) {
            ++result.skippedHidden;
            continue;
        }
        auto rows = rowsById.find(entry.id);
        result.queries.push_back(rebuildQuery(
            entry.name, entry.flags, rows == rowsById.end() ? std::vector<QueryRow>{} : std::move(rows->second)));
    }
    std::sort(result.queries.begin(), result.queries.end(),
              [](const SavedQuery& a, const SavedQuery& b) { return toLowerAscii(a.name) < toLowerAscii(b.name); });
    return result;
}

} // namespace tabulon
