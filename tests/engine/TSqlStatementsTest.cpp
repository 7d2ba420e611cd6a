#include "engine/TSqlStatements.h"
#include "ServerRules.h"

#include <gtest/gtest.h>

using namespace tabulon;

TEST(ConstraintStatements, foreignKeysAndChecksQuoteEveryName) {
    ForeignKey key;
    key.name = "Odd]Key";
    key.table = "Order Details";
    key.referencedTable = "Odd]Name";
    key.columns = {"a]", "b"};
    key.referencedColumns = {"x", "y"};
    EXPECT_EQ(ForeignKeyStatement(key), "ALTER TABLE [Order Details] ADD CONSTRAINT [Odd]]Key] FOREIGN KEY ([a]]], "
                                        "[b]) REFERENCES [Odd]]Name] ([x], [y])");
    key.cascadeUpdate = key.cascadeDelete = true;
    EXPECT_NE(ForeignKeyStatement(key).find("([x], [y]) ON UPDATE CASCADE ON DELETE CASCADE"), std::string::npos);
    CheckConstraint check;
    check.name = "CK_T";
    check.table = "T]";
    check.condition = "[a] > 0";
    EXPECT_EQ(CheckStatement(check), "ALTER TABLE [T]]] ADD CONSTRAINT [CK_T] CHECK ([a] > 0)");
}

TEST(ConstraintStatements, descriptionsOfTablesColumnsAndConstraints) {
    EXPECT_EQ(DescriptionStatement({DescribedObject::Kind::Table, "O'Brien", ""}, "It's ours"),
              "DECLARE @schema sysname = SCHEMA_NAME(), @table sysname = N'O''Brien', @value nvarchar(4000) = "
              "N'It''s ours'; EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = @value, "
              "@level0type = N'SCHEMA', @level0name = @schema, @level1type = N'TABLE', @level1name = @table;");
    const std::string column = DescriptionStatement({DescribedObject::Kind::Column, "T", "Code"}, "one\r\ntwo");
    EXPECT_NE(column.find("@name sysname = N'Code', @value nvarchar(4000) = N'one'+CHAR(13)+CHAR(10)+N'two';"),
              std::string::npos)
        << column;
    EXPECT_NE(column.find(", @level2type = N'COLUMN', @level2name = @name;"), std::string::npos);
    EXPECT_NE(DescriptionStatement({DescribedObject::Kind::Constraint, "T", "CK_T"}, "x")
                  .find("@level2type = N'CONSTRAINT', @level2name = @name;"),
              std::string::npos);
}

TEST(ConstraintStatements, verifiedCountNamesTheTableAndBothCounts) {
    EXPECT_EQ(CountRowsStatement("Per%Cent"), "SELECT COUNT_BIG(*) FROM [Per%Cent]");
    EXPECT_EQ(VerifyCountStatement("O'Col%", 123),
              "DECLARE @rows bigint = (SELECT COUNT_BIG(*) FROM [O'Col%]); IF @rows <> 123 BEGIN DECLARE @message "
              "nvarchar(2048) = CONCAT(N'Table O''Col% holds ', @rows, N' rows, but 123 were written'); THROW 50000, "
              "@message, 1; END");
}

TEST(ConstraintStatements, keysReferringToATableAreDroppedBeforeIt) {
    EXPECT_EQ(DropReferencingKeysStatement("O'Brien]s"),
              "DECLARE @drop nvarchar(max) = N''; SELECT @drop += N'ALTER TABLE ' + "
              "QUOTENAME(OBJECT_SCHEMA_NAME(parent_object_id)) + N'.' + QUOTENAME(OBJECT_NAME(parent_object_id)) + "
              "N' DROP CONSTRAINT ' + QUOTENAME(name) + N'; ' FROM sys.foreign_keys WHERE referenced_object_id = "
              "OBJECT_ID(N'[O''Brien]]s]'); EXEC sys.sp_executesql @drop;");
}

