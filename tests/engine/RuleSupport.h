#pragma once

#include "ServerRules.h"

#include <functional>

// What the rules of ServerRules.cpp and ServerValueRules.cpp share.
namespace serverrules {

void add(std::vector<Finding>& findings, const char* rule, std::size_t line, const std::string& message);

// The name in brackets, a "]" in it doubled, as SQL Server quotes it.
std::string bracketedName(const std::string& name);

// The values of an INSERT by column of the table (null where the statement gives a column no value);
// "" on success, else why the statement's values do not match the table's columns.
std::string mapRow(const sqlscript::Statement& insert, const sqlscript::Table& table,
                   std::vector<const sqlscript::Literal*>& row);

// Each INSERT into the table whose values match its columns, in script order.
using RowVisitor = std::function<void(const sqlscript::Statement&, const std::vector<const sqlscript::Literal*>&)>;
void forEachRow(const sqlscript::Script& script, const sqlscript::Table& table, const RowVisitor& visit);

// The rules about values: unique keys, defaults, date literals, literals in their columns.
std::vector<std::unique_ptr<Rule>> valueRules();

// The rules about what follows the rows: foreign keys, checks, descriptions, row count checks.
std::vector<std::unique_ptr<Rule>> constraintRules();

// The rules about views and inline table-valued functions.
std::vector<std::unique_ptr<Rule>> viewRules();

} // namespace serverrules
