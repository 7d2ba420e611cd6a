#include "TsqlWriter.h"

#include "AccessDates.h"
#include "Lexer.h"
#include "LikePattern.h"
#include "engine/SqlLiterals.h"
#include "lib/Error.h"

namespace tabulon::accesssql {

namespace {

bool isOneOf(const std::string& op, std::initializer_list<const char*> ops) {
    for (const char* candidate : ops)
        if (op == candidate)
            return true;
    return false;
}

bool isLogical(const Expr& e) {
    return e.kind == ExprKind::Binary && isOneOf(e.op, {"And", "Or", "Xor", "Eqv", "Imp"});
}

// How tightly the T-SQL written for a value binds: 4 for a unary sign, 3 for * / %, 2 for + -,
// 5 for anything written as a function, a literal or a name.
int tsqlPrecedence(const Expr& e) {
    if (e.kind == ExprKind::Unary && e.op != "Not")
        return 4;
    if (e.kind != ExprKind::Binary || isPredicate(e) || e.op == "&" || e.op == "^")
        return isPredicate(e) ? 0 : 5;
    return e.op == "+" || e.op == "-" ? 2 : 3;
}

bool isIntegerLiteral(const Expr& e) {
    return e.kind == ExprKind::Number && e.value.find_first_of(".eE") == std::string::npos;
}

} // namespace

std::string bankersRound(const std::string& x, const std::string& digits) {
    // A value exactly halfway at the last kept place is rounded as twice the rounded half, which
    // always lands on the even neighbour; every other value rounds as SQL Server does.
    const std::string scaled = digits == "0" ? x : "(" + x + ") * POWER(CAST(10 AS FLOAT), " + digits + ")";
    return "CASE WHEN ABS(" + scaled + " - FLOOR(" + scaled + ")) = 0.5 THEN 2 * ROUND((" + x + ") / 2, " + digits +
           ") ELSE ROUND(" + x + ", " + digits + ") END";
}

void TsqlWriter::untranslatable(const Expr& e, std::string_view why) {
    throw Error(errc::NotTranslatable, "Tabulon.AccessSql.translate", e.source + ": " + std::string(why));
}

std::string TsqlWriter::value(const Expr& e) {
    std::string out;
    writeValue(out, e);
    return out;
}

std::string TsqlWriter::condition(const Expr& e) {
    std::string out;
    writeCondition(out, e);
    return out;
}

void TsqlWriter::writeName(std::string& out, const Expr& name) {
    if (name.bang)
        untranslatable(name, "a form or report reference, read from an open form when the query runs");
    for (std::size_t i = 0; i < name.parts.size(); ++i) {
        if (i > 0)
            out += '.';
        appendBracketed(out, name.parts[i]);
    }
}

void TsqlWriter::writeSubquery(std::string&, const SelectQuery&, const Expr& at) {
    untranslatable(at, "a subquery where none is allowed");
}

ValueType TsqlWriter::nameType(const Expr&) {
    return ValueType::Unknown;
}

ValueType TsqlWriter::typeOf(const Expr& e) {
    switch (e.kind) {
    case ExprKind::String:
        return ValueType::Text;
    case ExprKind::Number:
        return ValueType::Number;
    case ExprKind::Boolean:
        return ValueType::Boolean;
    case ExprKind::Date:
        return ValueType::Date;
    case ExprKind::Name:
        return nameType(e);
    case ExprKind::Call:
        return functionType(*this, e);
    case ExprKind::Unary:
        return e.op == "Not" ? ValueType::Boolean : ValueType::Number;
    case ExprKind::Binary:
        if (e.op == "&")
            return ValueType::Text;
        if (e.op == "+") {
            const ValueType l = typeOf(*e.args[0]), r = typeOf(*e.args[1]);
            return l == ValueType::Text || r == ValueType::Text   ? ValueType::Text
                   : l == ValueType::Date || r == ValueType::Date ? ValueType::Date
                                                                  : ValueType::Number;
        }
        return isPredicate(e) ? ValueType::Boolean : ValueType::Number;
    default:
        return isPredicate(e) ? ValueType::Boolean : ValueType::Unknown;
    }
}

void TsqlWriter::writeValue(std::string& out, const Expr& e) {
    switch (e.kind) {
    case ExprKind::Null:
        out += "NULL";
        return;
    case ExprKind::Boolean:
        out += e.value;
        return;
    case ExprKind::Number:
        out += e.value;
        return;
    case ExprKind::String:
        appendSafeText(out, e.value, true);
        return;
    case ExprKind::Date: {
        const auto iso = accessDateToIso(e.value);
        if (!iso)
            untranslatable(e, "a date literal that is not a valid date");
        out += isoDateLiteral(*iso);
        return;
    }
    case ExprKind::Name:
        writeName(out, e);
        return;
    case ExprKind::Star:
        untranslatable(e, "\"*\" where a value is expected");
    case ExprKind::Subquery:
        out += '(';
        writeSubquery(out, *e.query, e);
        out += ')';
        return;
    case ExprKind::Call:
        if (!isPredicate(e)) {
            writeFunction(*this, out, e);
            return;
        }
        break;
    case ExprKind::Unary:
        if (e.op != "Not") {
            out += e.op == "-" ? "-" : "";
            writeOperand(out, *e.args[0], 5);
            return;
        }
        break;
    case ExprKind::Binary:
        if (!isPredicate(e)) {
            writeBinary(out, e);
            return;
        }
        break;
    default:
        break;
    }
    // A condition used as a value: True is 1 and False 0, as the Yes/No columns hold them; an
    // unknown comparison stays NULL.
    const std::string c = condition(e);
    out += "CASE WHEN " + c + " THEN 1 WHEN NOT (" + c + ") THEN 0 END";
}

void TsqlWriter::writeOperand(std::string& out, const Expr& e, int minimum) {
    if (tsqlPrecedence(e) >= minimum) {
        writeValue(out, e);
        return;
    }
    out += '(';
    writeValue(out, e);
    out += ')';
}

void TsqlWriter::writeConditionOperand(std::string& out, const Expr& e) {
    const bool wrap = isLogical(e) || (e.kind == ExprKind::Unary && e.op == "Not");
    out += wrap ? "(" : "";
    writeCondition(out, e);
    out += wrap ? ")" : "";
}

// Access rounds the operands of \ and Mod to whole numbers (halves to even) before it divides.
void TsqlWriter::writeInteger(std::string& out, const Expr& e) {
    if (isIntegerLiteral(e)) {
        out += e.value;
        return;
    }
    out += "CAST(" + bankersRound(value(e), "0") + " AS BIGINT)";
}

void TsqlWriter::writeBinary(std::string& out, const Expr& e) {
    const Expr& left = *e.args[0];
    const Expr& right = *e.args[1];
    if (e.op == "&") {
        writeConcat(out, e);
    } else if (e.op == "^") {
        out += "POWER(CAST(" + value(left) + " AS FLOAT), " + value(right) + ")";
    } else if (e.op == "/") {
        // Access divides in floating point: 7 / 2 is 3.5, where SQL Server's integer division gives 3.
        out += "CAST(" + value(left) + " AS FLOAT) / ";
        writeOperand(out, right, 4);
    } else if (e.op == "\\" || e.op == "Mod") {
        writeInteger(out, left);
        out += e.op == "Mod" ? " % " : " / ";
        writeInteger(out, right);
    } else {
        // Left-associative: the left operand may bind as tightly as the operator, the right must bind tighter.
        const int level = tsqlPrecedence(e);
        writeOperand(out, left, level);
        out += " " + e.op + " ";
        writeOperand(out, right, level + 1);
    }
}

// "&" joins with NULL read as empty text, as CONCAT does; a chain becomes one CONCAT.
void TsqlWriter::writeConcat(std::string& out, const Expr& e) {
    std::vector<const Expr*> pieces;
    std::vector<const Expr*> pending{&e};
    while (!pending.empty()) {
        const Expr* p = pending.back();
        pending.pop_back();
        if (p->kind == ExprKind::Binary && p->op == "&") {
            pending.push_back(p->args[1].get());
            pending.push_back(p->args[0].get());
        } else {
            pieces.push_back(p);
        }
    }
    out += "CONCAT(";
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        out += i > 0 ? ", " : "";
        writeValue(out, *pieces[i]);
    }
    out += ')';
}

