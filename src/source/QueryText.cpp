#include "SavedQueries.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace tabulon {

namespace {

namespace attr {
constexpr int Type = 1, Parameter = 2, Flags = 3, Input = 5, Column = 6, Join = 7, Where = 8, GroupBy = 9, Having = 10,
              OrderBy = 11;
}

namespace bit {
constexpr int Star = 0x01, Distinct = 0x02, OwnerAccess = 0x04, DistinctRow = 0x08, Top = 0x10, Percent = 0x20;
}

constexpr int kValuesFlag = -32768;     // 0x8000 on every column row of an INSERT ... VALUES
constexpr std::size_t kMaxJoins = 1000; // Access itself allows far fewer tables in one query

struct KindCode {
    int typeRow;
    std::uint32_t objectBits;
    const char* kind;
};

const KindCode kKinds[] = {{1, 0x00, "select"},          {2, 0x50, "make-table"},   {3, 0x40, "append"},
                           {4, 0x30, "update"},          {5, 0x20, "delete"},       {6, 0x10, "crosstab"},
                           {7, 0x60, "data-definition"}, {8, 0x70, "pass-through"}, {9, 0x80, "union"}};

bool isPlainName(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isalnum(c) || c == '_'; });
}

std::string bracketPart(const std::string& part) {
    return isPlainName(part) ? part : "[" + part + "]";
}

// Each part between the separators bracketed where it needs it.
std::string bracketParts(const std::string& name, char separator) {
    std::string out;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = name.find(separator, start);
        out += bracketPart(name.substr(start, at - start));
        if (at == std::string::npos)
            return out;
        out += separator;
        start = at + 1;
    }
}

// A stored name: kept when bracketed already, else each dotted part bracketed where it needs it.
std::string bracketName(const std::string& name) {
    if (name.empty() || name.front() == '[' || name.front() == '`')
        return name;
    return bracketParts(name, '.');
}

std::string bracketAlias(const std::string& alias) {
    return alias.empty() || alias.front() == '[' ? alias : bracketPart(alias);
}

// A parameter named after a form control ("Forms!Dialog!Start") is bracketed part by part.
std::string bracketParameter(const std::string& name) {
    if (name.empty() || name.front() == '[' || name.find('!') == std::string::npos)
        return bracketAlias(name);
    return bracketParts(name, '!');
}

std::string trim(std::string s) {
    const auto blank = [](unsigned char c) { return std::isspace(c) || c == '\0'; };
    while (!s.empty() && blank(static_cast<unsigned char>(s.back())))
        s.pop_back();
    std::size_t first = 0;
    while (first < s.size() && blank(static_cast<unsigned char>(s[first])))
        ++first;
    return s.substr(first);
}

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

class Rows {
public:
    explicit Rows(std::vector<QueryRow> rows) : m_rows(std::move(rows)) {
        std::stable_sort(m_rows.begin(), m_rows.end(), [](const QueryRow& a, const QueryRow& b) {
            return a.attribute != b.attribute ? a.attribute < b.attribute : a.order < b.order;
        });
    }
    std::vector<const QueryRow*> of(int attribute) const {
        std::vector<const QueryRow*> out;
        for (const auto& row : m_rows)
            if (row.attribute == attribute)
                out.push_back(&row);
        return out;
    }
    const QueryRow* first(int attribute) const {
        for (const auto& row : m_rows)
            if (row.attribute == attribute)
                return &row;
        return nullptr;
    }
    bool empty() const { return m_rows.empty(); }

private:
    std::vector<QueryRow> m_rows;
};

// One entry of the FROM list: an input, or a join of two entries.
struct FromEntry {
    std::vector<std::string> keys; // lower-case aliases or names it holds
    std::string text;              // an input
    std::shared_ptr<FromEntry> left, right;
    std::string kind;
    std::vector<std::string> conditions; // in row order

    bool isJoin() const { return left != nullptr; }
    bool holds(const std::string& key) const { return std::find(keys.begin(), keys.end(), key) != keys.end(); }
};

std::string render(const FromEntry& e, bool nested) {
    if (!e.isJoin())
        return e.text;
    std::string on;
    if (e.conditions.size() == 1) {
        on = e.conditions.front();
    } else { // Access shows the later condition first
        for (auto it = e.conditions.rbegin(); it != e.conditions.rend(); ++it)
            on += (on.empty() ? "(" : " AND (") + *it + ")";
    }
    const std::string text = render(*e.left, true) + " " + e.kind + " JOIN " + render(*e.right, true) + " ON " + on;
    return nested ? "(" + text + ")" : text;
}

std::string inputText(const QueryRow& row) {
    if (row.name1.empty() && !row.expression.empty()) // a subquery in FROM
        return "(" + trim(row.expression) + ") AS " + bracketAlias(row.name2);
    return bracketName(row.name1) + (row.name2.empty() ? "" : " AS " + bracketAlias(row.name2));
}

