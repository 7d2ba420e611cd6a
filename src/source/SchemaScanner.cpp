#include "SchemaScanner.h"

#include "AccessDatabase.h"
#include "ConnectionString.h"
#include "lib/Convert.h"
#include "lib/Environment.h"
#include "lib/Error.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace tabulon {

namespace {

const char* const kSource = "Tabulon.Source.SchemaScanner";

void appendText(pugi::xml_node parent, const char* name, const std::string& text) {
    parent.append_child(name).text().set(text.c_str());
}

void appendFlag(pugi::xml_node parent, const char* name, bool value) {
    appendText(parent, name, value ? "1" : "0");
}

// The attribute word in signed decimal, with a BitN flag for every bit set, lowest first.
void appendAttributes(pugi::xml_node parent, long word) {
    const auto bits = static_cast<std::uint32_t>(word);
    pugi::xml_node node = parent.append_child("Attributes");
    node.text().set(integerText(static_cast<std::int32_t>(bits)).c_str());
    for (int position = 1; position <= 32; ++position)
        if (bits & (1u << (position - 1)))
            node.append_attribute(("Bit" + std::to_string(position)).c_str()).set_value("1");
}

std::string normalisedBooleanDefault(const std::string& text) {
    const std::string upper = toUpperAscii(text);
    if (upper == "TRUE" || upper == "YES" || upper == "1" || upper == "-1")
        return "1";
    if (upper == "FALSE" || upper == "NO" || upper == "0")
        return "0";
    if (upper.empty() || upper == "NULL")
        return upper;
    return toBooleanOr(Variant(text), false) ? "1" : "0";
}

// Validation rule, its text and the description, each only when set, so that documents of files without
// them stay as they were.
template <typename Info> void appendRuleAndDescription(pugi::xml_node parent, const Info& info) {
    if (!info.validationRule.empty())
        appendText(parent, "ValidationRule", info.validationRule);
    if (!info.validationText.empty())
        appendText(parent, "ValidationText", info.validationText);
    if (!info.description.empty())
        appendText(parent, "Description", info.description);
}

void appendIndexes(pugi::xml_node table, const TableInfo& info) {
    pugi::xml_node indexes = table.append_child("Indexes");
    for (const auto& index : info.indexes) {
        pugi::xml_node node = indexes.append_child("Index");
        appendText(node, "Name", index.name);
        appendFlag(node, "Primary", index.primary);
        appendFlag(node, "Unique", index.unique);
        appendFlag(node, "IgnoreNulls", index.ignoreNulls);
        appendFlag(node, "Foreign", index.foreign);
        pugi::xml_node fields = node.append_child("Fields");
        for (const auto& name : index.fields)
            appendText(fields.append_child("Field"), "Name", name);
    }
}

void appendField(pugi::xml_node fields, const FieldInfo& field, const DictionaryPtr& tableColumns) {
    std::string defaultValue = field.defaultValue;
    if (field.type == AccessType::Boolean)
        defaultValue = normalisedBooleanDefault(defaultValue);
    std::int64_t size = field.size;
    std::int64_t scale = 0;
    if (field.type == AccessType::Currency || field.type == AccessType::Decimal) {
        size = 19;
        scale = 4;
        if (tableColumns && tableColumns->contains(field.name)) {
            const DictionaryPtr info = tableColumns->dictionaryAt(field.name);
            size = info ? toInteger(info->get("NUMERIC_PRECISION")) : 0;
            scale = info ? toInteger(info->get("NUMERIC_SCALE")) : 0;
        }
    }
    pugi::xml_node node = fields.append_child("Field");
    appendText(node, "Name", field.name);
    appendFlag(node, "Required", field.required);
    appendText(node, "DefaultValue", defaultValue);
    appendText(node, "Size", integerText(size));
    appendText(node, "Scale", integerText(scale));
    appendText(node, "Type", integerText(codeOf(field.type)));
    appendAttributes(node, field.attributes);
    appendRuleAndDescription(node, field);
}

bool isScanned(const TableInfo& table) {
    return table.attributes == 0 && !table.fields.empty();
}

// The field of that name as the table spells it (exact, else without regard to ASCII letter case).
const FieldInfo* findField(const TableInfo& table, const std::string& name) {
    for (const auto& field : table.fields)
        if (field.name == name)
            return &field;
    for (const auto& field : table.fields)
        if (toLowerAscii(field.name) == toLowerAscii(name))
            return &field;
    return nullptr;
}

// Appends the column pairs under the names the tables use; false when a column is not in its table.
bool appendColumnPairs(pugi::xml_node relation, const RelationshipInfo& info, const TableInfo& table,
                       const TableInfo& referenced) {
    pugi::xml_node fields = relation.append_child("Fields");
    for (std::size_t i = 0; i < info.columns.size(); ++i) {
        const FieldInfo* column = findField(table, info.columns[i]);
        const FieldInfo* referencedColumn = findField(referenced, info.referencedColumns[i]);
        if (!column || !referencedColumn)
            return false;
        pugi::xml_node field = fields.append_child("Field");
        appendText(field, "Name", column->name);
        appendText(field, "ReferencedName", referencedColumn->name);
    }
    return true;
}

void appendRelation(pugi::xml_node relations, const RelationshipInfo& info, const TableInfo& table,
                    const TableInfo& referenced, Progress* progress) {
    pugi::xml_node relation = relations.append_child("Relation");
    appendText(relation, "Name", info.name);
    appendText(relation, "Table", table.name);
    appendText(relation, "ReferencedTable", referenced.name);
    appendAttributes(relation, info.attributes);
    appendFlag(relation, "Enforced", info.enforced());
    appendFlag(relation, "CascadeUpdate", info.cascadeUpdate());
    appendFlag(relation, "CascadeDelete", info.cascadeDelete());
    if (!info.complete || info.columns.empty() || !appendColumnPairs(relation, info, table, referenced)) {
        relations.remove_child(relation);
        if (progress)
            progress->addStatusLine("  - Relationship " + info.name + " is damaged; it is left out");
    }
}

// The relationships between two tables of the document. A file whose relationships cannot be read still
// scans: its tables and rows do not depend on them.
void appendRelations(pugi::xml_node root, const AccessDatabase& database, Progress* progress) {
    pugi::xml_node relations = root.append_child("Relations");
    std::vector<RelationshipInfo> all;
    try {
        all = database.relationships();
    } catch (const Error&) {
        if (progress)
            progress->addStatusLine("  - Unable to read relationships");
        return;
    }
    for (const auto& info : all) {
        const TableInfo* table = database.findTable(info.table);
        const TableInfo* referenced = database.findTable(info.referencedTable);
        if (table && referenced && isScanned(*table) && isScanned(*referenced))
            appendRelation(relations, info, *table, *referenced, progress);
    }
}

std::string folderWithoutTrailingSeparator(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// The saved queries after the tables. Queries are an extra: a file whose query definitions cannot be
// read still converts its tables, and the document says why its queries are missing.
void appendQueries(pugi::xml_node root, const AccessDatabase& database) {
    pugi::xml_node node = root.append_child("Queries");
    SavedQueries saved;
    try {
        saved = database.savedQueries();
    } catch (const Error& error) {
        appendText(node, "Unreadable", error.description());
        return;
    }
    appendText(node, "SkippedHidden", std::to_string(saved.skippedHidden));
    for (const SavedQuery& query : saved.queries) {
        pugi::xml_node q = node.append_child("Query");
        appendText(q, "Name", query.name);
        appendText(q, "Kind", query.kind);
        appendFlag(q, "Hidden", query.hidden);
        appendText(q, "Sql", query.sql);
        appendText(q, "Problem", query.problem);
        pugi::xml_node parameters = q.append_child("Parameters");
        for (const QueryParameter& p : query.parameters) {
            pugi::xml_node parameter = parameters.append_child("Parameter");
            appendText(parameter, "Name", p.name);
            appendText(parameter, "Type", p.type);
        }
    }
}

} // namespace

void replaceFileContents(const std::string& path, const std::string& text) {
    const auto fail = [&](const std::string& what) {
        throw Error(errc::PathNotFound, kSource, "Cannot write the file '" + path + "': " + what + ".");
    };
    std::string temporary = path + ".XXXXXX";
    // mkstemp creates a new file (O_EXCL), so nothing planted in the folder is followed or overwritten.
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        fail(std::strerror(errno));
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const std::string reason = std::strerror(errno);
            ::close(fd);
            ::unlink(temporary.c_str());
            fail(reason);
        }
        written += static_cast<std::size_t>(n);
    }
    ::fchmod(fd, 0644);
    if (::close(fd) != 0 || ::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        ::unlink(temporary.c_str());
        fail(reason);
    }
}