void TsqlWriter::writeCondition(std::string& out, const Expr& e) {
    if (isPredicate(e)) {
        writePredicate(out, e);
        return;
    }
    switch (e.kind) {
    case ExprKind::Boolean:
        out += e.value == "1" ? "1 = 1" : "1 = 0";
        return;
    case ExprKind::Null:
        out += "1 = 0";
        return;
    default:
        // A Yes/No column or any value standing alone is true when it is not zero.
        writeOperand(out, e, 2);
        out += " <> 0";
    }
}

void TsqlWriter::writeLogical(std::string& out, const Expr& e) {
    const std::string a = [&] {
        std::string s;
        writeConditionOperand(s, *e.args[0]);
        return s;
    }();
    const std::string b = [&] {
        std::string s;
        writeConditionOperand(s, *e.args[1]);
        return s;
    }();
    if (e.op == "And" || e.op == "Or")
        out += a + (e.op == "And" ? " AND " : " OR ") + b;
    else if (e.op == "Xor")
        out += "(" + a + " AND NOT " + b + ") OR (NOT " + a + " AND " + b + ")";
    else if (e.op == "Eqv")
        out += "(" + a + " AND " + b + ") OR (NOT " + a + " AND NOT " + b + ")";
    else
        out += "NOT " + a + " OR " + b;
}

