#include "LikePattern.h"

#include "Lexer.h"
#include "lib/Error.h"

namespace tabulon::accesssql {

namespace {

// The body of a character class, between "[" and "]".
void appendClass(std::string& out, std::string_view body) {
    if (body.empty())
        return; // Access's "[]" matches the empty string: nothing to match
    bool negated = body.front() == '!' && body.size() > 1;
    if (negated)
        body.remove_prefix(1);
    std::string content(body);
    // In T-SQL a leading "^" negates; in Access it is an ordinary character.
    if (!negated && content.front() == '^') {
        if (content.size() == 1) {
            out += '^';
            return;
        }
        content = content.substr(1) + '^';
    }
    out += negated ? "[^" : "[";
    out += content;
    out += ']';
}

} // namespace

std::string likePattern(std::string_view access) {
    std::string out;
    out.reserve(access.size() + 8);
    for (std::size_t i = 0; i < access.size(); ++i) {
        const char c = access[i];
        switch (c) {
        case '*':
            out += '%';
            break;
        case '?':
            out += '_';
            break;
        case '#':
            out += "[0-9]";
            break;
        case '%':
            out += "[%]";
            break;
        case '_':
            out += "[_]";
            break;
        case '[': {
            const std::size_t close = access.find(']', i + 1);
            if (close == std::string_view::npos)
                throw Error(errc::SyntaxError, "Tabulon.AccessSql.likePattern",
                            "unclosed \"[\" in the Like pattern '" + std::string(access) + "'");
            appendClass(out, access.substr(i + 1, close - i - 1));
            i = close;
            break;
        }
        default:
            out += c;
        }
    }
    return out;
}

std::string runtimeLikePattern(const std::string& valueSql) {
    // "[" first, so that the brackets added by the later steps are not escaped again.
    return "REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(" + valueSql +
           ", N'[', N'[[]'), N'%', N'[%]'), N'_', N'[_]'), N'*', N'%'), N'?', N'_'), N'#', N'[0-9]')";
}

} // namespace tabulon::accesssql