DictionaryPtr readColumnSchema(const AccessDatabase& database) {
    auto tables = Dictionary::create();
    for (const auto& table : database.tables()) {
        if (!table.isLocal())
            continue;
        auto columns = Dictionary::create();
        for (const auto& field : table.fields) {
            auto info = Dictionary::create();
            info->set("NUMERIC_PRECISION", std::max(0, providerPrecisionOf(field.column)));
            info->set("NUMERIC_SCALE", std::max(0, providerScaleOf(field.column)));
            columns->set(field.name, Variant(info));
        }
        tables->set(table.name, Variant(columns));
    }
    return tables;
}

DictionaryPtr ReadColumnSchema(const std::string& file, const std::string& systemDatabase, const std::string& userName,
                               const std::string& password) {
    const auto database = AccessDatabase::open({file, systemDatabase, userName, password});
    return readColumnSchema(*database);
}

std::unique_ptr<pugi::xml_document> buildSchemaDocument(const AccessDatabase& database, const DictionaryPtr& columns,
                                                        Progress* progress) {
    auto document = std::make_unique<pugi::xml_document>();
    pugi::xml_node root = document->append_child("AccessDatabase");
    pugi::xml_node tables = root.append_child("Tables");
    if (progress)
        progress->addStatusLine("Scanning table structures");
    for (const auto& info : database.tables()) {
        if (isScanned(info)) {
            if (progress)
                progress->addStatusLine("  - Reading " + info.name);
            pugi::xml_node table = tables.append_child("Table");
            appendText(table, "Name", info.name);
            appendAttributes(table, info.attributes);
            appendIndexes(table, info);
            pugi::xml_node fields = table.append_child("Fields");
            const DictionaryPtr tableColumns = columns ? columns->dictionaryAt(info.name) : nullptr;
            for (const auto& field : info.fields) {
                appendField(fields, field, tableColumns);
                if (progress)
                    progress->processEvents();
            }
            appendRuleAndDescription(table, info);
        }
        if (progress)
            progress->processEvents();
    }
    appendRelations(root, database, progress);
    appendQueries(root, database);
    return document;
}

std::unique_ptr<pugi::xml_document> ScanSourceDatabase(const std::string& file, const std::string& password,
                                                       const std::string& userName, const std::string& systemDatabase,
                                                       Progress& progress) {
    CreateDaoEngine();
    progress.addStatusLine("Connecting to source database");
    const auto database = AccessDatabase::open({file, systemDatabase, userName, password});
    const DictionaryPtr columns = readColumnSchema(*database);
    auto document = buildSchemaDocument(*database, columns, &progress);
    progress.addStatusLine("Scanning completed");
    std::ostringstream text;
    document->save(text, "  ");
    replaceFileContents(folderWithoutTrailingSeparator(temporaryFolder()) + "/access.xml", text.str());
    return document;
}

} // namespace tabulon
