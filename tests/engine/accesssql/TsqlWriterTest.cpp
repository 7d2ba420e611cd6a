#include "engine/accesssql/TsqlWriter.h"
#include "engine/accesssql/AccessDates.h"
#include "engine/accesssql/ExpressionParser.h"
#include "engine/accesssql/FormatPattern.h"
#include "engine/accesssql/LikePattern.h"
#include "lib/Error.h"

#include <gtest/gtest.h>

using namespace tabulon;
using namespace tabulon::accesssql;

namespace {

// Knows the column types the way the view translator learns them from the schema.
class TypedWriter : public TsqlWriter {
protected:
    ValueType nameType(const Expr& name) override {
        const std::string& c = name.lastPart();
        if (c == "Name" || c == "City")
            return ValueType::Text;
        if (c == "Qty" || c == "Price")
            return ValueType::Number;
        return ValueType::Unknown;
    }
};

struct Case {
    const char* access;
    const char* tsql;
};

void expectValues(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        TypedWriter w;
        EXPECT_EQ(w.value(*parseExpression(c.access)), c.tsql) << c.access;
    }
}

void expectConditions(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        TypedWriter w;
        EXPECT_EQ(w.condition(*parseExpression(c.access)), c.tsql) << c.access;
    }
}

std::string untranslatableReason(const char* access) {
    try {
        TypedWriter w;
        w.value(*parseExpression(access));
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), accesssql::errc::NotTranslatable) << access;
        return e.description();
    }
    return "translated";
}

} // namespace

TEST(TsqlWriter, literalsAndNames) {
    expectValues({
        {"\"O'Brien\"", "N'O''Brien'"},
        {"\"a\"\"b\"", "N'a\"b'"},
        {"True", "1"},
        {"No", "0"},
        {"Null", "NULL"},
        {"[table 1].[text1]", "[table 1].[text1]"},
        {"#1/31/2024 1:05:09 PM#", "CAST('2024-01-31T13:05:09' AS DATETIME)"},
        {"#2024-06-30#", "CAST('2024-06-30T00:00:00' AS DATETIME)"},
        {"#1/1/1700#", "CAST('1700-01-01T00:00:00' AS DATETIME2(0))"}, // before DATETIME's range
    });
}

TEST(TsqlWriter, operatorsKeepAccessResults) {
    expectValues({
        // NULL in "&" reads as empty text in Access; "+" still propagates NULL, as in T-SQL.
        {"[Name] & \" (\" & [City] & \")\"", "CONCAT([Name], N' (', [City], N')')"},
        {"[Name]+\" / \"+[City]", "[Name] + N' / ' + [City]"},
        // "/" divides in floating point in Access: 7/2 is 3.5, not T-SQL's 3.
        {"[Qty]/2", "CAST([Qty] AS FLOAT) / 2"},
        // \ and Mod round their operands to whole numbers first, halves to even.
        {"[Qty]\\4", "CAST(CASE WHEN ABS([Qty] - FLOOR([Qty])) = 0.5 THEN 2 * ROUND(([Qty]) / 2, 0) ELSE "
                     "ROUND([Qty], 0) END AS BIGINT) / 4"},
        {"7 Mod 3", "7 % 3"},
        {"2^10", "POWER(CAST(2 AS FLOAT), 10)"},
        {"-[Qty]*(1-[Price])", "-[Qty] * (1 - [Price])"},
        {"[a] = [b]", "CASE WHEN [a] = [b] THEN 1 WHEN NOT ([a] = [b]) THEN 0 END"},
    });
}

TEST(TsqlWriter, conditions) {
    expectConditions({
        {"(((Orders.Paid)=True))", "[Orders].[Paid] = 1"},
        {"[Discontinued]", "[Discontinued] <> 0"}, // a bare Yes/No column
        {"Not [Discontinued]", "NOT [Discontinued] <> 0"},
        {"True", "1 = 1"},
        {"a Or b And c", "[a] <> 0 OR ([b] <> 0 AND [c] <> 0)"},
        {"a Xor b", "([a] <> 0 AND NOT [b] <> 0) OR (NOT [a] <> 0 AND [b] <> 0)"},
        {"a Imp b", "NOT [a] <> 0 OR [b] <> 0"},
        {"x Between #1/1/2024# And #12/31/2024#",
         "[x] BETWEEN CAST('2024-01-01T00:00:00' AS DATETIME) AND CAST('2024-12-31T00:00:00' AS DATETIME)"},
        {"x Not In (\"A\", \"B\")", "[x] NOT IN (N'A', N'B')"},
        {"x Is Not Null", "[x] IS NOT NULL"},
        {"IsNull([Phone])", "[Phone] IS NULL"},
    });
}

