#include "engine/accesssql/ExpressionParser.h"
#include "lib/Error.h"

#include <gtest/gtest.h>

using namespace tabulon;
using namespace tabulon::accesssql;

namespace {

// The tree in a fully parenthesised form, so that each case shows how the operators grouped.
std::string show(const Expr& e) {
    auto args = [&](std::size_t from, const char* sep) {
        std::string s;
        for (std::size_t i = from; i < e.args.size(); ++i)
            s += (i > from ? sep : "") + show(*e.args[i]);
        return s;
    };
    const std::string neg = e.negated ? "Not " : "";
    switch (e.kind) {
    case ExprKind::Null:
        return "Null";
    case ExprKind::Boolean:
        return e.value == "1" ? "True" : "False";
    case ExprKind::Number:
        return e.value;
    case ExprKind::String:
        return "'" + e.value + "'";
    case ExprKind::Date:
        return "#" + e.value + "#";
    case ExprKind::Name:
    case ExprKind::Star: {
        std::string s;
        for (const auto& p : e.parts)
            s += (s.empty() ? "" : e.bang ? "!" : ".") + ("[" + p + "]");
        return e.kind == ExprKind::Star ? (s.empty() ? "*" : s + ".*") : s;
    }
    case ExprKind::Unary:
        return "(" + e.op + (e.op == "Not" ? " " : "") + show(*e.args[0]) + ")";
    case ExprKind::Binary:
        return "(" + show(*e.args[0]) + " " + e.op + " " + show(*e.args[1]) + ")";
    case ExprKind::Like:
        return "(" + show(*e.args[0]) + " " + neg + "Like " + show(*e.args[1]) + ")";
    case ExprKind::IsNull:
        return "(" + show(*e.args[0]) + " Is " + neg + "Null)";
    case ExprKind::Between:
        return "(" + show(*e.args[0]) + " " + neg + "Between " + show(*e.args[1]) + " And " + show(*e.args[2]) + ")";
    case ExprKind::InList:
        return "(" + show(*e.args[0]) + " " + neg + "In (" + args(1, ", ") + "))";
    case ExprKind::Call:
        return e.value + "(" + args(0, ", ") + ")";
    default:
        return "?";
    }
}

struct Case {
    const char* access;
    const char* tree;
};

void expectTrees(std::initializer_list<Case> cases) {
    for (const Case& c : cases)
        EXPECT_EQ(show(*parseExpression(c.access)), c.tree) << c.access;
}

} // namespace

TEST(ExpressionParser, arithmeticFollowsAccessPrecedence) {
    expectTrees({
        {"-2^2", "(-(2 ^ 2))"}, // ^ binds tighter than unary minus: -4
        {"2^-1", "(2 ^ (-1))"}, // but its right operand may carry a sign
        {"2^3^2", "((2 ^ 3) ^ 2)"},
        {"a + b * c", "([a] + ([b] * [c]))"},
        {"a \\ b * c", "([a] \\ ([b] * [c]))"},     // * above \ ...
        {"a Mod b \\ c", "([a] Mod ([b] \\ [c]))"}, // ... \ above Mod ...
        {"a + b Mod c", "([a] + ([b] Mod [c]))"},   // ... Mod above + -
        {"a & b + c", "([a] & ([b] + [c]))"},       // & below + -
        {"a - b - c", "(([a] - [b]) - [c])"},
    });
}

TEST(ExpressionParser, comparisonsAndLogicFollowAccessPrecedence) {
    expectTrees({
        {"a = b & c", "([a] = ([b] & [c]))"},
        {"Not a = b", "(Not ([a] = [b]))"},
        {"a Or b And c", "([a] Or ([b] And [c]))"},
        {"a Xor b Or c", "([a] Xor ([b] Or [c]))"},
        {"a Imp b Eqv c", "([a] Imp ([b] Eqv [c]))"},
        {"Not a And b", "((Not [a]) And [b])"},
        {"x Between 1 And 5 And y", "(([x] Between 1 And 5) And [y])"},
        {"x Not Between a+1 And 9", "([x] Not Between ([a] + 1) And 9)"},
        {"x Is Not Null Or x Is Null", "(([x] Is Not Null) Or ([x] Is Null))"},
        {"x Not In (1, 2)", "([x] Not In (1, 2))"},
        {"x NOT LIKE \"a*\"", "([x] Not Like 'a*')"},
        {"(((Orders.Freight)>=[Minimum freight]))", "([Orders].[Freight] >= [Minimum freight])"},
    });
}

