#include "engine/TableDefinition.h"
#include "SchemaBuilder.h"
#include "engine/TSqlStatements.h"
#include "lib/Error.h"

#include <gtest/gtest.h>

using namespace tabulon;

namespace {

TableDefinitionOptions defaults() {
    TableDefinitionOptions o;
    o.unicode = true;
    o.dateTimeType = "DATETIME";
    o.transferDefaultValues = true;
    o.transferAutonumbers = true;
    o.transferIndexes = true;
    return o;
}

TableSelection selectAll(const std::string& table) {
    return TableSelection(Variant(StringList{table}));
}

std::string createTable(const SchemaTable& t, const std::string& name, const TableSelection& selection,
                        const TableDefinitionOptions& options = defaults()) {
    const TableColumns columns = DefineColumns(t.node(), name, selection, options);
    return CreateTableText(name, columns, DefineIndexes(t.node(), name, name, selection, options));
}

std::string columnOf(const FieldSpec& field, const TableDefinitionOptions& options = defaults()) {
    SchemaTable t("T", {field}, {});
    return DefineColumns(t.node(), "T", selectAll("T"), options).definitions.at(0);
}

} // namespace

TEST(TableDefinition, fiveLineExample) {
    SchemaTable t("T", {{"a", "4", "4", "0", "", true}, {"b", "10", "50"}}, {{"PrimaryKey", {"a"}, "1", "1"}});
    const TableSelection selection(Variant(StringList{"T", "T\\a", "T\\b"}));
    EXPECT_EQ(createTable(t, "T", selection), "CREATE TABLE [T] (\r\n"
                                              "  [a] INT NOT NULL IDENTITY, \r\n"
                                              "  [b] NVARCHAR(50), \r\n"
                                              "  PRIMARY KEY ([a])\r\n"
                                              ")");
    const TableColumns columns = DefineColumns(t.node(), "T", selectAll("T"), defaults());
    EXPECT_EQ(columns.identityColumn, "a");
}

