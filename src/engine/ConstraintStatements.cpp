#include "ConstraintStatements.h"

#include "SqlLiterals.h"

namespace tabulon {

namespace {

void appendColumns(std::string& out, const std::vector<std::string>& columns) {
    out += " (";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0)
            out += ", ";
        appendBracketed(out, columns[i]);
    }
    out += ')';
}

const char* levelType(DescribedObject::Kind kind) {
    return kind == DescribedObject::Kind::Column ? "N'COLUMN'" : "N'CONSTRAINT'";
}

} // namespace

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
