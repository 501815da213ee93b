#include "formula/GroupArguments.h"

#include "formula/CalcError.h"

#include <algorithm>
#include <vector>

namespace tramble {

std::string GroupArguments(std::string_view formula, char quote)
{
    if (formula.find(',') == std::string_view::npos)
        return std::string(formula);

    std::string out;                // the text without the "(" that open first arguments
    std::vector<size_t> firstOpens; // where those go: before these positions of `out`
    std::vector<size_t> openParens; // positions in `out` of "(" not closed yet
    std::vector<int> groups;        // parenthesis balance of each open argument group
    out.reserve(formula.size() + formula.size() / 2);
    bool inString = false;
    bool inSet = false;

    auto closeParen = [&] {
        if (!openParens.empty())
            openParens.pop_back();
    };

    for (char c : formula) {
        if (c == quote)
            inString = !inString;
        if (c == '[')
            inSet = true;
        else if (c == ']')
            inSet = false;
        if (inString || inSet) {
            out.push_back(c);
            continue;
        }
        if (c == ',') {
            if (!groups.empty() && groups.back() == 0) {
                groups.pop_back();
                closeParen();
            } else if (!openParens.empty()) {
                // The first argument runs from the innermost open "(" up to here.
                firstOpens.push_back(openParens.back());
            }
            out += "),(";
            openParens.push_back(out.size() - 1);
            groups.push_back(0);
            if (static_cast<int>(groups.size()) > kMaxArgumentGroups)
                throw ECalcError("Overflow argument groups limit (set max. " + std::to_string(kMaxArgumentGroups) +
                                 ")");
            continue;
        }
        if (c == '(' && !groups.empty()) {
            ++groups.back();
        } else if (c == ')' && !groups.empty() && --groups.back() < 0) {
            // The call's own closing parenthesis ends its last argument; it
            // also closes the call's "(" that the enclosing group counted.
            groups.pop_back();
            out.push_back(')');
            closeParen();
            if (!groups.empty())
                --groups.back();
        }
        out.push_back(c);
        if (c == '(')
            openParens.push_back(out.size() - 1);
        else if (c == ')')
            closeParen();
    }

    if (firstOpens.empty())
        return out;
    std::sort(firstOpens.begin(), firstOpens.end());
    std::string grouped;
    grouped.reserve(out.size() + firstOpens.size());
    size_t from = 0;
    for (size_t at : firstOpens) {
        grouped.append(out, from, at - from);
        grouped.push_back('(');
        from = at;
    }
    grouped.append(out, from, std::string::npos);
    return grouped;
}

} // namespace tramble