TEST(TableDefinition, defaultsFollowTheAccessExpression) {
    TableDefinitionOptions plain = defaults();
    plain.unicode = false;
    struct Case {
        FieldSpec field;
        const char* expected;
        const char* expectedPlain;
    } cases[] = {
        {{"d", "8", "8", "0", "Now()"}, "[d] DATETIME DEFAULT GETDATE()", "[d] DATETIME DEFAULT GETDATE()"},
        {{"d", "8", "8", "0", "date()"},
         "[d] DATETIME DEFAULT CONVERT(date, GETDATE())",
         "[d] DATETIME DEFAULT CONVERT(date, GETDATE())"},
        {{"d", "8", "8", "0", "Time$()"},
         "[d] DATETIME DEFAULT DATEADD(day, -2, CONVERT(datetime, CONVERT(time, GETDATE())))",
         "[d] DATETIME DEFAULT DATEADD(day, -2, CONVERT(datetime, CONVERT(time, GETDATE())))"},
        {{"d", "8", "8", "0", "=Now()"}, "[d] DATETIME DEFAULT GETDATE()", "[d] DATETIME DEFAULT GETDATE()"},
        {{"s", "10", "50", "0", "=Now()"}, "[s] NVARCHAR(50) DEFAULT GETDATE()", "[s] VARCHAR(50) DEFAULT GETDATE()"},
        {{"s", "10", "50", "0", "=\"x\""}, "[s] NVARCHAR(50) DEFAULT N'x'", "[s] VARCHAR(50) DEFAULT 'x'"},
        {{"n", "4", "4", "0", "=5"}, "[n] INT DEFAULT 5", "[n] INT DEFAULT 5"},
        {{"m", "5", "19", "0", "\"2.5\""}, "[m] MONEY DEFAULT 2.5", "[m] MONEY DEFAULT 2.5"},
        {{"d", "8", "8", "0", "#3/4/2024#"},
         "[d] DATETIME DEFAULT '2024-03-04T00:00:00'",
         "[d] DATETIME DEFAULT '2024-03-04T00:00:00'"},
        {{"d", "8", "8", "0", "=#2024-03-04 10:20:30#"},
         "[d] DATETIME DEFAULT '2024-03-04T10:20:30'",
         "[d] DATETIME DEFAULT '2024-03-04T10:20:30'"},
        {{"d", "8", "8", "0", "#10:20 PM#"},
         "[d] DATETIME DEFAULT '1899-12-30T22:20:00'",
         "[d] DATETIME DEFAULT '1899-12-30T22:20:00'"},
        {{"d", "8", "8", "0", "\"12/31/1999 11:59:59 PM\""},
         "[d] DATETIME DEFAULT '1999-12-31T23:59:59'",
         "[d] DATETIME DEFAULT '1999-12-31T23:59:59'"},
        {{"s", "10", "50", "0", "\"It's a \"\"quoted\"\" default\""},
         "[s] NVARCHAR(50) DEFAULT N'It''s a \"quoted\" default'",
         "[s] VARCHAR(50) DEFAULT 'It''s a \"quoted\" default'"},
        {{"s", "10", "50", "0", "'single'"},
         "[s] NVARCHAR(50) DEFAULT N'''single'''",
         "[s] VARCHAR(50) DEFAULT '''single'''"},
        {{"s", "10", "50", "0", "\""}, "[s] NVARCHAR(50) DEFAULT N''", "[s] VARCHAR(50) DEFAULT ''"},
        {{"g", "15", "16", "0", "GenGUID()"}, "[g] VARCHAR(38)", "[g] VARCHAR(38)"},
        {{"g", "4", "4", "0", "GenUniqueID()"}, "[g] INT", "[g] INT"},
        {{"m", "5", "19", "0", "0"}, "[m] MONEY DEFAULT 0", "[m] MONEY DEFAULT 0"},
        {{"x", "7", "8", "0", "1.5"}, "[x] FLOAT DEFAULT 1.5", "[x] FLOAT DEFAULT 1.5"},
        {{"x", "7", "8", "0", "-2.5E-3"}, "[x] FLOAT DEFAULT -0.0025", "[x] FLOAT DEFAULT -0.0025"},
        {{"x", "4", "4", "0", "&HFF"}, "[x] INT DEFAULT 255", "[x] INT DEFAULT 255"},
        {{"b", "1", "1", "0", "1"}, "[b] BIT DEFAULT 1", "[b] BIT DEFAULT 1"},
        {{"b", "1", "1", "0", "NULL"}, "[b] BIT DEFAULT 0", "[b] BIT DEFAULT 0"},
        {{"n", "4", "4", "0", "abc"}, "[n] INT", "[n] INT"},
        {{"big", "16", "8", "0", "42"}, "[big] BIGINT DEFAULT 42", "[big] BIGINT DEFAULT 42"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(columnOf(c.field), c.expected) << c.field.defaultValue;
        EXPECT_EQ(columnOf(c.field, plain), c.expectedPlain) << c.field.defaultValue;
    }
    TableDefinitionOptions off = defaults();
    off.transferDefaultValues = false;
    EXPECT_EQ(columnOf({"m", "5", "19", "0", "0"}, off), "[m] MONEY");
}

// A default that cannot become a constant or function of the column's type is left out and named in
// the report; a text never becomes the default of a column that is not text.
TEST(TableDefinition, defaultsWithoutEquivalentAreLeftOutAndNamed) {
    SchemaTable t("T",
                  {{"n", "4", "4", "0", "Date()"},
                   {"m", "5", "19", "0", "\"abc\""},
                   {"d", "8", "8", "0", "=Date()+7"},
                   {"e", "8", "8", "0", "#4/31/2024#"},
                   {"f", "8", "8", "0", "\"soon\""},
                   {"o", "11", "0", "0", "\"x\""},
                   {"ok", "4", "4", "0", "1"}},
                  {});
    const TableColumns columns = DefineColumns(t.node(), "T", selectAll("T"), defaults());
    EXPECT_EQ(columns.definitions, (std::vector<std::string>{"[n] INT", "[m] MONEY", "[d] DATETIME", "[e] DATETIME",
                                                             "[f] DATETIME", "[o] IMAGE", "[ok] INT DEFAULT 1"}));
    EXPECT_EQ(columns.notes,
              (std::vector<std::string>{
                  "- column n has no default: the Access default Date() has no SQL Server equivalent for INT",
                  "- column m has no default: the Access default \"abc\" has no SQL Server equivalent for MONEY",
                  "- column d has no default: the Access default =Date()+7 has no SQL Server equivalent for DATETIME",
                  "- column e has no default: the Access default #4/31/2024# has no SQL Server equivalent for "
                  "DATETIME",
                  "- column f has no default: the Access default \"soon\" has no SQL Server equivalent for DATETIME",
                  "- column o has no default: the Access default \"x\" has no SQL Server equivalent for IMAGE"}));
    // Into DATETIME2 a date constant keeps what DATETIME2 holds.
    TableDefinitionOptions wide = defaults();
    wide.dateTimeType = "DATETIME2";
    EXPECT_EQ(columnOf({"d", "8", "8", "0", "#1/1/100 12:00:01 AM#"}, wide),
              "[d] DATETIME2 DEFAULT '0100-01-01T00:00:01'");
}

TEST(TableDefinition, notNullComesFromRequiredOrThePrimaryKey) {
    SchemaTable t(
        "T", {{"req", "10", "20", "1"}, {"key", "4", "4", "0"}, {"free", "10", "20", "0"}, {"memo", "12", "0", "0"}},
        {{"pk", {"key", "memo"}, "1", "1"}});
    const TableColumns columns = DefineColumns(t.node(), "T", selectAll("T"), defaults());
    EXPECT_EQ(columns.definitions, (std::vector<std::string>{"[req] NVARCHAR(20) NOT NULL", "[key] INT NOT NULL",
                                                             "[free] NVARCHAR(20)", "[memo] NVARCHAR(MAX) NOT NULL"}));
    EXPECT_EQ(columns.required, (std::vector<bool>{true, false, false, false}));
    // A primary key over a Memo is not created; its columns keep NOT NULL.
    EXPECT_TRUE(DefineIndexes(t.node(), "T", "T", selectAll("T"), defaults()).primaryKeys.empty());
}

TEST(TableDefinition, autoIncrementOnlyWithTransferAutonumbers) {
    TableDefinitionOptions off = defaults();
    off.transferAutonumbers = false;
    SchemaTable t("T", {{"id", "4", "4", "0", "", true}}, {});
    const TableColumns columns = DefineColumns(t.node(), "T", selectAll("T"), off);
    EXPECT_EQ(columns.definitions.at(0), "[id] INT");
    EXPECT_EQ(columns.identityColumn, "");
}

// Access sets the auto-number bit on attachment and multi-valued columns too; SQL Server takes one
// IDENTITY per table, on an integer column.
TEST(TableDefinition, onlyTheFirstAutoIncrementIntegerIsAnIdentity) {
    SchemaTable t("T",
                  {{"files", "101", "4", "0", "", true},
                   {"tags", "109", "4", "0", "", true},
                   {"guid", "15", "16", "0", "", true},
                   {"id", "4", "4", "0", "", true},
                   {"big", "16", "8", "0", "", true}},
                  {});
    const TableColumns columns = DefineColumns(t.node(), "T", selectAll("T"), defaults());
    EXPECT_EQ(columns.definitions,
              (std::vector<std::string>{"[files] IMAGE", "[tags] NVARCHAR(MAX)", "[guid] VARCHAR(38)",
                                        "[id] INT IDENTITY", "[big] BIGINT"}));
    EXPECT_EQ(columns.identityColumn, "id");
    for (const char* code : {"2", "3", "16"}) {
        SchemaTable one("T", {{"n", code, "4", "0", "", true}}, {});
        EXPECT_EQ(DefineColumns(one.node(), "T", selectAll("T"), defaults()).identityColumn, "n") << code;
    }
}

TEST(TableDefinition, selectsListedFieldsOrAllAndKeepsRequiredFlagsByPosition) {
    SchemaTable t("T", {{"a", "4", "4", "1"}, {"b", "4", "4", "0"}, {"c", "4", "4", "1"}}, {});
    const TableSelection some(Variant(StringList{"T", "T\\c", "T\\b", "t\\a"}));
    const TableColumns columns = DefineColumns(t.node(), "T", some, defaults());
    EXPECT_EQ(columns.definitions, (std::vector<std::string>{"[b] INT", "[c] INT NOT NULL"}));
    EXPECT_EQ(columns.required, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(DefinedFields(t.node(), "T", selectAll("T")).size(), 3u);
}

TEST(TableDefinition, carriesIndexesOnlyWhenEveryKeyFieldIsSelected) {
    SchemaTable t("Cust",
                  {{"id", "4", "4"},
                   {"last", "10", "50"},
                   {"first", "10", "50"},
                   {"notes", "12"},
                   {"photo", "11"},
                   {"bin", "9", "16"},
                   {"files", "101"},
                   {"tags", "109"}},
                  {{"PrimaryKey", {"id"}, "1", "1"},
                   {"ByName", {"last", "first"}, "0", "0"},
                   {"UniqueLast", {"last"}, "0", "1"},
                   {"ByNotes", {"notes"}, "0", "0"},
                   {"ByPhoto", {"photo"}, "0", "0"},
                   {"ByBin", {"last", "bin"}, "0", "1"},
                   {"ByFiles", {"files"}, "0", "0"},
                   {"ByTags", {"tags"}, "0", "0"},
                   {"FK", {"id"}, "0", "0", "1"},
                   {"Odd]Index", {"first"}, "0", "0"}});
    const TableSelection all(Variant(StringList{"Cust", "Cust\\id", "Cust\\last", "Cust\\first", "Cust\\notes",
                                                "Cust\\photo", "Cust\\bin", "Cust\\files", "Cust\\tags"}));
    const TableIndexes indexes = DefineIndexes(t.node(), "Cust", "pre_Cust", all, defaults());
    EXPECT_EQ(indexes.primaryKeys, (std::vector<std::string>{"PRIMARY KEY ([id])"}));
    EXPECT_EQ(indexes.secondary, (std::vector<std::string>{
                                     "CREATE INDEX [ByName] ON [pre_Cust] ([last], [first])",
                                     "CREATE UNIQUE INDEX [UniqueLast] ON [pre_Cust] ([last]) WHERE [last] IS NOT NULL",
                                     "CREATE INDEX [Odd]]Index] ON [pre_Cust] ([first])"}));

    // A table listed without fields moves every field, and so keeps every index it can.
    const TableIndexes whole = DefineIndexes(t.node(), "Cust", "pre_Cust", selectAll("Cust"), defaults());
    EXPECT_EQ(whole.primaryKeys, indexes.primaryKeys);
    EXPECT_EQ(whole.secondary, indexes.secondary);

    const TableSelection noFirst(Variant(StringList{"Cust", "Cust\\id", "Cust\\last"}));
    EXPECT_EQ(
        DefineIndexes(t.node(), "Cust", "Cust", noFirst, defaults()).secondary,
        (std::vector<std::string>{"CREATE UNIQUE INDEX [UniqueLast] ON [Cust] ([last]) WHERE [last] IS NOT NULL"}));

    TableDefinitionOptions brighthouse = defaults();
    brighthouse.storageEngine = "brighthouse";
    EXPECT_TRUE(DefineIndexes(t.node(), "Cust", "Cust", all, brighthouse).secondary.empty());
    TableDefinitionOptions off = defaults();
    off.transferIndexes = false;
    EXPECT_TRUE(DefineIndexes(t.node(), "Cust", "Cust", all, off).primaryKeys.empty());
}

// Access lets any number of rows hold NULL in a unique index; SQL Server counts NULLs as equal, so
// the index leaves out the rows where a key field that allows NULL holds one.
TEST(TableDefinition, uniqueIndexesOverNullableFieldsAreFiltered) {
    SchemaTable t("T", {{"id", "4", "4"}, {"a", "10", "5"}, {"b", "10", "5", "1"}, {"c", "4", "4"}},
                  {{"pk", {"id", "c"}, "1", "1"},
                   {"ab", {"a", "b"}, "0", "1"},
                   {"ba", {"b", "a"}, "0", "1"},
                   {"bc", {"b", "c"}, "0", "1"},
                   {"plain", {"a"}, "0", "0"}});
    EXPECT_EQ(
        DefineIndexes(t.node(), "T", "T", selectAll("T"), defaults()).secondary,
        (std::vector<std::string>{"CREATE UNIQUE INDEX [ab] ON [T] ([a], [b]) WHERE [a] IS NOT NULL",
                                  "CREATE UNIQUE INDEX [ba] ON [T] ([b], [a]) WHERE [a] IS NOT NULL",
                                  "CREATE UNIQUE INDEX [bc] ON [T] ([b], [c])", "CREATE INDEX [plain] ON [T] ([a])"}));
    SchemaTable two("T", {{"a", "10", "5"}, {"b", "4", "4"}}, {{"ab", {"a", "b"}, "0", "1"}});
    EXPECT_EQ(DefineIndexes(two.node(), "T", "T", selectAll("T"), defaults()).secondary.at(0),
              "CREATE UNIQUE INDEX [ab] ON [T] ([a], [b]) WHERE [a] IS NOT NULL AND [b] IS NOT NULL");
}

TEST(TableDefinition, namesWithQuotesAndBracketsAreComparedAndQuotedSafely) {
    // Names holding a double quote would break a query pasted together from them.
    SchemaTable t("ab\"\"\"xxx", {{"say \"hi\"", "4", "4"}, {"a]b", "10", "5"}},
                  {{"pk", {"say \"hi\""}, "1", "1"}, {"ix", {"a]b"}, "0", "0"}});
    const std::string name = "ab\"\"\"xxx";
    const TableSelection selection(Variant(
        StringList{name, TableSelection::fieldPath(name, "say \"hi\""), TableSelection::fieldPath(name, "a]b")}));
    EXPECT_EQ(createTable(t, name, selection), "CREATE TABLE [ab\"\"\"xxx] (\r\n"
                                               "  [say \"hi\"] INT NOT NULL, \r\n"
                                               "  [a]]b] NVARCHAR(5), \r\n"
                                               "  PRIMARY KEY ([say \"hi\"])\r\n"
                                               ")");
    EXPECT_EQ(DefineIndexes(t.node(), name, "Odd]Name", selection, defaults()).secondary.at(0),
              "CREATE INDEX [ix] ON [Odd]]Name] ([a]]b])");
}

TEST(TableDefinition, dropStatementQuotesOnlyNamesObjectIdWouldSplit) {
    EXPECT_EQ(DropTableStatement("Order Details"),
              "IF object_id(N'Order Details', 'U') IS NOT NULL DROP TABLE [Order Details]");
    EXPECT_EQ(DropTableStatement("O'Col"), "IF object_id(N'O''Col', 'U') IS NOT NULL DROP TABLE [O'Col]");
    EXPECT_EQ(DropTableStatement("Odd]Name"), "IF object_id(N'[Odd]]Name]', 'U') IS NOT NULL DROP TABLE [Odd]]Name]");
    EXPECT_EQ(DropTableStatement("dbo.T"), "IF object_id(N'[dbo.T]', 'U') IS NOT NULL DROP TABLE [dbo.T]");
}

TEST(TableDefinition, malformedSchemaIsAnError) {
    SchemaTable badType("T", {{"a", "Long"}}, {});
    try {
        DefineColumns(badType.node(), "T", selectAll("T"), defaults());
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 13);
    }
    SchemaTable badKey("T", {{"a", "4"}}, {{"ix", {"missing"}, "0", "0"}});
    EXPECT_THROW(
        DefineIndexes(badKey.node(), "T", "T", TableSelection(Variant(StringList{"T", "T\\missing"})), defaults()),
        Error);
    // A key field nobody could select (the scanner left it out) only drops its index.
    EXPECT_TRUE(DefineIndexes(badKey.node(), "T", "T", TableSelection(Variant(StringList{"T", "T\\a"})), defaults())
                    .secondary.empty());
    SchemaTable noType("T", {{"a", "4"}}, {});
    noType.node().child("Fields").child("Field").remove_child("Type");
    try {
        DefineColumns(noType.node(), "T", selectAll("T"), defaults());
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 91);
        EXPECT_NE(e.description().find("'Type'"), std::string::npos);
    }
    // A selection that is no list fails at the first test, as the run reports it.
    EXPECT_THROW(DefineColumns(badKey.node(), "T", TableSelection(Variant()), defaults()), Error);
}

