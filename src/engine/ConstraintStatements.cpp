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

std::string CheckStatement(const CheckConstraint& check) {
    return "ALTER TABLE " + SafeTableName(check.table) + " ADD CONSTRAINT " + SafeTableName(check.name) + " CHECK (" +
           check.condition + ")";
}

} // namespace tabulon
