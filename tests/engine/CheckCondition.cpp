#include "CheckCondition.h"

#include "ServerValues.h"
#include "SqlParser.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwctype>

namespace sqlscript {

namespace {

using K = Condition::Kind;

Condition node(K kind, std::vector<Condition> args, std::string text = "") {
    Condition c;
    c.kind = kind;
    c.args = std::move(args);
    c.text = std::move(text);
    return c;
}

bool isComparison(const Parser& p) {
    if (p.peek().kind != Token::Kind::Punct)
        return false;
    const char c = p.peek().text[0];
    return c == '=' || c == '<' || c == '>';
}

std::string comparisonOperator(Parser& p) {
    std::string op = p.next().text;
    if ((op == "<" || op == ">") && (p.isPunct('=') || (op == "<" && p.isPunct('>'))))
        op += p.next().text;
    return op;
}

Condition value(Parser& p);

Condition primary(Parser& p) {
    if (p.acceptPunct('(')) {
        Condition inner = value(p);
        p.expectPunct(')');
        return inner;
    }
    if (p.peek().kind == Token::Kind::Identifier) {
        Condition column;
        column.kind = K::Column;
        column.text = p.identifier();
        return column;
    }
    if (p.accept("LEN")) {
        p.expectPunct('(');
        Condition len = node(K::Len, {value(p)});
        p.expectPunct(')');
        return len;
    }
    if (p.accept("CAST")) {
        p.expectPunct('(');
        Condition cast = node(K::Cast, {value(p)});
        p.expect("AS");
        cast.type = p.columnType();
        p.expectPunct(')');
        return cast;
    }
    Condition literal;
    literal.value = p.expression();
    if (literal.value.kind == Literal::Kind::Function || literal.value.kind == Literal::Kind::Invalid)
        p.fail("expected a column, a literal, LEN or CAST");
    return literal;
}

Condition factor(Parser& p) {
    if (p.acceptPunct('-'))
        return node(K::Arithmetic, {node(K::Value, {}), primary(p)}, "-");
    Condition left = primary(p);
    while (p.isPunct('*') || p.isPunct('/') || p.isPunct('%')) {
        const std::string op = p.next().text;
        left = node(K::Arithmetic, {std::move(left), primary(p)}, op);
    }
    return left;
}

Condition value(Parser& p) {
    Condition left = factor(p);
    while (p.isPunct('+') || p.isPunct('-')) {
        const std::string op = p.next().text;
        left = node(K::Arithmetic, {std::move(left), factor(p)}, op);
    }
    return left;
}

Condition predicate(Parser& p);

Condition disjunction(Parser& p) {
    Condition left = predicate(p);
    while (p.isWord("AND") || p.isWord("OR")) {
        // AND binds tighter than OR.
        if (p.accept("OR"))
            return node(K::Or, {std::move(left), disjunction(p)});
        p.next();
        left = node(K::And, {std::move(left), predicate(p)});
    }
    return left;
}

// A parenthesised condition, when the parentheses hold one; else nothing is read.
bool groupedCondition(Parser& p, Condition& out) {
    const std::size_t start = p.position();
    if (!p.acceptPunct('('))
        return false;
    try {
        out = disjunction(p);
        p.expectPunct(')');
        if (!isComparison(p) && !p.isPunct('+') && !p.isPunct('-') && !p.isWord("LIKE") && !p.isWord("IN") &&
            !p.isWord("BETWEEN") && !p.isWord("IS") && !p.isWord("NOT"))
            return true;
    } catch (const std::runtime_error&) {
    }
    p.rewind(start);
    return false;
}

Condition predicate(Parser& p) {
    if (p.accept("NOT"))
        return node(K::Not, {predicate(p)});
    Condition grouped;
    if (groupedCondition(p, grouped))
        return grouped;
    Condition left = value(p);
    if (isComparison(p)) {
        const std::string op = comparisonOperator(p);
        return node(K::Compare, {std::move(left), value(p)}, op);
    }
    if (p.accept("IS")) {
        Condition isNull = node(K::IsNull, {std::move(left)});
        isNull.negated = p.accept("NOT");
        p.expect("NULL");
        return isNull;
    }
    const bool negated = p.accept("NOT");
    Condition result;
    if (p.accept("LIKE")) {
        result = node(K::Like, {std::move(left), value(p)});
    } else if (p.accept("BETWEEN")) {
        Condition low = value(p);
        p.expect("AND");
        result = node(K::Between, {std::move(left), std::move(low), value(p)});
    } else if (p.accept("IN")) {
        p.expectPunct('(');
        result = node(K::In, {std::move(left)});
        do
            result.args.push_back(value(p));
        while (p.acceptPunct(','));
        p.expectPunct(')');
    } else {
        p.fail("expected a comparison, LIKE, IN, BETWEEN or IS");
    }
    result.negated = negated;
    return result;
}

// A value while the condition is evaluated.
struct Value {
    enum class Kind { Null, Number, Text, Date } kind = Kind::Null;
    long double number = 0;
    std::string text;
    std::int64_t ticks = 0;
};

Value textValue(std::string text) {
    Value v;
    v.kind = Value::Kind::Text;
    v.text = std::move(text);
    return v;
}

Value numberValue(long double number) {
    Value v;
    v.kind = Value::Kind::Number;
    v.number = number;
    return v;
}

Value dateValue(const std::string& text, const ColumnType& type) {
    const servervalues::DateReading reading = servervalues::readDate(text, type);
    if (!reading.problem.empty())
        throw std::runtime_error("a date that is none: " + reading.problem);
    Value v;
    v.kind = Value::Kind::Date;
    v.ticks = reading.ticks;
    return v;
}

Value fromLiteral(const Literal& literal, const ColumnType* type) {
    using servervalues::Category;
    const Category category = type ? servervalues::categoryOf(*type) : Category::Unknown;
    switch (literal.kind) {
    case Literal::Kind::Null:
        return {};
    case Literal::Kind::Number:
        return numberValue(std::strtold(literal.text.c_str(), nullptr));
    case Literal::Kind::Text:
        if (category == Category::Date)
            return dateValue(literal.text, *type);
        if (category == Category::Text || category == Category::Guid || category == Category::Unknown)
            return textValue(literal.text);
        return numberValue(std::strtold(literal.text.c_str(), nullptr));
    default:
        throw std::runtime_error("a value the checker cannot compare: " + literal.text);
    }
}

std::string folded(const std::string& text) {
    ColumnType type;
    type.name = "NVARCHAR";
    return servervalues::keyOf({Literal::Kind::Text, text, true}, type);
}

// SQL Server's LEN: characters (code points) without the trailing blanks.
long double length(const std::string& text) {
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    long double count = 0;
    for (std::size_t i = 0; i < end; ++i)
        count += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    return count;
}

// The characters of a text as the collation compares them: the folded key holds "T" and then one
// wint_t per character.
std::u32string likeCharacters(const std::string& text) {
    const std::string key = folded(text);
    std::u32string characters;
    for (std::size_t at = 1; at + sizeof(wint_t) <= key.size(); at += sizeof(wint_t)) {
        wint_t c;
        std::memcpy(&c, key.data() + at, sizeof c);
        characters.push_back(static_cast<char32_t>(c));
    }
    return characters;
}

bool likeMatches(const std::u32string& text, std::size_t t, const std::u32string& pattern, std::size_t p) {
    for (; p < pattern.size(); ++p, ++t) {
        const char32_t c = pattern[p];
        if (c == '%') {
            for (std::size_t rest = t; rest <= text.size(); ++rest)
                if (likeMatches(text, rest, pattern, p + 1))
                    return true;
            return false;
        }
        if (t >= text.size())
            return false;
        if (c == '[') {
            const std::size_t close = pattern.find(']', p + 1);
            const bool negate = pattern[p + 1] == '^';
            bool inSet = false;
            for (std::size_t i = p + 1 + negate; i < close; ++i)
                inSet = inSet ||
                        (i + 2 < close && pattern[i + 1] == '-' ? text[t] >= pattern[i] && text[t] <= pattern[(i += 2)]
                                                                : text[t] == pattern[i]);
            if (inSet == negate)
                return false;
            p = close;
        } else if (c != '_' && c != text[t]) {
            return false;
        }
    }
    return t == text.size();
}

class Evaluator {
public:
    explicit Evaluator(const RowLookup& row) : m_row(row) {}

