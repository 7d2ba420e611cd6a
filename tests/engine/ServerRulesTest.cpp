// The checker of SQL Server's rules, fed a small dump that obeys them all and, for each rule, dumps
// that break it: a rule that stays silent on its own fault would let the fixture tests pass on it.
#include "ServerRules.h"
#include "CheckCondition.h"
#include "SqlParser.h"

#include <gtest/gtest.h>

#include <set>

using namespace serverrules;

namespace {

std::string crlf(const std::string& text) {
    std::string out;
    for (const char c : text)
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

const std::string kColumns = "([id], [s], [d], [d2], [m], [n], [r], [u])";

std::string row(int id, const std::string& values) {
    return "INSERT INTO [T] " + kColumns + " VALUES (" + std::to_string(id) + ", " + values + ")\n";
}

const std::string kValid = crlf(
    "--\n-- header\n--\n\nSET QUOTED_IDENTIFIER ON\nSET ANSI_NULLS ON\nGO\n\n"
    "USE [master]\n"
    "IF NOT EXISTS (SELECT * FROM master.dbo.sysdatabases WHERE name = N'D') CREATE DATABASE [D]\nGO\n\nUSE [D]\n\n"
    "IF object_id(N'T', 'U') IS NOT NULL DROP TABLE [T]\n\n"
    "CREATE TABLE [T] (\n"
    "  [id] INT NOT NULL IDENTITY, \n"
    "  [s] NVARCHAR(5) DEFAULT N'x', \n"
    "  [d] DATETIME DEFAULT GETDATE(), \n"
    "  [d2] DATETIME2 DEFAULT CONVERT(date, GETDATE()), \n"
    "  [m] MONEY DEFAULT 0, \n"
    "  [n] DECIMAL(5,2), \n"
    "  [r] REAL, \n"
    "  [u] NVARCHAR(2), \n"
    "  PRIMARY KEY ([id])\n"
    ")\n\n"
    "SET IDENTITY_INSERT [T] ON\nGO\n\n" +
    row(1, "N'ab'+CHAR(13)+N'c', '2024-03-04T10:20:30.123', '0100-01-01T00:00:00.1234567', "
           "-922337203685477.5808, -999.99, 3.40282347E+38, N'😀'") +
    row(2, "NULL, '2024-03-04T23:59:59.999', NULL, 0.0001, 0.5, -1.17549435E-38, NULL") +
    row(3, "N'', NULL, '9999-12-31T23:59:59.9999999', 5, 12, 0, NULL") +
    row(4, "N'O''B', '1753-01-01T00:00:00', NULL, NULL, NULL, NULL, N'b'") +
    "-- 4 records\n\nSET IDENTITY_INSERT [T] OFF\nGO\n\n"
    "CREATE UNIQUE INDEX [u] ON [T] ([u]) WHERE [u] IS NOT NULL\nGO\n\n"
    "CREATE INDEX [sd] ON [T] ([s], [d])\nGO\n\n");

// Two tables with what follows their rows: a row count check, a foreign key, checks, descriptions.
const std::string kValidConstraints =
    crlf("DECLARE @drop nvarchar(max) = N''; SELECT @drop += N'ALTER TABLE ' + "
         "QUOTENAME(OBJECT_SCHEMA_NAME(parent_object_id)) + N'.' + QUOTENAME(OBJECT_NAME(parent_object_id)) + "
         "N' DROP CONSTRAINT ' + QUOTENAME(name) + N'; ' FROM sys.foreign_keys WHERE referenced_object_id = "
         "OBJECT_ID(N'[P]'); EXEC sys.sp_executesql @drop;\nGO\n\n"
         "CREATE TABLE [P] (\n  [id] INT NOT NULL, \n  [code] NVARCHAR(2) NOT NULL, \n  PRIMARY KEY ([id])\n)\n\n"
         "CREATE TABLE [C] (\n  [id] INT NOT NULL IDENTITY, \n  [pid] INT, \n  [a] INT, \n  [b] INT, \n"
         "  [s] NVARCHAR(5), \n  [d] DATETIME, \n  PRIMARY KEY ([id])\n)\n\n"
         "INSERT INTO [P] VALUES (1, N'A')\nINSERT INTO [P] VALUES (2, N'B')\n"
         "CREATE UNIQUE INDEX [pc] ON [P] ([code])\nGO\n\n"
         "SET IDENTITY_INSERT [C] ON\nGO\n\n"
         "INSERT INTO [C] ([id], [pid], [a], [b], [s], [d]) VALUES (1, 1, 5, 1, N'Ab1', '2024-01-01T00:00:00')\n"
         "INSERT INTO [C] ([id], [pid], [a], [b], [s], [d]) VALUES (2, NULL, NULL, 10, N'x  ', NULL)\n"
         "SET IDENTITY_INSERT [C] OFF\nGO\n\n"
         "DECLARE @rows bigint = (SELECT COUNT_BIG(*) FROM [C]); IF @rows <> 2 BEGIN DECLARE @message nvarchar(2048) = "
         "CONCAT(N'Table C holds ', @rows, N' rows, but 2 were written'); THROW 50000, @message, 1; END\nGO\n\n"
         "ALTER TABLE [C] ADD CONSTRAINT [CP] FOREIGN KEY ([pid]) REFERENCES [P] ([id]) ON UPDATE CASCADE ON DELETE "
         "CASCADE\n"
         "ALTER TABLE [C] ADD CONSTRAINT [CK_C_a] CHECK ([a] >= 0 AND [a] < 10)\n"
         "ALTER TABLE [C] ADD CONSTRAINT [CK_C_s] CHECK ([s] LIKE N'[A-Z]%' OR [s] IS NULL OR "
         "(LEN(CAST([s] AS NVARCHAR(MAX)) + N'.') - 1) > 2)\n"
         "ALTER TABLE [C] ADD CONSTRAINT [CK_C] CHECK ([d] < CAST('2025-01-01T00:00:00' AS DATETIME) OR [d] IS NULL)\n"
         "ALTER TABLE [C] ADD CONSTRAINT [CK_C_b] CHECK ([b] BETWEEN 1 AND 10 AND [b] IN (1, 10) AND NOT [b] = 3)\n"
         "GO\n\n"
         "DECLARE @schema sysname = SCHEMA_NAME(), @table sysname = N'C', @value nvarchar(4000) = N'Children'; EXEC "
         "sys.sp_addextendedproperty @name = N'MS_Description', @value = @value, @level0type = N'SCHEMA', "
         "@level0name = @schema, @level1type = N'TABLE', @level1name = @table;\nGO\n\n"
         "DECLARE @schema sysname = SCHEMA_NAME(), @table sysname = N'C', @name sysname = N'CK_C_a', @value "
         "nvarchar(4000) = N'a'+CHAR(13)+N'b'; EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = "
         "@value, @level0type = N'SCHEMA', @level0name = @schema, @level1type = N'TABLE', @level1name = @table, "
         "@level2type = N'CONSTRAINT', @level2name = @name;\nGO\n\n");

// After the tables of kValidConstraints: a view and an inline function that reads it.
const std::string kValidViews =
    kValidConstraints +
    crlf(
        "GO\n\nIF OBJECT_ID(N'[vP]', N'V') IS NOT NULL DROP VIEW [vP]\nGO\n\n"
        "CREATE VIEW [vP]\nAS\nSELECT TOP (5) WITH TIES [p].[id], [p].[code] AS [Code]\n"
        "FROM [P] AS [p] INNER JOIN [C] AS [c] ON [p].[id] = [c].[pid]\n"
        "INNER JOIN (SELECT [x].[pid] AS [k] FROM [C] AS [x]) AS [d] ON [d].[k] = [p].[id]\nORDER BY [p].[code]\nGO\n\n"
        "IF OBJECT_ID(N'[fC]', N'IF') IS NOT NULL DROP FUNCTION [fC]\nGO\n\n"
        "CREATE FUNCTION [fC] (@a INT)\nRETURNS TABLE\nAS\nRETURN\n"
        "SELECT [vP].[id], ROW_NUMBER() OVER (ORDER BY [c].[a]) AS [n]\n"
        "FROM [vP], ([C] AS [c] LEFT JOIN [P] AS [q] ON [q].[id] = [c].[pid])\n"
        "WHERE [c].[a] = @a AND [c].[b] IN (SELECT TOP (1) [x].[b] FROM [C] AS [x] ORDER BY [x].[b])\nGO\n\n");

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(crlf(from));
    if (at == std::string::npos)
        throw std::logic_error("not in the valid dump: " + from);
    return text.replace(at, crlf(from).size(), crlf(to));
}

std::string constraintsWith(const std::string& from, const std::string& to) {
    return replaced(kValidConstraints, from, to);
}

std::string viewsWith(const std::string& from, const std::string& to) {
    return replaced(kValidViews, from, to);
}

std::string withRow(const std::string& values, int id = 5) {
    return replaced(kValid, "-- 4 records", row(id, values) + "-- 5 records");
}

struct Broken {
    const char* rule;
    std::string dump;
    const char* what;
};

std::vector<Broken> brokenDumps() {
    const std::string nulls = "NULL, NULL, NULL, NULL, NULL, NULL, ";
    std::string manyRows;
    for (int id = 5; id <= 1001; ++id)
        manyRows += row(id, nulls + "NULL");
    return {
        {"known-statements", replaced(kValid, "USE [D]\n", "USE [D]\nSELECT 1\n"), "a statement of no known shape"},
        {"known-statements", replaced(kValid, "NVARCHAR(2)", "NVARCHAR(2"), "a statement cut short"},
        {"use-after-create", replaced(kValid, "CREATE DATABASE [D]\nGO\n", "CREATE DATABASE [D]\n"),
         "USE in the batch of CREATE DATABASE"},
        {"batch-size", replaced(kValid, "-- 4 records", manyRows), "1001 INSERTs in one batch"},
        {"column-types", replaced(kValid, "[m] MONEY DEFAULT 0", "[m] DEFAULT 0"), "a column without a type"},
        {"column-types", replaced(kValid, "NVARCHAR(5)", "NVARCHAR(0)"), "a zero length"},
        {"column-types", replaced(kValid, "NVARCHAR(5)", "NVARCHAR(4001)"), "an N length over 4000"},
        {"column-types", replaced(kValid, "DECIMAL(5,2)", "DECIMAL(5,6)"), "a scale above the precision"},
        {"column-types", replaced(kValid, "[r] REAL", "[r] CURRENCY"), "a type SQL Server lacks"},
        {"identity", replaced(kValid, "[r] REAL", "[r] INT IDENTITY"), "two identity columns"},
        {"identity", replaced(kValid, "[id] INT NOT NULL IDENTITY", "[id] IMAGE NOT NULL IDENTITY"),
         "identity on an IMAGE"},
        {"identity", replaced(kValid, "[id] INT NOT NULL IDENTITY", "[id] INT NOT NULL DEFAULT 0 IDENTITY"),
         "identity with a default"},
        {"identity-insert", replaced(kValid, "SET IDENTITY_INSERT [T] ON\nGO\n", ""), "identity values while OFF"},
        {"identity-insert",
         replaced(kValid, "INSERT INTO [T] " + kColumns + " VALUES (4,", "INSERT INTO [T] VALUES (4,"),
         "identity values without a column list"},
        {"identity-insert", replaced(kValid, "SET IDENTITY_INSERT [T] OFF", "SET IDENTITY_INSERT [X] ON"),
         "a second table switched ON"},
        {"drop-guard", replaced(kValid, "object_id(N'T'", "object_id('T'"), "a plain literal"},
        {"drop-guard", replaced(kValid, "object_id(N'T'", "object_id(N'U'"), "another table's name"},
        {"filtered-index-options", replaced(kValid, "SET QUOTED_IDENTIFIER ON\n", ""), "QUOTED_IDENTIFIER not set"},
        {"filtered-index-options",
         replaced(kValid, "SET IDENTITY_INSERT [T] OFF\n", "SET IDENTITY_INSERT [T] OFF\nSET ANSI_NULLS OFF\n"),
         "ANSI_NULLS switched off"},
        {"index-keys", replaced(kValid, "([s], [d])", "([s], [x])"), "a key column the table lacks"},
        {"index-keys", replaced(kValid, "[s] NVARCHAR(5)", "[s] NVARCHAR(MAX)"), "a key over a MAX column"},
        {"index-keys", replaced(kValid, "ON [T] ([s], [d])", "ON [X] ([s], [d])"), "an index on no table"},
        {"unique-keys", replaced(kValid, "WHERE [u] IS NOT NULL", ""), "two NULLs in an unfiltered unique index"},
        {"unique-keys", withRow(nulls + "N'B '"), "equal keys but for letter case and trailing blanks"},
        {"unique-keys", withRow(nulls + "N'z'", 4), "a primary key value inserted twice"},
        {"unique-keys",
         replaced(kValid, "[u] NVARCHAR(2), \n  PRIMARY KEY ([id])", "[u] NVARCHAR(2), \n  PRIMARY KEY ([u])"),
         "NULL in a primary key"},
        {"defaults", replaced(kValid, "DEFAULT GETDATE()", "DEFAULT N'=Now()'"), "a text default on a date column"},
        {"defaults", replaced(kValid, "[m] MONEY DEFAULT 0", "[m] MONEY DEFAULT N'0'"), "a text default on MONEY"},
        {"defaults", replaced(kValid, "[m] MONEY DEFAULT 0", "[m] MONEY DEFAULT GETDATE()"), "a date on MONEY"},
        {"defaults", replaced(kValid, "[s] NVARCHAR(5) DEFAULT N'x'", "[s] NVARCHAR(5) DEFAULT N'toolong'"),
         "a default longer than its column"},
        {"date-literals", replaced(kValid, "'2024-03-04T10:20:30.123'", "'2024-03-04 10:20:30.123'"),
         "a date read by the session language"},
        {"date-literals", replaced(kValid, "'2024-03-04T10:20:30.123'", "'2024-03-04T10:20:30.1234'"),
         "four fraction digits into DATETIME"},
        {"date-literals", replaced(kValid, "'1753-01-01T00:00:00'", "'1752-12-31T23:59:59'"), "before DATETIME"},
        {"date-literals", replaced(kValid, "'2024-03-04T23:59:59.999'", "'9999-12-31T23:59:59.999'"),
         "a DATETIME carried past 9999"},
        {"date-literals", replaced(kValid, "'2024-03-04T23:59:59.999'", "'2023-02-29T00:00:00'"), "no such day"},
        {"date-literals", replaced(kValid, "'0100-01-01T00:00:00.1234567'", "0"), "a number as a date"},
        {"literals", replaced(kValid, "3.40282347E+38", "3.4028235E+38"), "above REAL's maximum"},
        {"literals", replaced(kValid, "-1.17549435E-38", "1E-46"), "below REAL's smallest subnormal"},
        {"literals", replaced(kValid, "N'ab'+CHAR(13)+N'c'", "N'abc'+CHAR(13)+N'de'"), "six characters in five"},
        {"literals", replaced(kValid, "N'😀'", "N'😀x'"), "a surrogate pair counted as two"},
        {"literals", replaced(kValid, "0.0001", "0.00001"), "five decimals into MONEY"},
        {"literals", replaced(kValid, "-922337203685477.5808", "-922337203685477.5809"), "below MONEY"},
        {"literals", replaced(kValid, "-999.99", "-1000"), "too many integer digits for DECIMAL(5,2)"},
        {"literals", replaced(kValid, "0.0001", "N'1'"), "a text literal in a MONEY column"},
        {"literals", replaced(kValid, "0.0001", "0x"), "a binary literal in a MONEY column"},
        {"literals", replaced(kValid, "VALUES (2, NULL", "VALUES (NULL, NULL"), "NULL in a NOT NULL column"},
        {"literals", replaced(kValid, "N'O''B', ", ""), "fewer values than columns"},
        {"foreign-keys", constraintsWith("REFERENCES [P] ([id])", "REFERENCES [C] ([a])"), "no key to refer to"},
        {"foreign-keys", constraintsWith("REFERENCES [P] ([id])", "REFERENCES [P] ([code])"), "INT paired with text"},
        {"foreign-keys", constraintsWith("FOREIGN KEY ([pid])", "FOREIGN KEY ([id])"), "a cascade into IDENTITY"},
        {"foreign-keys",
         constraintsWith("CREATE UNIQUE INDEX [pc] ON [P] ([code])",
                         "CREATE UNIQUE INDEX [pc] ON [P] ([code]) WHERE [code] IS NOT NULL") +
             crlf("ALTER TABLE [P] ADD CONSTRAINT [PC2] FOREIGN KEY ([code]) REFERENCES [P] ([code])\n"),
         "a key over a filtered index"},
        {"foreign-key-rows", constraintsWith("VALUES (1, 1, 5", "VALUES (1, 3, 5"), "a row without its parent"},
        {"cascade-paths",
         kValidConstraints +
             crlf("ALTER TABLE [C] ADD CONSTRAINT [CP2] FOREIGN KEY ([b]) REFERENCES [P] ([id]) ON DELETE CASCADE\n"),
         "a second delete path from P to C"},
        {"cascade-paths",
         kValidConstraints +
             crlf("ALTER TABLE [P] ADD CONSTRAINT [PP] FOREIGN KEY ([id]) REFERENCES [P] ([id]) ON UPDATE CASCADE\n"),
         "a cascade from a table to itself"},
        {"checks", constraintsWith("[a] < 10", "[a] < 5"), "a row that breaks a check"},
        {"checks", constraintsWith("[b] IN (1, 10)", "[b] IN (1, 2)"), "a row that no IN value matches"},
        {"checks", constraintsWith("[s] LIKE N'[A-Z]%' OR [s] IS NULL OR", "[s] LIKE N'[0-9]%' AND"),
         "a row that does not match the pattern"},
        {"checks", constraintsWith("[a] >= 0", "[zz] >= 0"), "a check over a column the table lacks"},
        {"constraint-names", constraintsWith("[CK_C_b]", "[cp]"), "a name taken by a key"},
        {"constraint-names", constraintsWith("[CK_C_b]", "[p]"), "a name taken by a table"},
        {"batch-variables", constraintsWith("@table;\nGO\n", "@table;\n"), "two descriptions in one batch"},
        {"descriptions", constraintsWith("N'CK_C_a'", "N'CK_C_z'"), "a constraint that does not exist"},
        {"verified-counts", constraintsWith("IF @rows <> 2", "IF @rows <> 3"), "a count the dump did not insert"},
        {"view-batch", viewsWith("DROP VIEW [vP]\nGO\n", "DROP VIEW [vP]\n"), "CREATE VIEW after its drop guard"},
        {"view-references", viewsWith("([C] AS [c] LEFT", "([Z] AS [c] LEFT"), "a table that never exists"},
        {"view-references", viewsWith("[c].[a] = @a", "[c].[zz] = @a"), "a column the table lacks"},
        {"view-references", viewsWith("[c].[a] = @a", "[d].[a] = @a"), "an alias of no table"},
        {"view-order", viewsWith("FROM [P] AS [p] INNER", "FROM [fC](1) AS [p] INNER"), "a function made later"},
        {"view-order-by", viewsWith("TOP (5) WITH TIES ", ""), "ORDER BY in a view without TOP"},
        {"view-order-by", viewsWith("SELECT TOP (1) [x]", "SELECT [x]"), "ORDER BY in a subquery without TOP"},
        {"view-drop-guard", viewsWith("N'V')", "N'U')"), "a guard that looks for a table"},
        {"view-drop-guard", viewsWith("N'[fC]'", "N'[vP]'"), "a guard for another object"},
    };
}

} // namespace

