#include "ComplexColumns.h"

#include "AccessDatabase.h"
#include "ByteOrder.h"
#include "DataPage.h"
#include "PageFile.h"
#include "ValueDecoder.h"
#include "lib/Convert.h"
#include "lib/Dictionary.h"

#include <set>
#include <unordered_map>
#include <zlib.h>

namespace tabulon {

namespace {

const std::vector<std::string> kComplexColumns{"ComplexID", "ComplexTypeObjectID", "FlatTableID"};

std::string itemText(const Variant& value) {
    switch (value.type()) {
    case Variant::Type::Single:
        return doubleText(value.single());
    case Variant::Type::Decimal:
        return value.decimal().toString();
    default:
        return toText(value);
    }
}

// Reads chosen columns of rows at known positions of one table.
class RowFetcher {
public:
    RowFetcher(std::unique_ptr<PageFile> file, std::shared_ptr<const TableDefinition> definition,
               std::uint16_t textCodePage)
        : m_file(std::move(file)), m_definition(std::move(definition)), m_cracker(m_file->isJet3()),
          m_decoder(*m_file, textCodePage) {}

    PageFile& file() { return *m_file; }
    const TableDefinition& definition() const { return *m_definition; }

    void load(std::uint32_t location) {
        const std::uint8_t* row = nullptr;
        std::size_t size = 0;
        readPointedRow(*m_file, location, m_page, row, size);
        if (!m_cracker.prepare(row, size, m_definition->variableColumnCount > 0))
            m_file->damaged("a row of a complex column's table is not valid");
    }

    void value(const ColumnDefinition& column, Variant& out) {
        FieldBytes field;
        if (!m_cracker.field(column, field))
            m_file->damaged("a value of a complex column's table runs past its row");
        if (field.isNull)
            out.setNull();
        else
            m_decoder.decode(column, storageTypesOf(column, ComplexKind::None).kind, field, out);
    }

private:
    std::unique_ptr<PageFile> m_file;
    std::shared_ptr<const TableDefinition> m_definition;
    std::vector<std::uint8_t> m_page;
    RowCracker m_cracker;
    ValueDecoder m_decoder;
};

const ColumnDefinition* columnNamed(const TableDefinition& definition, const std::string& name) {
    for (const auto& column : definition.columns)
        if (toLowerAscii(column.name) == toLowerAscii(name))
            return &column;
    return nullptr;
}

class FlatTableValues : public ComplexValues {
public:
    FlatTableValues(std::unique_ptr<PageFile> file, const FieldInfo& field, std::uint16_t textCodePage)
        : m_kind(field.complex),
          m_fetcher(file->reopen(),
                    std::make_shared<const TableDefinition>(readTableDefinition(*file, field.flatTablePage)),
                    textCodePage) {
        const TableDefinition& flat = m_fetcher.definition();
        const TableDefinition type = readTableDefinition(*file, field.complexTypePage);
        std::set<std::string> valueColumns;
        for (const auto& column : type.columns)
            valueColumns.insert(toLowerAscii(column.name));
        for (const auto& column : flat.columns)
            if (!valueColumns.count(toLowerAscii(column.name)) && !column.isAutoIncrement() && !m_key)
                m_key = &column;
        m_value = columnNamed(flat, m_kind == ComplexKind::Attachment ? "FileData" : "value");
        m_fileName = columnNamed(flat, "FileName");
        if (!m_key || !m_value || (m_kind == ComplexKind::Attachment && !m_fileName))
            file->damaged("the table of the complex column '" + field.name + "' lacks its columns");
        indexRows(*file, flat);
    }

    void fill(std::int32_t key, Variant& out) override {
        const auto it = m_rows.find(key);
        if (m_kind == ComplexKind::Attachment)
            fillAttachments(it == m_rows.end() ? nullptr : &it->second, out);
        else
            fillItems(it == m_rows.end() ? nullptr : &it->second, out);
    }

private:
    void indexRows(PageFile& file, const TableDefinition& flat) {
        auto scanFile = file.reopen();
        TableScan scan(*scanFile, flat);
        RowCracker cracker(scanFile->isJet3());
        while (scan.next()) {
            FieldBytes field;
            if (!cracker.prepare(scan.row(), scan.rowSize(), flat.variableColumnCount > 0) ||
                !cracker.field(*m_key, field))
                scanFile->damaged("a row of a complex column's table is not valid");
            if (!field.isNull && field.size >= 4)
                m_rows[static_cast<std::int32_t>(jet::le32(field.data))].push_back(scan.location());
        }
    }