    Truth truth(const Condition& c);
    Value value(const Condition& c);

private:
    Truth compare(const Value& a, const Value& b, const std::string& op);
    const RowLookup& m_row;
};

Truth negate(Truth t) {
    return t == Truth::Unknown ? t : t == Truth::True ? Truth::False : Truth::True;
}

Truth Evaluator::compare(const Value& a, const Value& b, const std::string& op) {
    if (a.kind == Value::Kind::Null || b.kind == Value::Kind::Null)
        return Truth::Unknown;
    int order = 0;
    if (a.kind == Value::Kind::Text && b.kind == Value::Kind::Text)
        order = folded(a.text).compare(folded(b.text));
    else if (a.kind == Value::Kind::Date && b.kind == Value::Kind::Date)
        order = (a.ticks > b.ticks) - (a.ticks < b.ticks);
    else if (a.kind == Value::Kind::Number && b.kind == Value::Kind::Number)
        order = (a.number > b.number) - (a.number < b.number);
    else
        throw std::runtime_error("a comparison of values of different kinds");
    const bool result = op == "="    ? order == 0
                        : op == "<>" ? order != 0
                        : op == "<"  ? order < 0
                        : op == ">"  ? order > 0
                        : op == "<=" ? order <= 0
                                     : order >= 0;
    return result ? Truth::True : Truth::False;
}

Value Evaluator::value(const Condition& c) {
    switch (c.kind) {
    case K::Column: {
        const ColumnValue column = m_row(c.text);
        return column.first ? fromLiteral(*column.first, column.second) : Value{};
    }
    case K::Value:
        return c.value.kind == Literal::Kind::Invalid ? numberValue(0) : fromLiteral(c.value, nullptr);
    case K::Len: {
        const Value inner = value(c.args[0]);
        return inner.kind == Value::Kind::Null ? inner : numberValue(length(inner.text));
    }
    case K::Cast: {
        const Value inner = value(c.args[0]);
        if (inner.kind == Value::Kind::Text && servervalues::categoryOf(c.type) == servervalues::Category::Date)
            return dateValue(inner.text, c.type);
        return inner;
    }
    case K::Arithmetic: {
        const Value a = value(c.args[0]), b = value(c.args[1]);
        if (a.kind == Value::Kind::Null || b.kind == Value::Kind::Null)
            return {};
        if (c.text == "+" && a.kind == Value::Kind::Text && b.kind == Value::Kind::Text)
            return textValue(a.text + b.text);
        if (a.kind != Value::Kind::Number || b.kind != Value::Kind::Number)
            throw std::runtime_error("arithmetic on values that are no numbers");
        const long double x = a.number, y = b.number;
        return numberValue(c.text == "+"   ? x + y
                           : c.text == "-" ? x - y
                           : c.text == "*" ? x * y
                           : c.text == "/" ? x / y
                                           : std::fmod(x, y));
    }
    default:
        throw std::runtime_error("a condition where a value is expected");
    }
}

Truth Evaluator::truth(const Condition& c) {
    Truth result = Truth::Unknown;
    switch (c.kind) {
    case K::Compare:
        return compare(value(c.args[0]), value(c.args[1]), c.text);
    case K::IsNull:
        result = value(c.args[0]).kind == Value::Kind::Null ? Truth::True : Truth::False;
        break;
    case K::Like: {
        const Value text = value(c.args[0]), pattern = value(c.args[1]);
        if (text.kind == Value::Kind::Null || pattern.kind == Value::Kind::Null)
            return Truth::Unknown;
        // The usual collation compares without letter case.
        result =
            likeMatches(likeCharacters(text.text), 0, likeCharacters(pattern.text), 0) ? Truth::True : Truth::False;
        break;
    }
    case K::Between: {
        const Value v = value(c.args[0]);
        const Truth low = compare(v, value(c.args[1]), ">="), high = compare(v, value(c.args[2]), "<=");
        result = low == Truth::False || high == Truth::False ? Truth::False
                 : low == Truth::True && high == Truth::True ? Truth::True
                                                             : Truth::Unknown;
        break;
    }
    case K::In: {
        const Value v = value(c.args[0]);
        result = Truth::False;
        for (std::size_t i = 1; i < c.args.size() && result != Truth::True; ++i) {
            const Truth equal = compare(v, value(c.args[i]), "=");
            result = equal == Truth::False ? result : equal;
        }
        break;
    }
    case K::Not:
        return negate(truth(c.args[0]));
    case K::And:
    case K::Or: {
        const Truth a = truth(c.args[0]), b = truth(c.args[1]);
        const Truth decisive = c.kind == K::And ? Truth::False : Truth::True;
        return a == decisive || b == decisive               ? decisive
               : a == Truth::Unknown || b == Truth::Unknown ? Truth::Unknown
                                                            : a;
    }
    default:
        throw std::runtime_error("a value where a condition is expected");
    }
    return c.negated ? negate(result) : result;
}

} // namespace

Condition readCondition(Parser& p) {
    return disjunction(p);
}

Truth evaluate(const Condition& condition, const RowLookup& row) {
    return Evaluator(row).truth(condition);
}

} // namespace sqlscript
