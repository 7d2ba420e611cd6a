#include "AccessDates.h"
#include "FormatPattern.h"
#include "Lexer.h"
#include "TsqlWriter.h"
#include "engine/SqlLiterals.h"

#include <string>
#include <vector>

namespace tabulon::accesssql {

namespace {

// Day zero of Access dates; a time alone falls on it.
const char* const kDayZero = "CAST('1899-12-30T00:00:00' AS DATETIME)";

struct Call {
    TsqlWriter& w;
    const Expr& e;

    std::size_t count() const { return e.args.size(); }
    const Expr& arg(std::size_t i) const { return *e.args[i]; }
    std::string v(std::size_t i) const { return w.value(arg(i)); }
    std::string c(std::size_t i) const { return w.condition(arg(i)); }
    // The values of the arguments from `first` on, joined by ", ".
    std::string list(std::size_t first = 0) const {
        std::string s;
        for (std::size_t i = first; i < count(); ++i)
            s += (i > first ? ", " : "") + v(i);
        return s;
    }
    // A string literal argument (an interval code, a format pattern); raises otherwise.
    std::string literal(std::size_t i, std::string_view what) const {
        if (arg(i).kind != ExprKind::String)
            TsqlWriter::untranslatable(e, std::string(what) + " that is not a text literal");
        return arg(i).value;
    }
};

using Writer = std::string (*)(const Call&);

struct Rule {
    const char* name;
    std::size_t minArgs;
    std::size_t maxArgs;
    ValueType type;
    Writer write;
};

std::string lowered(std::string s) {
    for (char& ch : s)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

// DateAdd/DateDiff/DatePart interval codes.
std::string datePart(const Call& c, std::size_t i) {
    const std::string code = lowered(c.literal(i, "an interval"));
    static const std::pair<const char*, const char*> parts[] = {
        {"yyyy", "YEAR"}, {"q", "QUARTER"}, {"m", "MONTH"}, {"y", "DAYOFYEAR"}, {"d", "DAY"},
        {"w", "WEEKDAY"}, {"ww", "WEEK"},   {"h", "HOUR"},  {"n", "MINUTE"},    {"s", "SECOND"}};
    for (const auto& [access, tsql] : parts)
        if (code == access)
            return tsql;
    TsqlWriter::untranslatable(c.e, "the interval \"" + code + "\" is not one Access knows");
}

// Access counts weekdays from Sunday = 1 whatever the server's DATEFIRST; 1900-01-07 was a Sunday.
std::string weekday(const std::string& date, int firstDay = 1) {
    const std::string base = "'1900-01-0" + std::to_string(6 + firstDay) + "'";
    return "((DATEDIFF(DAY, " + base + ", " + date + ") % 7 + 7) % 7 + 1)";
}

int firstDayArgument(const Call& c, std::size_t i) {
    if (c.count() <= i)
        return 1;
    const Expr& a = c.arg(i);
    if (a.kind != ExprKind::Number || a.value.size() != 1 || a.value[0] < '0' || a.value[0] > '7')
        TsqlWriter::untranslatable(c.e, "a first day of the week that is not a constant");
    return a.value == "0" ? 1 : a.value[0] - '0';
}

std::string dateAdd(const Call& c) {
    std::string part = datePart(c, 0);
    if (part == "WEEKDAY" || part == "DAYOFYEAR")
        part = "DAY"; // DateAdd counts "w" and "y" in days
    return "DATEADD(" + part + ", " + c.v(1) + ", " + c.v(2) + ")";
}

std::string dateDiff(const Call& c) {
    const std::string part = datePart(c, 0);
    if (c.count() > 3)
        TsqlWriter::untranslatable(c.e, "DateDiff with a first day of the week or year");
    if (part == "WEEKDAY") // whole weeks between the dates
        return "(DATEDIFF(DAY, " + c.v(1) + ", " + c.v(2) + ") / 7)";
    return "DATEDIFF(" + std::string(part == "DAYOFYEAR" ? "DAY" : part) + ", " + c.v(1) + ", " + c.v(2) + ")";
}

std::string datePartCall(const Call& c) {
    const std::string part = datePart(c, 0);
    const std::string date = c.v(1);
    if (part == "WEEKDAY")
        return weekday(date, firstDayArgument(c, 2));
    if (c.count() > 2)
        TsqlWriter::untranslatable(c.e, "DatePart with a first day of the week or year");
    if (part == "WEEK") // the week holding 1 January is week 1, weeks start on Sunday
        return "(DATEDIFF(WEEK, DATEFROMPARTS(YEAR(" + date + "), 1, 1), " + date + ") + 1)";
    return "DATEPART(" + part + ", " + date + ")";
}

// DateSerial lets months and days overflow: DateSerial(2024, 13, 0) is 2024-12-31.
std::string dateSerial(const Call& c) {
    return "DATEADD(DAY, (" + c.v(2) + ") - 1, DATEADD(MONTH, (" + c.v(1) + ") - 1, CAST(DATEFROMPARTS(" + c.v(0) +
           ", 1, 1) AS DATETIME)))";
}

std::string timeSerial(const Call& c) {
    return "DATEADD(SECOND, (" + c.v(0) + ") * 3600 + (" + c.v(1) + ") * 60 + (" + c.v(2) + "), " + kDayZero + ")";
}

std::string nz(const Call& c) {
    if (c.count() == 2)
        return "COALESCE(" + c.v(0) + ", " + c.v(1) + ")";
    switch (c.w.typeOf(c.arg(0))) {
    case ValueType::Text:
        return "COALESCE(" + c.v(0) + ", N'')";
    case ValueType::Number:
    case ValueType::Boolean:
        return "COALESCE(" + c.v(0) + ", 0)";
    default:
        TsqlWriter::untranslatable(c.e, "Nz without a value for Null, on a value whose type is not known");
    }
}

std::string iif(const Call& c) {
    return "CASE WHEN " + c.c(0) + " THEN " + c.v(1) + " ELSE " + c.v(2) + " END";
}

std::string switchCall(const Call& c) {
    if (c.count() % 2 != 0)
        TsqlWriter::untranslatable(c.e, "Switch with an odd number of arguments");
    std::string s = "CASE";
    for (std::size_t i = 0; i < c.count(); i += 2)
        s += " WHEN " + c.c(i) + " THEN " + c.v(i + 1);
    return s + " END";
}

std::string instr(const Call& c) {
    if (c.count() == 2)
        return "CHARINDEX(" + c.v(1) + ", " + c.v(0) + ")";
    if (c.count() == 3 && c.arg(0).kind != ExprKind::String)
        return "CHARINDEX(" + c.v(2) + ", " + c.v(1) + ", " + c.v(0) + ")";
    TsqlWriter::untranslatable(c.e, "InStr with a comparison mode");
}

// Access's Len counts trailing blanks, which LEN leaves out: measure with one character added.
std::string len(const Call& c) {
    return "(LEN(CAST(" + c.v(0) + " AS NVARCHAR(MAX)) + N'.') - 1)";
}

std::string mid(const Call& c) {
    return "SUBSTRING(" + c.v(0) + ", " + c.v(1) + ", " + (c.count() == 3 ? c.v(2) : "2147483647") + ")";
}

std::string stringCall(const Call& c) {
    const Expr& ch = c.arg(1);
    const std::string character = ch.kind == ExprKind::Number ? "NCHAR(" + c.v(1) + ")" : "LEFT(" + c.v(1) + ", 1)";
    return "REPLICATE(" + character + ", " + c.v(0) + ")";
}

std::string rounded(const Call& c) {
    return bankersRound(c.v(0), c.count() == 2 ? c.v(1) : "0");
}

// CInt, CLng and CByte round halves to even before they convert, as Access does.
std::string roundedCast(const Call& c, const char* type) {
    return "CAST(" + bankersRound(c.v(0), "0") + " AS " + type + ")";
}

std::string cdate(const Call& c) {
    if (c.arg(0).kind == ExprKind::String) {
        const auto iso = accessDateToIso(c.arg(0).value);
        if (!iso)
            TsqlWriter::untranslatable(c.e, "a text that is no date");
        return isoDateLiteral(*iso);
    }
    return "CAST(" + c.v(0) + " AS DATETIME)";
}

std::string format(const Call& c) {
    if (c.count() != 2)
        TsqlWriter::untranslatable(c.e, "Format with week or year options");
    const std::string pattern = c.literal(1, "a format");
    if (lowered(pattern) == "q")
        return "CAST(DATEPART(QUARTER, " + c.v(0) + ") AS NVARCHAR(1))";
    const auto dotNet = dotNetFormat(pattern);
    if (!dotNet)
        TsqlWriter::untranslatable(c.e, "the format \"" + pattern + "\" has no SQL Server counterpart");
    return "FORMAT(" + c.v(0) + ", " + SafeString(Variant(*dotNet), true) + ", 'en-US')";
}

std::string unsupported(const Call& c) {
    const std::string name = lowered(c.e.value);
    if (name == "first" || name == "last")
        TsqlWriter::untranslatable(c.e, "First and Last have no SQL Server counterpart");
    TsqlWriter::untranslatable(c.e, "a domain aggregate function, which reads another table on its own");
}

constexpr std::size_t kMany = 255;

const Rule kRules[] = {
    {"IIf", 3, 3, ValueType::Unknown, iif},
    {"Switch", 2, kMany, ValueType::Unknown, switchCall},
    {"Choose", 2, kMany, ValueType::Unknown, [](const Call& c) { return "CHOOSE(" + c.list() + ")"; }},
    {"Nz", 1, 2, ValueType::Unknown, nz},
    {"Len", 1, 1, ValueType::Number, len},
    {"Left", 2, 2, ValueType::Text, [](const Call& c) { return "LEFT(" + c.list() + ")"; }},
    {"Right", 2, 2, ValueType::Text, [](const Call& c) { return "RIGHT(" + c.list() + ")"; }},
    {"Mid", 2, 3, ValueType::Text, mid},
    {"InStr", 2, 3, ValueType::Number, instr},
    {"Trim", 1, 1, ValueType::Text, [](const Call& c) { return "LTRIM(RTRIM(" + c.v(0) + "))"; }},
    {"LTrim", 1, 1, ValueType::Text, [](const Call& c) { return "LTRIM(" + c.v(0) + ")"; }},
    {"RTrim", 1, 1, ValueType::Text, [](const Call& c) { return "RTRIM(" + c.v(0) + ")"; }},
    {"UCase", 1, 1, ValueType::Text, [](const Call& c) { return "UPPER(" + c.v(0) + ")"; }},
    {"LCase", 1, 1, ValueType::Text, [](const Call& c) { return "LOWER(" + c.v(0) + ")"; }},
    {"Space", 1, 1, ValueType::Text, [](const Call& c) { return "SPACE(" + c.v(0) + ")"; }},
    {"String", 2, 2, ValueType::Text, stringCall},
    {"Replace", 3, 3, ValueType::Text, [](const Call& c) { return "REPLACE(" + c.list() + ")"; }},
    {"Chr", 1, 1, ValueType::Text, [](const Call& c) { return "NCHAR(" + c.v(0) + ")"; }},
    {"ChrW", 1, 1, ValueType::Text, [](const Call& c) { return "NCHAR(" + c.v(0) + ")"; }},
    {"Asc", 1, 1, ValueType::Number, [](const Call& c) { return "UNICODE(" + c.v(0) + ")"; }},
    {"Year", 1, 1, ValueType::Number, [](const Call& c) { return "YEAR(" + c.v(0) + ")"; }},
    {"Month", 1, 1, ValueType::Number, [](const Call& c) { return "MONTH(" + c.v(0) + ")"; }},
    {"Day", 1, 1, ValueType::Number, [](const Call& c) { return "DAY(" + c.v(0) + ")"; }},
    {"Hour", 1, 1, ValueType::Number, [](const Call& c) { return "DATEPART(HOUR, " + c.v(0) + ")"; }},
    {"Minute", 1, 1, ValueType::Number, [](const Call& c) { return "DATEPART(MINUTE, " + c.v(0) + ")"; }},
    {"Second", 1, 1, ValueType::Number, [](const Call& c) { return "DATEPART(SECOND, " + c.v(0) + ")"; }},
    {"Weekday", 1, 2, ValueType::Number, [](const Call& c) { return weekday(c.v(0), firstDayArgument(c, 1)); }},
    {"DateAdd", 3, 3, ValueType::Date, dateAdd},
    {"DateDiff", 3, 5, ValueType::Number, dateDiff},
    {"DatePart", 2, 4, ValueType::Number, datePartCall},
    {"DateSerial", 3, 3, ValueType::Date, dateSerial},
    {"TimeSerial", 3, 3, ValueType::Date, timeSerial},
    {"Date", 0, 0, ValueType::Date,
     [](const Call&) -> std::string { return "CAST(CAST(GETDATE() AS DATE) AS DATETIME)"; }},
    {"Now", 0, 0, ValueType::Date, [](const Call&) -> std::string { return "GETDATE()"; }},
    {"Time", 0, 0, ValueType::Date,
     [](const Call&) -> std::string { return "DATEADD(DAY, -2, CAST(CAST(GETDATE() AS TIME) AS DATETIME))"; }},
    {"CStr", 1, 1, ValueType::Text, [](const Call& c) { return "CAST(" + c.v(0) + " AS NVARCHAR(255))"; }},
    {"CByte", 1, 1, ValueType::Number, [](const Call& c) { return roundedCast(c, "TINYINT"); }},
    {"CInt", 1, 1, ValueType::Number, [](const Call& c) { return roundedCast(c, "SMALLINT"); }},
    {"CLng", 1, 1, ValueType::Number, [](const Call& c) { return roundedCast(c, "INT"); }},
    {"CSng", 1, 1, ValueType::Number, [](const Call& c) { return "CAST(" + c.v(0) + " AS REAL)"; }},
    {"CDbl", 1, 1, ValueType::Number, [](const Call& c) { return "CAST(" + c.v(0) + " AS FLOAT)"; }},
    {"CCur", 1, 1, ValueType::Number, [](const Call& c) { return "CAST(" + bankersRound(c.v(0), "4") + " AS MONEY)"; }},
    {"CDec", 1, 1, ValueType::Number, [](const Call& c) { return "CAST(" + c.v(0) + " AS DECIMAL(28, 10))"; }},
    {"CDate", 1, 1, ValueType::Date, cdate},
    {"CBool", 1, 1, ValueType::Boolean,
     [](const Call& c) { return "CAST(CASE WHEN " + c.c(0) + " THEN 1 WHEN NOT (" + c.c(0) + ") THEN 0 END AS BIT)"; }},
    {"Int", 1, 1, ValueType::Number, [](const Call& c) { return "FLOOR(" + c.v(0) + ")"; }},
    {"Fix", 1, 1, ValueType::Number, [](const Call& c) { return "ROUND(" + c.v(0) + ", 0, 1)"; }},
    {"Abs", 1, 1, ValueType::Number, [](const Call& c) { return "ABS(" + c.v(0) + ")"; }},
    {"Sgn", 1, 1, ValueType::Number, [](const Call& c) { return "SIGN(" + c.v(0) + ")"; }},
    {"Sqr", 1, 1, ValueType::Number, [](const Call& c) { return "SQRT(" + c.v(0) + ")"; }},
    {"Exp", 1, 1, ValueType::Number, [](const Call& c) { return "EXP(" + c.v(0) + ")"; }},
    {"Log", 1, 1, ValueType::Number, [](const Call& c) { return "LOG(" + c.v(0) + ")"; }},
    {"Round", 1, 2, ValueType::Number, rounded},
    {"Format", 2, 4, ValueType::Text, format},
    {"Sum", 1, 1, ValueType::Unknown, [](const Call& c) { return "SUM(" + c.v(0) + ")"; }},
    // AVG of integers is an integer in SQL Server; Access averages in floating point.
    {"Avg", 1, 1, ValueType::Number, [](const Call& c) { return "AVG(CAST(" + c.v(0) + " AS FLOAT))"; }},
    {"Count", 1, 1, ValueType::Number,
     [](const Call& c) { return c.arg(0).kind == ExprKind::Star ? std::string("COUNT(*)") : "COUNT(" + c.v(0) + ")"; }},
    {"Min", 1, 1, ValueType::Unknown, [](const Call& c) { return "MIN(" + c.v(0) + ")"; }},
    {"Max", 1, 1, ValueType::Unknown, [](const Call& c) { return "MAX(" + c.v(0) + ")"; }},
    {"StDev", 1, 1, ValueType::Number, [](const Call& c) { return "STDEV(" + c.v(0) + ")"; }},
    {"StDevP", 1, 1, ValueType::Number, [](const Call& c) { return "STDEVP(" + c.v(0) + ")"; }},
    {"Var", 1, 1, ValueType::Number, [](const Call& c) { return "VAR(" + c.v(0) + ")"; }},
    {"VarP", 1, 1, ValueType::Number, [](const Call& c) { return "VARP(" + c.v(0) + ")"; }},
};

const char* const kUnsupported[] = {"First", "Last",   "DLookup", "DSum",   "DCount",  "DAvg", "DMin",
                                    "DMax",  "DFirst", "DLast",   "DStDev", "DStDevP", "DVar", "DVarP"};

const Rule* findRule(const std::string& name) {
    const Token word{TokenKind::Word, name};
    for (const Rule& rule : kRules)
        if (word.isWord(rule.name))
            return &rule;
    return nullptr;
}

bool isUnsupported(const std::string& name) {
    const Token word{TokenKind::Word, name};
    for (const char* candidate : kUnsupported)
        if (word.isWord(candidate))
            return true;
    return false;
}

} // namespace

void writeFunction(TsqlWriter& writer, std::string& out, const Expr& call) {
    const Call c{writer, call};
    if (isUnsupported(call.value))
        unsupported(c);
    const Rule* rule = findRule(call.value);
    if (!rule)
        TsqlWriter::untranslatable(call, "\"" + call.value +
                                             "\" is a VBA or user-defined function with no SQL Server counterpart");
    if (call.args.size() < rule->minArgs || call.args.size() > rule->maxArgs)
        TsqlWriter::untranslatable(call,
                                   "\"" + call.value + "\" with " + std::to_string(call.args.size()) + " arguments");
    out += rule->write(c);
}

ValueType functionType(TsqlWriter& writer, const Expr& call) {
    const Rule* rule = findRule(call.value);
    if (!rule)
        return Token{TokenKind::Word, call.value}.isWord("IsNull") ? ValueType::Boolean : ValueType::Unknown;
    if (rule->type != ValueType::Unknown || call.args.empty())
        return rule->type;
    // IIf, Switch, Choose, Nz and the aggregates take the type of the values they pass on.
    const std::size_t first = Token{TokenKind::Word, call.value}.isWord("IIf")      ? 1
                              : Token{TokenKind::Word, call.value}.isWord("Switch") ? 1
                              : Token{TokenKind::Word, call.value}.isWord("Choose") ? 1
                                                                                    : 0;
    return first < call.args.size() ? writer.typeOf(*call.args[first]) : ValueType::Unknown;
}

} // namespace tabulon::accesssql
