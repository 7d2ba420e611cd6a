#pragma once

#include "CheckPlan.h"
#include "RelationshipPlan.h"

#include <string>

namespace tabulon {

// "ALTER TABLE [t] ADD CONSTRAINT [n] FOREIGN KEY ([a], …) REFERENCES [p] ([x], …)", then " ON UPDATE
// CASCADE" and " ON DELETE CASCADE" as the key keeps them.
std::string ForeignKeyStatement(const ForeignKey& key);

// "ALTER TABLE [t] ADD CONSTRAINT [n] CHECK (condition)"; with `noCheck`, "ALTER TABLE [t] WITH NOCHECK
// ADD ...", which leaves the rows the table holds unchecked and the constraint not trusted.
std::string CheckStatement(const CheckConstraint& check, bool noCheck = false);

// What an MS_Description extended property describes: a table, one of its columns, or one of its
// constraints.
struct DescribedObject {
    enum class Kind { Table, Column, Constraint };
    Kind kind = Kind::Table;
    std::string table; // destination name
    std::string name;  // the column or constraint; "" for the table
};

// Adds the description as the MS_Description property, which SQL Server's own tools show, on the object
// in the default schema (where the unqualified CREATE TABLE put the table). The names and the text travel
// in variables, since a procedure's arguments take no expressions; so the statement needs a batch of its
// own.
std::string DescriptionStatement(const DescribedObject& object, const std::string& description);

// Drops every foreign key that refers to the table, so that the table can be dropped and made anew by a
// run repeated into the same database (SQL Server refuses to drop a table a foreign key refers to, Msg
// 3726). Needs a batch of its own.
std::string DropReferencingKeysStatement(const std::string& table);

// "SELECT COUNT_BIG(*) FROM [t]".
std::string CountRowsStatement(const std::string& table);

// Raises error 50000 (severity 16, so "sqlcmd -b" stops) naming the table and both counts when the
// table does not hold `written` rows. Needs a batch of its own.
std::string VerifyCountStatement(const std::string& table, long long written);

} // namespace tabulon