std::string fromClause(const Rows& rows) {
    std::vector<std::shared_ptr<FromEntry>> entries;
    for (const QueryRow* row : rows.of(attr::Input)) {
        auto e = std::make_shared<FromEntry>();
        e->keys.push_back(lower(row->name2.empty() ? row->name1 : row->name2));
        e->text = inputText(*row);
        entries.push_back(e);
    }
    auto take = [&](const std::string& name) {
        const std::string key = lower(name);
        for (auto it = entries.begin(); it != entries.end(); ++it)
            if ((*it)->holds(key))
                return *it;
        auto bare = std::make_shared<FromEntry>(); // a key no input holds stands for a bare table
        bare->keys.push_back(key);
        bare->text = bracketName(name);
        entries.push_back(bare);
        return bare;
    };
    static const char* const kinds[] = {"", "INNER", "LEFT", "RIGHT"};
    for (const QueryRow* row : rows.of(attr::Join)) {
        auto left = take(row->name1);
        auto right = take(row->name2);
        if (left == right) { // one more condition of the same join
            left->conditions.push_back(row->expression);
            continue;
        }
        auto join = std::make_shared<FromEntry>();
        join->left = left;
        join->right = right;
        join->kind = row->flag >= 1 && row->flag <= 3 ? kinds[row->flag] : "INNER";
        join->conditions.push_back(row->expression);
        join->keys = left->keys;
        join->keys.insert(join->keys.end(), right->keys.begin(), right->keys.end());
        std::erase(entries, left);
        std::erase(entries, right);
        entries.push_back(join);
    }
    std::string out;
    for (const auto& e : entries)
        out += (out.empty() ? "" : ", ") + render(*e, false);
    return out;
}

std::string joined(const std::vector<const QueryRow*>& rows, const std::string& separator, bool orderBy = false) {
    std::string out;
    for (const QueryRow* row : rows) {
        out += (out.empty() ? "" : separator) + row->expression;
        if (orderBy && !row->name1.empty() && (row->name1[0] == 'D' || row->name1[0] == 'd'))
            out += " DESC";
    }
    return out;
}

std::string columnText(const QueryRow& row) {
    return row.expression + (row.name1.empty() ? "" : " AS " + bracketAlias(row.name1));
}

const char* const kParameterTypes[] = {"Value",      "Bit",        "Byte",     "Short",  "Long", "Currency",
                                       "IEEESingle", "IEEEDouble", "DateTime", "Binary", "Text", "LongBinary",
                                       nullptr,      nullptr,      nullptr,    "Guid"};

struct Builder {
    const Rows& rows;
    SavedQuery& query;
    int selectFlags = 0;
    std::string top{};

    bool parameters(std::string& out) {
        std::string list;
        for (const QueryRow* row : rows.of(attr::Parameter)) {
            const int code = row->flag;
            const char* type = code >= 0 && code < 16 ? kParameterTypes[code] : nullptr;
            if (!type) {
                query.problem = "the parameter " + row->name1 + " has the unknown type code " + std::to_string(code);
                return false;
            }
            std::string typeText = type;
            if (code == 10 && row->lvExtra > 0)
                typeText += "(" + std::to_string(row->lvExtra) + ")";
            std::string name = row->name1;
            if (name.size() > 1 && name.front() == '[' && name.back() == ']')
                name = name.substr(1, name.size() - 2);
            query.parameters.push_back({name, typeText});
            list += (list.empty() ? "" : ", ") + bracketParameter(row->name1) + " " + typeText;
        }
        if (!list.empty())
            out += "PARAMETERS " + list + ";\r\n";
        return true;
    }

    std::string predicate() const {
        std::string out;
        if (selectFlags & bit::Distinct)
            out += "DISTINCT ";
        else if (selectFlags & bit::DistinctRow)
            out += "DISTINCTROW ";
        if ((selectFlags & bit::Top) && !top.empty())
            out += "TOP " + top + ((selectFlags & bit::Percent) ? " PERCENT " : " ");
        return out;
    }

    // Output columns of the SELECT (crosstab: the row headings, flag 2).
    std::string columns(bool crosstab) const {
        std::string out;
        for (const QueryRow* row : rows.of(attr::Column))
            if (!crosstab || row->flag == 2)
                out += (out.empty() ? "" : ", ") + columnText(*row);
        if (selectFlags & bit::Star)
            out += out.empty() ? "*" : ", *";
        return out;
    }

    void tail(std::string& out, bool crosstab) const {
        if (const QueryRow* where = rows.first(attr::Where))
            out += "\r\nWHERE " + where->expression;
        std::vector<const QueryRow*> groups;
        for (const QueryRow* row : rows.of(attr::GroupBy))
            if (!crosstab || row->flag == 2)
                groups.push_back(row);
        if (!groups.empty())
            out += "\r\nGROUP BY " + joined(groups, ", ");
        if (const QueryRow* having = rows.first(attr::Having))
            out += "\r\nHAVING " + having->expression;
        const auto order = rows.of(attr::OrderBy);
        if (!order.empty())
            out += "\r\nORDER BY " + joined(order, ", ", true);
    }

