#pragma once

#include "PageZero.h"
#include "Relationships.h"
#include "SavedQueries.h"
#include "TableDefinition.h"
#include "TypeCodes.h"
#include "lib/RowSource.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tabulon {

class PageFile;
struct CatalogEntry;

namespace errc {
constexpr long AccessTableNotFound = 3078;
constexpr long AccessItemNotFound = 3265;
} // namespace errc

// DAO table attribute bits.
namespace daoattr {
constexpr long HiddenObject = 0x1;
constexpr long SystemObject = static_cast<long>(static_cast<std::int32_t>(0x80000002u));
constexpr long AttachedODBC = 0x20000000;
constexpr long AttachedTable = 0x40000000;
} // namespace daoattr

// A field as DAO describes it.
struct FieldInfo {
    std::string name;
    AccessType type = AccessType::None;
    long size = 0;         // DAO size
    bool required = false; // the Required property
    std::string defaultValue;
    long attributes = 0; // DAO attribute word
    int precision = 0;   // Decimal: as stored; Currency: 19
    int scale = 0;       // Decimal: as stored; Currency: 4
    bool calculated = false;
    std::string expression; // a calculated field's expression
    std::string validationRule;
    std::string validationText;
    std::string description;
    ColumnDefinition column;
    ComplexKind complex = ComplexKind::None;
    std::uint32_t flatTablePage = 0;   // complex columns: the table holding their values
    std::uint32_t complexTypePage = 0; // complex columns: the table naming their value columns
};

struct IndexInfo {
    std::string name;
    bool primary = false;
    bool unique = false;
    bool ignoreNulls = false;
    bool foreign = false;
    std::vector<std::string> fields; // key order
};

struct TableInfo {
    std::string name;
    long attributes = 0; // DAO attribute word: 0 for an ordinary local table
    int objectType = 0;  // 1 local, 6 linked Access table, 4 ODBC-linked table
    std::string linkedDatabase;
    std::string foreignName;
    std::vector<FieldInfo> fields;
    std::vector<IndexInfo> indexes;
    std::string validationRule; // the table's own rule, over several of its fields
    std::string validationText;
    std::string description;
    std::shared_ptr<const TableDefinition> definition; // local tables only

    bool isLocal() const { return objectType == 1; }
};

// The environment variable that, like Windows' code page for non-Unicode programs, names the code page of
// Access 97 text when the reader options name none (e.g. 936 for files written on a Chinese system).
inline constexpr const char* kJet3CodePageVariable = "TABULON_ACCESS97_CODEPAGE";

// Options of the reader beyond the four source inputs.
struct ReaderOptions {
    // Access 97 stores text in the code page of the machine that wrote it, which the file does not always
    // name; a non-zero value here overrides the file's code page (and the variable above) for Jet3 text.
    std::uint16_t jet3CodePage = 0;
};

// An Access database opened read-only from the four source inputs. The file is never written.
class AccessDatabase : public SourceConnection {
public:
    // Opens and checks the file: 3024 missing, 3051 unreadable, 3343 not an Access file or damaged,
    // 3031 wrong database password (of a Jet file, or of an encrypted .accdb, whose pages then read
    // decrypted), 3028 a system database (of a Jet file) that is missing or no workgroup file, 1000 an
    // .accdb encryption scheme that cannot be read, 5 a code page variable naming no known code page (Jet3
    // files only). Every message names the file, except 3031.
    static std::unique_ptr<AccessDatabase> open(const SourceCredentials& credentials,
                                                const ReaderOptions& options = {});
    ~AccessDatabase() override;

    const DatabaseHeader& header() const { return m_header; }
    // Every table of the catalog, system, hidden and linked ones included, in DAO's order (by name).
    const std::vector<TableInfo>& tables() const { return m_tables; }
    // The table of that name (exact, else without regard to letter case); null when there is none.
    const TableInfo* findTable(const std::string& name) const;
    // Every relationship stored in MSysRelationships, between any tables (system and linked ones included);
    // none when the file has no such table. Raises 3343 or 3265 when the table cannot be read.
    std::vector<RelationshipInfo> relationships() const;

    // The saved queries with their Access SQL rebuilt; raises the reader's errors when the stored
    // definitions cannot be read at all. Each query that cannot be rebuilt carries its problem.
    SavedQueries savedQueries() const;

    std::int64_t rowCount(const std::string& table) override;
    std::unique_ptr<RowCursor> openCursor(const std::string& table, const std::vector<std::string>& columns) override;

private:
    AccessDatabase(DatabaseHeader header, std::unique_ptr<PageFile> pages, const ReaderOptions& options);
    const TableInfo& localTable(const std::string& name) const;

    DatabaseHeader m_header;
    std::unique_ptr<PageFile> m_pages;
    std::uint16_t m_textCodePage;
    std::vector<TableInfo> m_tables;
};

} // namespace tabulon