// What the statements say, read back by the checker of SQL Server's rules as a dump holds them.
TEST(ConstraintStatements, theCheckerReadsEveryStatementAsMeant) {
    ForeignKey key;
    key.name = "PC";
    key.table = "C";
    key.referencedTable = "P]";
    key.columns = {"pid"};
    key.referencedColumns = {"id"};
    key.cascadeDelete = true;
    CheckConstraint check;
    check.name = "CK_C_pid";
    check.table = "C";
    check.condition = "[pid] > 0";
    const std::string dump =
        DropReferencingKeysStatement("P]") + "\r\nGO\r\n" +
        "CREATE TABLE [P]]] (\r\n  [id] INT NOT NULL, \r\n  PRIMARY KEY ([id])\r\n)\r\n" +
        "CREATE TABLE [C] (\r\n  [pid] INT\r\n)\r\n" +
        "INSERT INTO [P]]] VALUES (1)\r\nINSERT INTO [C] VALUES (1)\r\nINSERT INTO [C] VALUES (NULL)\r\n" +
        VerifyCountStatement("C", 2) + "\r\nGO\r\n" + ForeignKeyStatement(key) + "\r\n" + CheckStatement(check) +
        "\r\nGO\r\n" + DescriptionStatement({DescribedObject::Kind::Column, "C", "pid"}, "Parent") + "\r\nGO\r\n" +
        DescriptionStatement({DescribedObject::Kind::Constraint, "C", "CK_C_pid"}, "x") + "\r\nGO\r\n";
    EXPECT_EQ(serverrules::describe(serverrules::checkScript(dump)), "");
    const sqlscript::Script script = sqlscript::parseScript(dump);
    ASSERT_EQ(script.statements.size(), 11u);
    EXPECT_EQ(script.statements[0].name, "P]");
    EXPECT_EQ(script.statements[6].count, 2);
    EXPECT_TRUE(script.statements[7].constraint.cascadeDelete);
    EXPECT_EQ(script.statements[9].described.name, "pid");
}

// A database name is both a literal (compared with sysdatabases) and an identifier: a quote and a
// bracket in it must end neither.
TEST(DatabaseStatements, quoteTheNameAsLiteralAndAsIdentifier) {
    const std::string name = "Shop]'s";
    const std::string guard = "(SELECT * FROM master.dbo.sysdatabases WHERE name = N'Shop]''s') ";
    EXPECT_EQ(CreateDatabaseStatement(name), "IF NOT EXISTS " + guard + "CREATE DATABASE [Shop]]'s]");
    EXPECT_EQ(SingleUserStatement(name),
              "IF EXISTS " + guard + "ALTER DATABASE [Shop]]'s] SET SINGLE_USER With ROLLBACK IMMEDIATE");
    EXPECT_EQ(DropDatabaseStatement(name), "IF EXISTS " + guard + "DROP DATABASE [Shop]]'s]");
    EXPECT_EQ(UseStatement(name), "USE [Shop]]'s]");
    // QUOTED_IDENTIFIER before ANSI_NULLS: sqlcmd starts with the first off, and filtered indexes need both.
    EXPECT_EQ(SessionOptionStatements(), (std::vector<std::string>{"SET QUOTED_IDENTIFIER ON", "SET ANSI_NULLS ON"}));
}

TEST(RowStatements, nameTheColumnsOnlyWhenGivenAndSwitchIdentityInserts) {
    EXPECT_EQ(InsertPrefix("Order Details", {}), "INSERT INTO [Order Details] VALUES (");
    EXPECT_EQ(InsertPrefix("T", {"ID", "a]b"}), "INSERT INTO [T] ([ID], [a]]b]) VALUES (");
    EXPECT_EQ(IdentityInsertStatement("T]", true), "SET IDENTITY_INSERT [T]]] ON");
    EXPECT_EQ(IdentityInsertStatement("T]", false), "SET IDENTITY_INSERT [T]]] OFF");
}