    std::string select(const std::string& into = {}) const {
        const bool crosstab = query.kind == "crosstab";
        std::string out;
        if (crosstab)
            for (const QueryRow* row : rows.of(attr::Column))
                if (row->flag == 0)
                    out += "TRANSFORM " + columnText(*row) + "\r\n";
        out += "SELECT " + predicate() + columns(crosstab);
        if (!into.empty())
            out += " INTO " + bracketName(into);
        out += "\r\nFROM " + fromClause(rows);
        tail(out, crosstab);
        if (crosstab)
            for (const QueryRow* row : rows.of(attr::Column))
                if (row->flag == 1)
                    out += "\r\nPIVOT " + row->expression;
        if (selectFlags & bit::OwnerAccess)
            out += "\r\nWITH OWNERACCESS OPTION";
        return out;
    }

    std::string append(const std::string& target) const {
        const auto cols = rows.of(attr::Column);
        std::string targets, values;
        bool valuesForm = !cols.empty();
        for (const QueryRow* row : cols) {
            if (!row->name2.empty())
                targets += (targets.empty() ? "" : ", ") + bracketName(row->name2);
            values += (values.empty() ? "" : ", ") + row->expression;
            valuesForm = valuesForm && row->flag == kValuesFlag;
        }
        std::string out = "INSERT INTO " + bracketName(target) + (targets.empty() ? "" : " (" + targets + ")") + "\r\n";
        return out + (valuesForm ? "VALUES (" + values + ")" : select());
    }

    std::string update() const {
        std::string sets;
        for (const QueryRow* row : rows.of(attr::Column))
            sets += (sets.empty() ? "" : ", ") + row->name2 + " = " + row->expression;
        std::string out = "UPDATE " + fromClause(rows) + "\r\nSET " + sets;
        if (const QueryRow* where = rows.first(attr::Where))
            out += "\r\nWHERE " + where->expression;
        return out;
    }

    std::string remove() const {
        std::string cols;
        for (const QueryRow* row : rows.of(attr::Column))
            cols += (cols.empty() ? "" : ", ") + row->expression;
        std::string out = "DELETE " + cols + "\r\nFROM " + fromClause(rows);
        tail(out, false);
        return out;
    }

    std::string unionText() const {
        const auto halves = rows.of(attr::Input);
        if (halves.size() != 2)
            return {};
        std::string out = trim(halves[0]->expression) + "\r\n" +
                          ((selectFlags & bit::Distinct) ? "UNION " : "UNION ALL ") + trim(halves[1]->expression);
        const auto order = rows.of(attr::OrderBy);
        if (!order.empty())
            out += "\r\nORDER BY " + joined(order, ", ", true);
        return out;
    }
};

std::string kindOf(const Rows& rows, std::uint32_t objectFlags, int& typeCode) {
    const QueryRow* typeRow = rows.first(attr::Type);
    typeCode = typeRow ? typeRow->flag : -1;
    for (const KindCode& k : kKinds)
        if (typeRow ? k.typeRow == typeRow->flag : k.objectBits == (objectFlags & 0xF0))
            return k.kind;
    return "unknown";
}

} // namespace

bool isUserQuery(const std::string& name, std::uint32_t objectFlags) {
    return !name.empty() && name.front() != '~' && (objectFlags & 0x2) == 0;
}

SavedQuery rebuildQuery(const std::string& name, std::uint32_t objectFlags, std::vector<QueryRow> stored) {
    const Rows rows(std::move(stored));
    SavedQuery query;
    query.name = name;
    query.hidden = (objectFlags & 0x8) != 0;
    int typeCode = -1;
    query.kind = kindOf(rows, objectFlags, typeCode);
    if (rows.empty()) {
        query.problem = "the query has no stored definition";
        return query;
    }
    if (query.kind == "unknown") {
        query.problem = "the query type " + std::to_string(typeCode) + " is not one Access writes";
        return query;
    }
    // Joins nest once per join row; a damaged file must not nest them deep enough to exhaust the stack.
    if (rows.of(attr::Join).size() > kMaxJoins) {
        query.problem = "the query has more than " + std::to_string(kMaxJoins) + " joins";
        return query;
    }
    const QueryRow* typeRow = rows.first(attr::Type);
    if (query.kind == "data-definition" || query.kind == "pass-through") {
        query.sql = typeRow ? trim(typeRow->expression) : std::string();
        return query;
    }
    Builder b{rows, query};
    if (const QueryRow* flags = rows.first(attr::Flags)) {
        b.selectFlags = flags->flag;
        b.top = flags->name1;
    }
    std::string sql;
    if (!b.parameters(sql))
        return query;
    const std::string target = typeRow ? typeRow->name1 : std::string();
    if (query.kind == "union") {
        const std::string text = b.unionText();
        if (text.empty()) {
            query.problem = "the union query lacks one of its two halves";
            return query;
        }
        sql += text;
    } else if (query.kind == "append")
        sql += b.append(target);
    else if (query.kind == "update")
        sql += b.update();
    else if (query.kind == "delete")
        sql += b.remove();
    else
        sql += b.select(query.kind == "make-table" ? target : std::string());
    query.sql = sql + ";";
    return query;
}

} // namespace tabulon
