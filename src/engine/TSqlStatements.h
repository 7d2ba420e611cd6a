#pragma once

#include "CheckPlan.h"
#include "RelationshipPlan.h"
#include "TableDefinition.h"

#include <string>
#include <vector>

namespace tabulon {

// The statements of a run in SQL Server's dialect, made in this one place. Names are bracket-quoted
// and literals written by SqlLiterals, column types come from TypeMapping; a new kind of statement is
// one function here and one call in the run.

// The session options a filtered index needs (Msg 1934), in the order they are sent: QUOTED_IDENTIFIER
// (which sqlcmd starts with off) and ANSI_NULLS. Both hold for the rest of the session, across batches.
std::vector<std::string> SessionOptionStatements();

// "USE [database]".
std::string UseStatement(const std::string& database);

// Dropping a database: first the switch to single-user mode that rolls back other sessions' work, then
// the drop, each only when the database exists.
std::string SingleUserStatement(const std::string& database);
std::string DropDatabaseStatement(const std::string& database);

// "IF NOT EXISTS (...) CREATE DATABASE [database]". SQL Server resolves USE when it compiles a batch,
// so the batch that holds the CREATE must end before the USE.
std::string CreateDatabaseStatement(const std::string& database);

// "[name] TYPE": NOT NULL in place of the type's own " NULL" when `notNull`, then the DEFAULT clause
// (" DEFAULT ..." or "") and " IDENTITY" when `identity`.
std::string ColumnDefinitionText(const std::string& name, const std::string& typeText, bool notNull,
                                 const std::string& defaultClause, bool identity);

// "PRIMARY KEY ([a], [b])", a line of CREATE TABLE.
std::string PrimaryKeyClause(const std::vector<std::string>& fields);

// "CREATE [UNIQUE ]INDEX [name] ON [table] ([a], ...)"; a filtered index gets "WHERE [f] IS NOT NULL AND
// ..." over its nullable key fields, since SQL Server counts NULLs as equal keys and Access does not.
std::string CreateIndexStatement(const CarriedIndex& index, const std::string& table);

// "CREATE TABLE [name] (" with one CR LF-separated line per column and primary key, then ")".
std::string CreateTableText(const std::string& destinationName, const TableColumns& columns,
                            const TableIndexes& indexes);

// "IF object_id(N'name', 'U') IS NOT NULL DROP TABLE [name]".
std::string DropTableStatement(const std::string& destinationName);

// "SET IDENTITY_INSERT [table] ON" or "... OFF": explicit values for the identity column, in a batch
// of their own.
std::string IdentityInsertStatement(const std::string& table, bool on);

// "INSERT INTO [table] VALUES (", or with the column names "INSERT INTO [table] ([a], [b]) VALUES (",
// to which a row's literals and ")" are appended.
std::string InsertPrefix(const std::string& table, const std::vector<std::string>& columns);

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
