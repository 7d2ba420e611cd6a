#include "AccessDatabase.h"

#include "Catalog.h"
#include "ComplexColumns.h"
#include "DataPage.h"
#include "PageFile.h"
#include "SchemaReader.h"
#include "TableCursor.h"
#include "TextCodec.h"
#include "crypto/EncryptedAccdb.h"
#include "lib/Convert.h"
#include "lib/Environment.h"
#include "lib/Error.h"

#include <charconv>

namespace tabulon {

namespace {

const char* const kSource = "Tabulon.Source.AccessDatabase";

// A workgroup information file is a Jet database holding the accounts table.
void checkWorkgroupFile(const std::string& fileName) {
    const auto notWorkgroup = [&](const std::string& why) {
        throw Error(errc::AccessWorkgroupMissing, kSource,
                    "The workgroup information file '" + fileName + "' " + why + ".");
    };
    DatabaseHeader header;
    try {
        header = readDatabaseHeader(fileName);
    } catch (const Error& error) {
        if (error.number() == errc::AccessFileNotFound)
            notWorkgroup("is missing");
        notWorkgroup("cannot be read: " + error.description());
    }
    if (header.isAce() || header.isEncryptedAce())
        notWorkgroup("is not a workgroup information file (it is an .accdb database)");
    auto pages = PageFile::open(header);
    for (const auto& entry : readCatalog(*pages, header.codePage))
        if (entry.type == objecttype::LocalTable && toLowerAscii(entry.name) == "msysaccounts")
            return;
    notWorkgroup("is not a workgroup information file (it has no accounts)");
}

// Windows decodes Access 97 text in its system-wide code page for non-Unicode programs; this variable
// plays that part here, for files written on a machine whose code page the file does not name.
std::uint16_t jet3CodePage(const ReaderOptions& options) {
    if (options.jet3CodePage != 0)
        return options.jet3CodePage;
    const std::string value = environmentVariable(kJet3CodePageVariable);
    if (value.empty())
        return 0;
    unsigned number = 0;
    const auto [end, failure] = std::from_chars(value.data(), value.data() + value.size(), number);
    const bool known = failure == std::errc() && end == value.data() + value.size() && number > 0 && number <= 0xFFFF &&
                       CodePageDecoder(static_cast<std::uint16_t>(number)).codePage() == number;
    if (!known)
        throw Error(errc::InvalidArgument, kSource,
                    std::string(kJet3CodePageVariable) + " names no code page this system can decode: \"" + value +
                        "\"");
    return static_cast<std::uint16_t>(number);
}

// The one place that decides how the pages of a file are read: plain (or Jet-encoded, which libmdb decodes)
// or, for an encrypted .accdb, decrypted first.
// The Jet password rule never applies to an .accdb: its old password field holds key bytes.
std::unique_ptr<PageFile> openPages(const DatabaseHeader& header, const std::string& databasePassword) {
    if (header.isEncryptedAce())
        return PageFile::open(header, unlockEncryptedAccdb(header, databasePassword));
    verifyDatabasePassword(header, databasePassword);
    return PageFile::open(header);
}

} // namespace

AccessDatabase::AccessDatabase(DatabaseHeader header, std::unique_ptr<PageFile> pages, const ReaderOptions& options)
    : m_header(std::move(header)), m_pages(std::move(pages)),
      m_textCodePage(m_header.isJet3() && options.jet3CodePage != 0 ? options.jet3CodePage : m_header.codePage) {}

AccessDatabase::~AccessDatabase() = default;

std::unique_ptr<AccessDatabase> AccessDatabase::open(const SourceCredentials& credentials,
                                                     const ReaderOptions& options) {
    DatabaseHeader header = readDatabaseHeader(credentials.fileName);
    // With a workgroup the password belongs to the workgroup user; the database password is then empty.
    // An .accdb knows no workgroups: the ACE provider ignores the system database and takes the password as
    // the database password.
    const bool workgroup = !credentials.systemDatabase.empty() && !header.isAce();
    if (workgroup)
        checkWorkgroupFile(credentials.systemDatabase);
    auto pages = openPages(header, workgroup ? std::string() : credentials.password);
    ReaderOptions effective = options;
    if (header.isJet3())
        effective.jet3CodePage = jet3CodePage(options);
    std::unique_ptr<AccessDatabase> database(new AccessDatabase(std::move(header), std::move(pages), effective));
    const auto catalog = readCatalog(*database->m_pages, database->m_textCodePage);
    database->m_tables = describeTables(*database->m_pages, catalog, database->m_textCodePage);
    return database;
}

const TableInfo* AccessDatabase::findTable(const std::string& name) const {
    for (const auto& table : m_tables)
        if (table.name == name)
            return &table;
    const std::string lower = toLowerAscii(name);
    for (const auto& table : m_tables)
        if (toLowerAscii(table.name) == lower)
            return &table;
    return nullptr;
}

std::vector<RelationshipInfo> AccessDatabase::relationships() const {
    const TableInfo* table = findTable("MSysRelationships");
    if (!table || !table->isLocal())
        return {};
    TableCursor cursor(m_pages->reopen(), table->definition,
                       columnsByName(*table->definition, relationshipColumns(), table->name), m_textCodePage);
    return readRelationships(cursor);
}

const TableInfo& AccessDatabase::localTable(const std::string& name) const {
    const TableInfo* table = findTable(name);
    if (!table)
        throw Error(errc::AccessTableNotFound, kSource,
                    "The table '" + name + "' does not exist in '" + m_header.fileName + "'.");
    if (!table->isLocal())
        throw Error(errc::AccessTableNotFound, kSource,
                    "The table '" + name + "' is linked to another database; only tables stored in '" +
                        m_header.fileName + "' can be read.");
    return *table;
}

std::int64_t AccessDatabase::rowCount(const std::string& name) {
    const TableInfo& table = localTable(name);
    TableScan scan(*m_pages, *table.definition);
    std::int64_t count = 0;
    while (scan.next(false))
        ++count;
    return count;
}

std::unique_ptr<RowCursor> AccessDatabase::openCursor(const std::string& name,
                                                      const std::vector<std::string>& columns) {
    const TableInfo& table = localTable(name);
    std::vector<std::string> names = columns;
    if (names.empty())
        for (const auto& field : table.fields)
            names.push_back(field.name);
    std::vector<CursorColumn> cursorColumns = columnsByName(*table.definition, names, table.name);
    for (auto& column : cursorColumns) {
        for (const auto& field : table.fields) {
            if (field.column.number != column.definition->number || field.complex == ComplexKind::None)
                continue;
            const StorageTypes types = storageTypesOf(*column.definition, field.complex);
            column.kind = types.kind;
            column.providerType = types.provider;
            if (column.kind == ValueKind::Attachment || column.kind == ValueKind::MultiValue)
                column.complex = openComplexValues(*m_pages, field, m_textCodePage);
        }
    }
    return std::make_unique<TableCursor>(m_pages->reopen(), table.definition, std::move(cursorColumns), m_textCodePage);
}

} // namespace tabulon