// Every complex type becomes a MAX or IMAGE column, which SQL Server cannot index: an index over any of
// them is left out, whichever code in the range it carries, and the table's other indexes stay.
TEST(TableDefinition, indexesOverAnyComplexTypeAreLeftOut) {
    for (int code : {101, 102, 103, 104, 105, 106, 107, 108, 109}) {
        const std::string type = std::to_string(code);
        SchemaTable t("T", {{"id", "4", "4", "1"}, {"c", type}},
                      {{"ByC", {"c"}, "0", "0"}, {"ById", {"id"}, "0", "1"}});
        const TableSelection all(Variant(StringList{"T", "T\\id", "T\\c"}));
        EXPECT_EQ(DefineIndexes(t.node(), "T", "T", all, defaults()).secondary,
                  (std::vector<std::string>{"CREATE UNIQUE INDEX [ById] ON [T] ([id])"}))
            << code;
    }
    // The codes around the range are unknown types, VARBINARY(MAX) columns that cannot be indexed
    // either; known codes keep their indexes.
    for (const auto& [code, kept] : std::vector<std::pair<int, std::size_t>>{{100, 0}, {110, 0}, {23, 1}, {4, 1}}) {
        SchemaTable t("T", {{"c", std::to_string(code)}}, {{"ByC", {"c"}, "0", "0"}});
        EXPECT_EQ(DefineIndexes(t.node(), "T", "T", TableSelection(Variant(StringList{"T", "T\\c"})), defaults())
                      .secondary.size(),
                  kept)
            << code;
    }
}