TEST(ExpressionParser, readsLiteralsNamesAndCalls) {
    expectTrees({
        {"\"say \"\"hi\"\"\"", "'say \"hi\"'"},
        {"'it''s'", "'it's'"},
        {"#1/31/2024 10:00:00#", "#1/31/2024 10:00:00#"},
        {"1.5E-3 + .5", "(1.5E-3 + .5)"},
        {"True Or yes Or OFF", "((True Or True) Or False)"},
        {"Null", "Null"},
        {"[table 1].[text1]", "[table 1].[text1]"},
        {"`Order Details`.ProductID", "[Order Details].[ProductID]"},
        {"[Forms]![Ordrar]![cboFöretag]", "[Forms]![Ordrar]![cboFöretag]"},
        {"Count(*)", "Count(*)"},
        {"Now()", "Now()"},
        {"Nz([Customers].[CompanyName],\"(walk-in)\")", "Nz([Customers].[CompanyName], '(walk-in)')"},
        {"IIf([x] > 1, t.*, 0)", "IIf(([x] > 1), [t].*, 0)"},
    });
}

TEST(ExpressionParser, validationRulesTakeTheFieldAsImpliedOperand) {
    const Case cases[] = {
        {">=0 And <1000000", "(([Price] >= 0) And ([Price] < 1000000))"},
        {"Between 1 And 1000", "([Price] Between 1 And 1000)"},
        {"Like \"[A-Z]#\"", "([Price] Like '[A-Z]#')"},
        {"Is Null Or Like \"*@*.*\"", "(([Price] Is Null) Or ([Price] Like '*@*.*'))"},
        {"In (\"A\",\"B\")", "([Price] In ('A', 'B'))"},
        {"<>\"\"", "([Price] <> '')"},
        {"Not Like \"x*\"", "([Price] Not Like 'x*')"},
        {"Not In (1)", "([Price] Not In (1))"},
        {"[Price] > 0", "([Price] > 0)"}, // a full expression stays as written
        {"Not IsNull([Price])", "(Not IsNull([Price]))"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(show(*parseValidationRule(c.access, "Price")), c.tree) << c.access;
}

TEST(ExpressionParser, rejectsMalformedTextNamingIt) {
    for (const char* bad : {"a +", "(a", "\"abc", "[abc", "a b", "#1/1/2024", "x In 1", "x Is 5", "f(1,", "a = = b",
                            "x IN (SELECT 1)", "$x", ""}) {
        try {
            parseExpression(bad);
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), accesssql::errc::SyntaxError) << bad;
            EXPECT_NE(e.description().find(std::string("'") + bad + "'"), std::string::npos) << e.description();
        }
    }
}

TEST(ExpressionParser, refusesNestingThatWouldExhaustTheStack) {
    // Deep but allowed nesting parses; nesting past the limit is a syntax error, not a crash.
    EXPECT_EQ(parseExpression(std::string(60, '(') + "1" + std::string(60, ')'))->value, "1");
    for (const std::string& deep :
         {std::string(100000, '(') + "1" + std::string(100000, ')'), std::string(100000, '-') + "1", [] {
              std::string s;
              for (int i = 0; i < 100000; ++i)
                  s += "Not ";
              return s + "x";
          }()}) {
        try {
            parseExpression(deep);
            ADD_FAILURE() << "accepted " << deep.size() << " characters of nesting";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), accesssql::errc::SyntaxError);
            EXPECT_NE(e.description().find("nested more than"), std::string::npos);
        }
    }
}

TEST(ExpressionParser, keepsTheSourceTextOfEachNode) {
    const ExprPtr e = parseExpression("IIf(First(o.City) Is Null, 1, 2)");
    EXPECT_EQ(e->source, "IIf(First(o.City) Is Null, 1, 2)");
    EXPECT_EQ(e->args[0]->args[0]->source, "First(o.City)");
}