TEST(TsqlWriter, likeWildcardsAndEscapes) {
    expectConditions({
        {"x Like \"A*\"", "[x] LIKE N'A%'"},
        {"x Like \"?b#\"", "[x] LIKE N'_b[0-9]'"},
        {"x Not Like \"[!a-c]*\"", "[x] NOT LIKE N'[^a-c]%'"},
        {"x Like \"100%_*\"", "[x] LIKE N'100[%][_]%'"}, // literal in Access, wildcards in T-SQL
        {"x Like \"[[]x]\"", "[x] LIKE N'[[]x]'"},
        {"x Like \"[*]\"", "[x] LIKE N'[*]'"},
        {"x Like \"[^a]\"", "[x] LIKE N'[a^]'"}, // "^" is no negation in Access
        {"x Like [p] & \"*\"", "[x] LIKE CONCAT(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE([p], N'[', N'[[]'), "
                               "N'%', N'[%]'), N'_', N'[_]'), N'*', N'%'), N'?', N'_'), N'#', N'[0-9]'), N'%')"},
    });
}

TEST(TsqlWriter, textFunctions) {
    expectValues({
        // LEN drops trailing blanks; Access's Len counts them.
        {"Len([Notes])", "(LEN(CAST([Notes] AS NVARCHAR(MAX)) + N'.') - 1)"},
        {"Left([Name],3)", "LEFT([Name], 3)"},
        {"Mid([Name],3,5)", "SUBSTRING([Name], 3, 5)"},
        {"Mid([Name],3)", "SUBSTRING([Name], 3, 2147483647)"},
        {"InStr([Name],\"e\")", "CHARINDEX(N'e', [Name])"},
        {"InStr(2, [Name],\"e\")", "CHARINDEX(N'e', [Name], 2)"},
        {"Trim([Name])", "LTRIM(RTRIM([Name]))"},
        {"UCase([City])", "UPPER([City])"},
        {"String(3, \"xy\")", "REPLICATE(LEFT(N'xy', 1), 3)"},
        {"String(3, 65)", "REPLICATE(NCHAR(65), 3)"},
        {"Nz([City])", "COALESCE([City], N'')"},
        {"Nz([Qty])", "COALESCE([Qty], 0)"},
        {"Nz([x],\"n/a\")", "COALESCE([x], N'n/a')"},
        {"IIf([IsActive],\"on\",\"off\")", "CASE WHEN [IsActive] <> 0 THEN N'on' ELSE N'off' END"},
        {"Switch([Qty]>=30,\"bulk\",True,\"none\")", "CASE WHEN [Qty] >= 30 THEN N'bulk' WHEN 1 = 1 THEN N'none' END"},
        {"IIf(IsNull([Phone]),\"none\",[Phone])", "CASE WHEN [Phone] IS NULL THEN N'none' ELSE [Phone] END"},
    });
}

TEST(TsqlWriter, dateFunctions) {
    expectValues({
        {"Year([d])", "YEAR([d])"},
        {"Hour([d])", "DATEPART(HOUR, [d])"},
        {"DateAdd(\"m\",1,[d])", "DATEADD(MONTH, 1, [d])"},
        {"DateAdd(\"w\",3,[d])", "DATEADD(DAY, 3, [d])"},
        {"DateDiff(\"d\",[a],[b])", "DATEDIFF(DAY, [a], [b])"},
        {"DateDiff(\"w\",[a],[b])", "(DATEDIFF(DAY, [a], [b]) / 7)"},
        {"DatePart(\"q\",[d])", "DATEPART(QUARTER, [d])"},
        // Weekdays count from Sunday = 1 whatever the server's DATEFIRST.
        {"Weekday([d])", "((DATEDIFF(DAY, '1900-01-07', [d]) % 7 + 7) % 7 + 1)"},
        {"DatePart(\"w\",[d],2)", "((DATEDIFF(DAY, '1900-01-08', [d]) % 7 + 7) % 7 + 1)"},
        // Months and days overflow into the next year or back into the last month.
        {"DateSerial(Year([d]),Month([d])+1,0)", "DATEADD(DAY, (0) - 1, DATEADD(MONTH, (MONTH([d]) + 1) - 1, "
                                                 "CAST(DATEFROMPARTS(YEAR([d]), 1, 1) AS DATETIME)))"},
        {"Now()", "GETDATE()"},
        {"Date()", "CAST(CAST(GETDATE() AS DATE) AS DATETIME)"},
        {"Time()", "DATEADD(DAY, -2, CAST(CAST(GETDATE() AS TIME) AS DATETIME))"},
        {"CDate(\"2024-06-30\")", "CAST('2024-06-30T00:00:00' AS DATETIME)"},
        {"Format([d],\"yyyy-mm\")", "FORMAT([d], N'yyyy-MM', 'en-US')"},
        {"Format([d],\"mmm\")", "FORMAT([d], N'MMM', 'en-US')"},
        {"Format([d],\"hh:mm:ss AM/PM\")", "FORMAT([d], N'HH:mm:ss tt', 'en-US')"},
        {"Format([d],\"q\")", "CAST(DATEPART(QUARTER, [d]) AS NVARCHAR(1))"},
        {"Format([Price],\"#,##0.00\")", "FORMAT([Price], N'#,##0.00', 'en-US')"},
    });
}