TEST(ServerRules, aDumpThatKeepsEveryRuleHasNoFinding) {
    EXPECT_EQ(describe(checkScript(kValid)), "");
    EXPECT_EQ(describe(checkScript(kValidConstraints)), "");
    EXPECT_EQ(describe(checkScript(kValidViews)), "");
}

TEST(ServerRules, eachRuleNamesTheFaultPlantedForIt) {
    std::set<std::string> covered;
    for (const Broken& broken : brokenDumps()) {
        const auto findings = checkScript(broken.dump, broken.rule);
        EXPECT_FALSE(findings.empty()) << broken.rule << ": " << broken.what;
        covered.insert(broken.rule);
    }
    for (const auto& rule : allRules())
        EXPECT_TRUE(covered.count(rule->name())) << "no broken dump for the rule " << rule->name();
}

TEST(ServerRules, batchesEndAtGoAndCountTheirInserts) {
    const sqlscript::Script script = sqlscript::parseScript(kValid);
    ASSERT_EQ(script.batches.size(), 7u); // the last one empty, after the final GO
    EXPECT_EQ(script.batches[3].inserts, 4u);
    const sqlscript::Table* table = script.table("t");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->indexes.size(), 3u);
    EXPECT_EQ(script.statements.back().kind, sqlscript::Statement::Kind::CreateIndex);
}

