#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

// A dump read the way SQL Server and sqlcmd read it: batches split at "GO" lines, each batch a run of
// statements, each statement parsed far enough to check the server's rules against it. Only the
// statement shapes the converter writes are understood; anything else is kept as an unknown statement,
// so that a rule can name it.
namespace sqlscript {

// A value as an INSERT or a DEFAULT gives it, after string pieces, CHAR(n) and CONVERT are joined.
struct Literal {
    enum class Kind { Null, Text, Number, Binary, Function, Invalid };
    Kind kind = Kind::Invalid;
    std::string text;     // Text: the characters (UTF-8); Number: as written; Binary: the hex digits;
                          // Function: the expression's tokens joined by blanks; Invalid: why
    bool unicode = false; // Text: at least one quoted piece carried the N prefix
};

struct ColumnType {
    std::string name;                 // upper case: INT, NVARCHAR, DECIMAL, ...
    std::vector<long long> arguments; // NVARCHAR(50) -> {50}; DECIMAL(28,10) -> {28, 10}; MAX -> {-1}
    std::string text;                 // as written
};

struct Column {
    std::string name;
    ColumnType type; // name "" when the definition gives no type
    bool notNull = false;
    bool identity = false;
    bool hasDefault = false;
    Literal defaultValue;
};

struct Index {
    std::string name; // "" for a PRIMARY KEY clause
    std::string table;
    bool primary = false;
    bool unique = false;
    std::vector<std::string> columns;
    std::vector<std::string> notNullFilter; // WHERE [a] IS NOT NULL AND ...: the columns it names
    bool otherFilter = false;               // a WHERE clause of any other shape
    std::size_t statement = 0;              // position in Script::statements
};

struct Condition;

// What ALTER TABLE ... ADD CONSTRAINT adds: a FOREIGN KEY or a CHECK.
struct Constraint {
    std::string name;
    std::vector<std::string> columns; // FOREIGN KEY: referencing, then referenced
    std::string referencedTable;
    std::vector<std::string> referencedColumns;
    bool cascadeUpdate = false;
    bool cascadeDelete = false;
    std::shared_ptr<const Condition> check; // CHECK
};

// What an MS_Description is added to.
struct Described {
    std::string table;
    std::string level2Type; // "COLUMN", "CONSTRAINT" or "" for the table
    std::string name;       // the column or constraint
};

struct Statement {
    enum class Kind {
        Use,
        CreateDatabase,
        DropDatabase,
        AlterDatabase,
        DropTableGuard,
        DropViewGuard, // IF OBJECT_ID(...) IS NOT NULL DROP VIEW | FUNCTION
        CreateView,    // CREATE VIEW or CREATE FUNCTION ... RETURNS TABLE, up to the end of its batch
        CreateTable,
        IdentityInsert,
        SetOption,
        Insert,
        CreateIndex,
        AddForeignKey,       // ALTER TABLE [t] ADD CONSTRAINT [n] FOREIGN KEY ...
        AddCheck,            // ALTER TABLE [t] ADD CONSTRAINT [n] CHECK (...)
        Description,         // DECLARE ...; EXEC sys.sp_addextendedproperty ...
        VerifyCount,         // DECLARE @rows ...; IF @rows <> n ... THROW
        DropReferencingKeys, // DECLARE ...; drops the foreign keys that refer to a table
        Unknown
    };
    Kind kind = Kind::Unknown;
    std::size_t batch = 0;
    std::size_t line = 0;                   // 1-based line of the dump where the statement starts
    std::string text;                       // as written (the first 300 bytes)
    std::string name;                       // database, table or option named by the statement
    bool on = false;                        // SET ... ON
    Literal guardArgument;                  // DropTableGuard, DropViewGuard: the argument of object_id
    Literal guardType;                      // DropViewGuard: the type argument of object_id
    std::string guardTable;                 // DropTableGuard, DropViewGuard: the object dropped
    std::vector<std::string> insertColumns; // Insert: the column list, empty when none is given
    std::vector<Literal> values;            // Insert
    std::string parseError;                 // why a statement of a known kind could not be read whole
    Constraint constraint;                  // AddForeignKey, AddCheck (name: the table)
    Described described;                    // Description
    long long count = 0;                    // VerifyCount: the rows the dump wrote
    std::vector<std::string> variables;     // the variables it declares, upper case
};

struct Table {
    std::string name;
    std::vector<Column> columns;
    std::vector<Index> indexes; // the primary key first, when there is one
    std::size_t createdBy = 0;  // position in Script::statements
};

// What a CREATE VIEW or CREATE FUNCTION names and orders.
struct View {
    std::string name;
    bool function = false;
    std::size_t statement = 0; // position in Script::statements
    struct Reference {
        std::string object; // a table, view or function named after FROM, JOIN or a comma of a FROM list;
                            // "" for a derived table
        std::string alias;  // as given, else the name itself
    };
    std::vector<Reference> references;
    std::vector<std::pair<std::string, std::string>> columns; // [alias].[column] pairs
    int ordersWithoutTop = 0; // ORDER BY clauses of a query that has no TOP (and is no window's OVER)
};

struct Batch {
    std::size_t firstLine = 0;
    std::size_t bytes = 0; // as the server receives it: the text between the separators
    std::size_t inserts = 0;
};

struct Script {
    std::vector<Batch> batches;
    std::vector<Statement> statements;
    std::map<std::string, Table> tables; // by upper-cased name, as the last CREATE TABLE left it
    std::vector<View> views;             // in script order
    // The table a name refers to, compared without letter case as SQL Server's default collation does.
    const Table* table(const std::string& name) const;
};

Script parseScript(const std::string& dump);

// Upper case of ASCII letters; other bytes unchanged.
std::string upper(std::string text);

} // namespace sqlscript