TEST(TableDefinition, defaultQuotingNeighbours) {
    struct Case {
        FieldSpec field;
        const char* expected;
    } cases[] = {
        // Only a leading double quote starts a quoted default; a quote elsewhere is text.
        {{"s", "10", "50", "0", "a\"b"}, "[s] NVARCHAR(50) DEFAULT N'a\"b'"},
        {{"s", "10", "50", "0", "\"\""}, "[s] NVARCHAR(50) DEFAULT N''"},
        {{"s", "10", "50", "0", "\"\"\"\"\"\""}, "[s] NVARCHAR(50) DEFAULT N'\"\"'"},
        {{"s", "10", "50", "0", "\"O'Brien\""}, "[s] NVARCHAR(50) DEFAULT N'O''Brien'"},
        // Numbers keep their sign and read only the leading number.
        {{"x", "7", "8", "0", "-1.5"}, "[x] FLOAT DEFAULT -1.5"},
        {{"x", "7", "8", "0", "+2.5E+3"}, "[x] FLOAT DEFAULT 2500"},
        {{"b", "1", "1", "0", "0"}, "[b] BIT DEFAULT 0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(columnOf(c.field), c.expected) << c.field.defaultValue;
}

TEST(TableDefinition, dropStatementQuotingNeighbours) {
    // A name with "[" alone, or a dot at either end, is still one name to object_id.
    EXPECT_EQ(DropTableStatement("a[b"), "IF object_id(N'[a[b]', 'U') IS NOT NULL DROP TABLE [a[b]");
    EXPECT_EQ(DropTableStatement(".T"), "IF object_id(N'[.T]', 'U') IS NOT NULL DROP TABLE [.T]");
    EXPECT_EQ(DropTableStatement("T."), "IF object_id(N'[T.]', 'U') IS NOT NULL DROP TABLE [T.]");
    // A quote in a name that needs brackets is doubled inside the brackets' literal.
    EXPECT_EQ(DropTableStatement("O'Col.x"), "IF object_id(N'[O''Col.x]', 'U') IS NOT NULL DROP TABLE [O'Col.x]");
}