void TsqlWriter::writePredicate(std::string& out, const Expr& e) {
    const std::string notText = e.negated ? " NOT" : "";
    switch (e.kind) {
    case ExprKind::Like:
        writeLike(out, e);
        return;
    case ExprKind::IsNull:
        writeOperand(out, *e.args[0]);
        out += e.negated ? " IS NOT NULL" : " IS NULL";
        return;
    case ExprKind::Between:
        writeOperand(out, *e.args[0]);
        out += notText + " BETWEEN ";
        writeOperand(out, *e.args[1]);
        out += " AND ";
        writeOperand(out, *e.args[2]);
        return;
    case ExprKind::InList:
        writeOperand(out, *e.args[0]);
        out += notText + " IN (";
        for (std::size_t i = 1; i < e.args.size(); ++i) {
            out += i > 1 ? ", " : "";
            writeValue(out, *e.args[i]);
        }
        out += ')';
        return;
    case ExprKind::InSelect:
        writeOperand(out, *e.args[0]);
        out += notText + " IN (";
        writeSubquery(out, *e.query, e);
        out += ')';
        return;
    case ExprKind::Exists:
        out += e.negated ? "NOT EXISTS (" : "EXISTS (";
        writeSubquery(out, *e.query, e);
        out += ')';
        return;
    case ExprKind::Call: // IsNull(x)
        if (e.args.size() != 1)
            untranslatable(e, "IsNull takes one argument");
        writeOperand(out, *e.args[0]);
        out += " IS NULL";
        return;
    case ExprKind::Unary:
        out += "NOT ";
        writeConditionOperand(out, *e.args[0]);
        return;
    default:
        break;
    }
    if (isLogical(e)) {
        writeLogical(out, e);
        return;
    }
    // Comparisons: the operands are values.
    writeOperand(out, *e.args[0]);
    out += " " + e.op + " ";
    writeOperand(out, *e.args[1]);
}

void TsqlWriter::writeLike(std::string& out, const Expr& e) {
    writeOperand(out, *e.args[0]);
    out += e.negated ? " NOT LIKE " : " LIKE ";
    writeLikePattern(out, *e.args[1]);
}

// A literal pattern is rewritten now; text that arrives at run time (a parameter, a column) is
// rewritten by the same rules in SQL, so that its "*", "?" and "#" keep Access's meaning.
void TsqlWriter::writeLikePattern(std::string& out, const Expr& pattern) {
    if (pattern.kind == ExprKind::String) {
        appendSafeText(out, likePattern(pattern.value), true);
        return;
    }
    if (pattern.kind == ExprKind::Binary && pattern.op == "&") {
        out += "CONCAT(";
        writeLikePattern(out, *pattern.args[0]);
        out += ", ";
        writeLikePattern(out, *pattern.args[1]);
        out += ')';
        return;
    }
    out += runtimeLikePattern(value(pattern));
}

} // namespace tabulon::accesssql