    void fillItems(const std::vector<std::uint32_t>* rows, Variant& out) {
        StringList items;
        for (const std::uint32_t location : rows ? *rows : std::vector<std::uint32_t>{}) {
            m_fetcher.load(location);
            m_fetcher.value(*m_value, m_scratch);
            if (!m_scratch.isNull())
                items.push_back(itemText(m_scratch));
        }
        out = Variant(std::move(items));
    }

    void fillAttachments(const std::vector<std::uint32_t>* rows, Variant& out) {
        auto files = Dictionary::create();
        for (const std::uint32_t location : rows ? *rows : std::vector<std::uint32_t>{}) {
            m_fetcher.load(location);
            m_fetcher.value(*m_fileName, m_scratch);
            const std::string name = toText(m_scratch);
            m_fetcher.value(*m_value, m_scratch);
            Bytes data;
            if (m_scratch.type() == Variant::Type::Bytes)
                decodeAttachmentData(m_scratch.bytes(), data);
            files->set(name, Variant(std::move(data)));
        }
        out = Variant(files);
    }

    ComplexKind m_kind;
    RowFetcher m_fetcher;
    const ColumnDefinition* m_key = nullptr;
    const ColumnDefinition* m_value = nullptr;
    const ColumnDefinition* m_fileName = nullptr;
    std::unordered_map<std::int32_t, std::vector<std::uint32_t>> m_rows;
    Variant m_scratch;
};

} // namespace

ComplexColumnMap readComplexColumns(PageFile& file, const std::vector<CatalogEntry>& catalog,
                                    std::uint16_t textCodePage) {
    ComplexColumnMap result;
    const CatalogEntry* table = nullptr;
    std::map<std::int32_t, std::string> names;
    for (const auto& entry : catalog) {
        names[entry.id] = entry.name;
        if (entry.type == objecttype::LocalTable && entry.name == "MSysComplexColumns")
            table = &entry;
    }
    if (!table)
        return result;
    auto definition = std::make_shared<const TableDefinition>(readTableDefinition(file, table->definitionPage()));
    for (const auto& name : kComplexColumns)
        if (!columnNamed(*definition, name))
            file.damaged("the complex-column catalog " + table->name + " (page " +
                         std::to_string(table->definitionPage()) + ") has no column '" + name + "'");
    TableCursor cursor(file.reopen(), definition, columnsByName(*definition, kComplexColumns, table->name),
                       textCodePage);
    while (cursor.next()) {
        const auto id = static_cast<std::uint32_t>(toInteger(cursor.value(0)));
        const auto typeId = static_cast<std::int32_t>(toInteger(cursor.value(1)));
        const auto flatId = static_cast<std::uint32_t>(toInteger(cursor.value(2)));
        ComplexColumnInfo info;
        info.kind = complexKindFromTypeName(names.count(typeId) ? names[typeId] : std::string());
        info.flatTablePage = flatId & 0x00FFFFFF;
        info.typeTablePage = static_cast<std::uint32_t>(typeId) & 0x00FFFFFF;
        result[id] = info;
    }
    return result;
}

std::unique_ptr<ComplexValues> openComplexValues(const PageFile& file, const FieldInfo& field,
                                                 std::uint16_t textCodePage) {
    return std::make_unique<FlatTableValues>(file.reopen(), field, textCodePage);
}

void decodeAttachmentData(const Bytes& stored, Bytes& out) {
    out.clear();
    if (stored.size() < 8)
        return;
    const std::uint32_t type = jet::le32(stored.data());
    const std::uint32_t length = jet::le32(stored.data() + 4);
    Bytes content;
    if (type == 1) {
        // Deflate cannot expand more than about 1032 times: a larger stated length is damage.
        if (length > (stored.size() - 8) * 1032 + 64)
            return;
        content.resize(length);
        uLongf produced = length;
        if (uncompress(content.data(), &produced, stored.data() + 8, static_cast<uLong>(stored.size() - 8)) != Z_OK)
            return;
        content.resize(produced);
    } else {
        content.assign(stored.begin() + 8, stored.end());
    }
    if (content.size() < 4)
        return;
    const std::size_t header = jet::le32(content.data());
    if (header <= content.size())
        out.assign(content.begin() + static_cast<std::ptrdiff_t>(header), content.end());
}

} // namespace tabulon
