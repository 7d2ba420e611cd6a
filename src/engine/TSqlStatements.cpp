#include "TSqlStatements.h"

#include "SqlLiterals.h"

namespace tabulon {

namespace {

// "[a]<after><separator>[b]<after>...".
std::string bracketedList(const std::vector<std::string>& names, const char* separator, const char* after = "") {
    std::string list;
    for (const std::string& name : names) {
        if (!list.empty())
            list += separator;
        appendBracketed(list, name);
        list += after;
    }
    return list;
}

// " ([a], [b])".
void appendColumns(std::string& out, const std::vector<std::string>& columns) {
    out += " (" + bracketedList(columns, ", ") + ")";
}

const char* levelType(DescribedObject::Kind kind) {
    return kind == DescribedObject::Kind::Column ? "N'COLUMN'" : "N'CONSTRAINT'";
}

std::string removeAll(std::string text, const std::string& part) {
    for (std::size_t at; (at = text.find(part)) != std::string::npos;)
        text.erase(at, part.size());
    return text;
}

// Guards a database statement: the name is compared as an N literal, whatever the unicode setting.
std::string ifDatabase(const char* exists, const std::string& database) {
    return std::string("IF ") + exists +
           " (SELECT * FROM master.dbo.sysdatabases WHERE name = " + SafeString(Variant(database), true) + ") ";
}

} // namespace

std::vector<std::string> SessionOptionStatements() {
    return {"SET QUOTED_IDENTIFIER ON", "SET ANSI_NULLS ON"};
}

std::string UseStatement(const std::string& database) {
    return "USE " + SafeTableName(database);
}

std::string SingleUserStatement(const std::string& database) {
    return ifDatabase("EXISTS", database) + "ALTER DATABASE " + SafeTableName(database) +
           " SET SINGLE_USER With ROLLBACK IMMEDIATE";
}

std::string DropDatabaseStatement(const std::string& database) {
    return ifDatabase("EXISTS", database) + "DROP DATABASE " + SafeTableName(database);
}

std::string CreateDatabaseStatement(const std::string& database) {
    return ifDatabase("NOT EXISTS", database) + "CREATE DATABASE " + SafeTableName(database);
}

std::string ColumnDefinitionText(const std::string& name, const std::string& typeText, bool notNull,
                                 const std::string& defaultClause, bool identity) {
    std::string definition = SafeFieldName(name) + " ";
    definition += notNull ? removeAll(typeText, " NULL") + " NOT NULL" : typeText;
    definition += defaultClause;
    if (identity)
        definition += " IDENTITY";
    return definition;
}

std::string PrimaryKeyClause(const std::vector<std::string>& fields) {
    return "PRIMARY KEY (" + bracketedList(fields, ", ") + ")";
}

std::string CreateIndexStatement(const CarriedIndex& index, const std::string& table) {
    std::string statement = std::string("CREATE ") + (index.unique ? "UNIQUE INDEX" : "INDEX") + " " +
                            SafeTableName(index.name) + " ON " + SafeTableName(table) + " (" +
                            bracketedList(index.fields, ", ") + ")";
    if (index.filtered)
        statement += " WHERE " + bracketedList(index.nullableFields, " AND ", " IS NOT NULL");
    return statement;
}

std::string CreateTableText(const std::string& destinationName, const TableColumns& columns,
                            const TableIndexes& indexes) {
    std::string text = "CREATE TABLE " + SafeTableName(destinationName) + " (";
    bool first = true;
    auto addLine = [&](const std::string& line) {
        text += first ? "\r\n  " : ", \r\n  ";
        text += line;
        first = false;
    };
    for (const std::string& definition : columns.definitions)
        addLine(definition);
    for (const std::string& key : indexes.primaryKeys)
        addLine(key);
    return text + "\r\n)";
}

std::string DropTableStatement(const std::string& destinationName) {
    // object_id parses its argument as a possibly qualified name: a name holding "]", "[" or "."
    // is only found in its bracket-quoted form. The name is an N literal whatever the unicode
    // setting: a plain literal turns characters outside the server's code page into "?".
    const bool quote = destinationName.find_first_of("[].") != std::string::npos;
    const std::string objectName = quote ? SafeTableName(destinationName) : destinationName;
    return "IF object_id(" + SafeString(Variant(objectName), true) + ", 'U') IS NOT NULL DROP TABLE " +
           SafeTableName(destinationName);
}

std::string IdentityInsertStatement(const std::string& table, bool on) {
    return "SET IDENTITY_INSERT " + SafeTableName(table) + (on ? " ON" : " OFF");
}

std::string InsertPrefix(const std::string& table, const std::vector<std::string>& columns) {
    std::string prefix = "INSERT INTO " + SafeTableName(table);
    if (!columns.empty())
        appendColumns(prefix, columns);
    return prefix + " VALUES (";
}

std::string ForeignKeyStatement(const ForeignKey& key) {
    std::string text =
        "ALTER TABLE " + SafeTableName(key.table) + " ADD CONSTRAINT " + SafeTableName(key.name) + " FOREIGN KEY";
    appendColumns(text, key.columns);
    text += " REFERENCES " + SafeTableName(key.referencedTable);
    appendColumns(text, key.referencedColumns);
    if (key.cascadeUpdate)
        text += " ON UPDATE CASCADE";
    if (key.cascadeDelete)
        text += " ON DELETE CASCADE";
    return text;
}

std::string CheckStatement(const CheckConstraint& check, bool noCheck) {
    return "ALTER TABLE " + SafeTableName(check.table) + (noCheck ? " WITH NOCHECK" : "") + " ADD CONSTRAINT " +
           SafeTableName(check.name) + " CHECK (" + check.condition + ")";
}

std::string DescriptionStatement(const DescribedObject& object, const std::string& description) {
    const bool level2 = object.kind != DescribedObject::Kind::Table;
    std::string text =
        "DECLARE @schema sysname = SCHEMA_NAME(), @table sysname = " + SafeString(Variant(object.table), true);
    if (level2)
        text += ", @name sysname = " + SafeString(Variant(object.name), true);
    text += ", @value nvarchar(4000) = " + SafeString(Variant(description), true) +
            "; EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = @value, @level0type = "
            "N'SCHEMA', @level0name = @schema, @level1type = N'TABLE', @level1name = @table";
    if (level2)
        text += std::string(", @level2type = ") + levelType(object.kind) + ", @level2name = @name";
    return text + ";";
}

std::string DropReferencingKeysStatement(const std::string& table) {
    return "DECLARE @drop nvarchar(max) = N''; SELECT @drop += N'ALTER TABLE ' + "
           "QUOTENAME(OBJECT_SCHEMA_NAME(parent_object_id)) + N'.' + QUOTENAME(OBJECT_NAME(parent_object_id)) + "
           "N' DROP CONSTRAINT ' + QUOTENAME(name) + N'; ' FROM sys.foreign_keys WHERE referenced_object_id = "
           "OBJECT_ID(" +
           SafeString(Variant(SafeTableName(table)), true) + "); EXEC sys.sp_executesql @drop;";
}

std::string CountRowsStatement(const std::string& table) {
    return "SELECT COUNT_BIG(*) FROM " + SafeTableName(table);
}

std::string VerifyCountStatement(const std::string& table, long long written) {
    const std::string count = std::to_string(written);
    return "DECLARE @rows bigint = (" + CountRowsStatement(table) + "); IF @rows <> " + count +
           " BEGIN DECLARE @message nvarchar(2048) = CONCAT(" +
           SafeString(Variant("Table " + table + " holds "), true) + ", @rows, N' rows, but " + count +
           " were written'); THROW 50000, @message, 1; END";
}

} // namespace tabulon