TEST(ServerRules, stringPiecesJoinAsTheServerJoinsThem) {
    const sqlscript::Script script = sqlscript::parseScript(
        crlf("INSERT INTO [X] VALUES (N'a'+CHAR(13)+CHAR(10)+N'''b', CONVERT(NVARCHAR(MAX), N'c')+CHAR(9), 0x0aFF)\n"));
    ASSERT_EQ(script.statements.size(), 1u);
    const auto& values = script.statements[0].values;
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].text, "a\r\n'b");
    EXPECT_TRUE(values[0].unicode);
    EXPECT_EQ(values[1].text, "c\t");
    EXPECT_EQ(values[2].kind, sqlscript::Literal::Kind::Binary);
}

TEST(ServerRules, checkConditionsUnderThreeValuedLogic) {
    using sqlscript::Truth;
    sqlscript::ColumnType text, number, date;
    text.name = "NVARCHAR", number.name = "INT", date.name = "DATETIME";
    const auto truth = [&](const std::string& condition, const sqlscript::Literal& a, const sqlscript::Literal& b) {
        sqlscript::Parser parser(sqlscript::tokenize(condition));
        const sqlscript::Condition parsed = sqlscript::readCondition(parser);
        EXPECT_TRUE(parser.atEnd()) << condition;
        return sqlscript::evaluate(parsed, [&](const std::string& column) -> sqlscript::ColumnValue {
            if (column == "s")
                return {&a, &text};
            if (column == "d")
                return {&a, &date};
            return {&b, &number};
        });
    };
    using L = sqlscript::Literal;
    const L null{L::Kind::Null, ""}, one{L::Kind::Number, "1"}, three{L::Kind::Number, "3"};
    const L upperText{L::Kind::Text, "Ab1", true}, digitText{L::Kind::Text, "1b", true},
        blanks{L::Kind::Text, "x  ", true};
    EXPECT_EQ(truth("[s] LIKE N'[A-Z]%'", upperText, null), Truth::True);
    EXPECT_EQ(truth("[s] LIKE N'[a-z]_1'", upperText, null), Truth::True); // no letter case
    EXPECT_EQ(truth("[s] LIKE N'[A-Z]%'", digitText, null), Truth::False);
    EXPECT_EQ(truth("[s] NOT LIKE N'%'", null, null), Truth::Unknown);
    // A set after the first character: the pattern is read by characters, not by bytes of the key.
    EXPECT_EQ(truth("[s] LIKE N'[A-Z][a-z][0-9]'", upperText, null), Truth::True);
    EXPECT_EQ(truth("[s] LIKE N'_[0-9]%'", upperText, null), Truth::False);
    // LEN leaves trailing blanks out; the converter's form counts them.
    EXPECT_EQ(truth("LEN([s]) = 1", blanks, null), Truth::True);
    EXPECT_EQ(truth("(LEN(CAST([s] AS NVARCHAR(MAX)) + N'.') - 1) > 2", blanks, null), Truth::True);
    EXPECT_EQ(truth("[s] = N'X'", blanks, null), Truth::True);
    EXPECT_EQ(truth("[b] IN (1, 10)", null, null), Truth::Unknown);
    EXPECT_EQ(truth("[b] NOT IN (1, NULL)", null, three), Truth::Unknown);
    EXPECT_EQ(truth("NOT [b] = 3", null, three), Truth::False);
    EXPECT_EQ(truth("[b] BETWEEN 1 AND 3 AND [b] > -1", null, three), Truth::True);
    EXPECT_EQ(truth("[b] = 1 OR [b] = 3 AND [b] = 2", null, one), Truth::True); // AND binds tighter
    EXPECT_EQ(truth("([b] = 1 OR [b] = 3) AND [b] = 2", null, one), Truth::False);
    EXPECT_EQ(truth("[b] IS NULL OR [b] > 2", null, null), Truth::True);
    const L day{L::Kind::Text, "2024-01-01T00:00:00", false};
    EXPECT_EQ(truth("[d] < CAST('2025-01-01T00:00:00' AS DATETIME)", day, null), Truth::True);
    EXPECT_THROW(truth("[d] < 5", day, null), std::runtime_error); // a date is no number
}