TEST(TsqlWriter, conversionsAndRounding) {
    const std::string half =
        "CASE WHEN ABS([x] - FLOOR([x])) = 0.5 THEN 2 * ROUND(([x]) / 2, 0) ELSE ROUND([x], 0) END";
    TypedWriter w;
    // Round, CInt and CLng take halves to the even neighbour: Round(2.5) is 2, T-SQL's ROUND gives 3.
    EXPECT_EQ(w.value(*parseExpression("Round([x])")), half);
    EXPECT_EQ(w.value(*parseExpression("CLng([x])")), "CAST(" + half + " AS INT)");
    EXPECT_EQ(w.value(*parseExpression("CInt([x])")), "CAST(" + half + " AS SMALLINT)");
    EXPECT_EQ(w.value(*parseExpression("Round([x],2)")),
              "CASE WHEN ABS(([x]) * POWER(CAST(10 AS FLOAT), 2) - FLOOR(([x]) * POWER(CAST(10 AS FLOAT), 2))) = 0.5 "
              "THEN 2 * ROUND(([x]) / 2, 2) ELSE ROUND([x], 2) END");
    expectValues({
        {"Int(-[x]/7)", "FLOOR(CAST(-[x] AS FLOAT) / 7)"}, // Int goes down, Fix towards zero
        {"Fix([x])", "ROUND([x], 0, 1)"},
        {"CStr([Qty]) & \" pcs\"", "CONCAT(CAST([Qty] AS NVARCHAR(255)), N' pcs')"},
        {"CDbl([x])", "CAST([x] AS FLOAT)"},
        {"CBool([x])", "CAST(CASE WHEN [x] <> 0 THEN 1 WHEN NOT ([x] <> 0) THEN 0 END AS BIT)"},
        {"Sgn([x])", "SIGN([x])"},
        {"Avg([Qty])", "AVG(CAST([Qty] AS FLOAT))"}, // AVG of integers is an integer in T-SQL
        {"Count(*)", "COUNT(*)"},
        {"StDevP([x])", "STDEVP([x])"},
    });
}

TEST(TsqlWriter, reportsWhatHasNoCounterpart) {
    const Case cases[] = {
        {"First(Orders.ShipCity)", "First(Orders.ShipCity): First and Last have no SQL Server counterpart"},
        {"Last(x)", "Last(x): First and Last have no SQL Server counterpart"},
        {"DLookup(\"a\",\"t\")", "DLookup(\"a\",\"t\"): a domain aggregate function"},
        {"[Forms]![Ordrar]![cbo] + 1", "[Forms]![Ordrar]![cbo]: a form or report reference"},
        {"MyVbaFunction([x])", "MyVbaFunction([x]): \"MyVbaFunction\" is a VBA or user-defined function"},
        {"Nz([Unknown])", "Nz([Unknown]): Nz without a value for Null"},
        {"Format([d],\"ww\")", "Format([d],\"ww\"): the format \"ww\" has no SQL Server counterpart"},
        {"DateAdd([i],1,[d])", "DateAdd([i],1,[d]): an interval that is not a text literal"},
        {"DateAdd(\"x\",1,[d])", "DateAdd(\"x\",1,[d]): the interval \"x\""},
        {"#31/31/2024#", "#31/31/2024#: a date literal that is not a valid date"},
        {"Left([x])", "Left([x]): \"Left\" with 1 arguments"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(untranslatableReason(c.access).rfind(c.tsql, 0), 0u) << untranslatableReason(c.access);
}

TEST(AccessDates, readsTheFormsAccessAccepts) {
    const Case cases[] = {
        {"1/31/2024", "2024-01-31T00:00:00"},
        {"12/31/2024 23:59:59", "2024-12-31T23:59:59"},
        {"2024-06-30", "2024-06-30T00:00:00"},
        {"1/2/29", "2029-01-02T00:00:00"}, // two-digit years: 00-29 in the 2000s ...
        {"1/2/30", "1930-01-02T00:00:00"}, // ... 30-99 in the 1900s
        {"10:30 PM", "1899-12-30T22:30:00"},
        {"12:15:00 AM", "1899-12-30T00:15:00"},
        {"15-Mar-2024", "2024-03-15T00:00:00"},
        {"March 15, 2024", "2024-03-15T00:00:00"},
        {"2/29/2024", "2024-02-29T00:00:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(accessDateToIso(c.access).value_or("none"), c.tsql) << c.access;
    for (const char* bad : {"2/29/2023", "13/1/2024", "1/1/2024 25:00", "tomorrow", "", "1/1"})
        EXPECT_FALSE(accessDateToIso(bad)) << bad;
}

TEST(LikePattern, rejectsAnUnclosedClass) {
    try {
        likePattern("ab[c");
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(e.description().find("'ab[c'"), std::string::npos);
    }
    EXPECT_EQ(likePattern("a[]b"), "ab");
}
