#include "formula/CalcParser.h"

#include "formula/CalcError.h"
#include "formula/CalcFunctions.h"
#include "text/TextConvert.h"

namespace tramble {
namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsNameChar(char c)
{
    return IsLetter(c) || IsDigit(c) || c == '_' || c == '.';
}

struct TOperatorWord {
    std::string_view Word;
    TCalcOp Op;
};

constexpr TOperatorWord kOperatorWords[] = {
    {"and", TCalcOp::And}, {"or", TCalcOp::Or},     {"div", TCalcOp::IntDiv},        {"mod", TCalcOp::Mod},
    {"in", TCalcOp::In},   {"like", TCalcOp::Like}, {"wildcard", TCalcOp::Wildcard},
};

} // namespace

TCalcParser::TCalcParser(std::string_view formula, char quote, int& depth)
    : m_formula(formula), m_quote(quote), m_depthGuard(depth)
{
}

TCalcTree TCalcParser::Parse()
{
    // Every node takes at least one character of the formula.
    m_tree.Nodes.reserve(m_formula.size() + 1);
    NextToken();
    m_tree.Root = ParseSum();
    if (m_parenDepth != 0)
        throw ECalcError("invalid formule");
    return std::move(m_tree);
}

void TCalcParser::NextToken()
{
    m_previous = m_token;
    while (m_pos < m_formula.size()) {
        unsigned char c = static_cast<unsigned char>(m_formula[m_pos]);
        if (c > 13 && c != ' ' && c != '{' && c != '}')
            break;
        ++m_pos;
    }
    if (m_pos >= m_formula.size()) {
        m_token = TToken::End;
        return;
    }
    const char c = m_formula[m_pos];
    const char next = m_pos + 1 < m_formula.size() ? m_formula[m_pos + 1] : '\0';
    if (c == m_quote)
        return ScanString();
    if (IsDigit(c))
        return ScanNumber(m_pos);
    if (IsLetter(c) || c == '_')
        return ScanName();
    auto op = [this](TCalcOp op, size_t length) {
        m_token = TToken::Operator;
        m_operator = op;
        m_pos += length;
    };
    switch (c) {
    case '-':
        if (IsDigit(next) &&
            (m_previous == TToken::End || m_previous == TToken::LParen || m_previous == TToken::Function))
            return ScanNumber(m_pos);
        m_token = TToken::Minus;
        ++m_pos;
        return;
    case '+':
        m_token = TToken::Plus;
        ++m_pos;
        return;
    case '^':
        m_token = TToken::Caret;
        ++m_pos;
        return;
    case '(':
        m_token = TToken::LParen;
        ++m_pos;
        return;
    case ')':
        m_token = TToken::RParen;
        ++m_pos;
        return;
    case '*': return op(TCalcOp::Multiply, 1);
    case '/': return op(TCalcOp::Divide, 1);
    case ',': return op(TCalcOp::Comma, 1);
    case ';': return op(TCalcOp::Sequence, 1);
    case '=': return op(TCalcOp::Equal, 1);
    case '<':
        if (next == '=')
            return op(TCalcOp::LessEqual, 2);
        if (next == '>')
            return op(TCalcOp::NotEqual, 2);
        return op(TCalcOp::Less, 1);
    case '>':
        if (next == '=')
            return op(TCalcOp::GreaterEqual, 2);
        return op(TCalcOp::Greater, 1);
    case '|': return op(TCalcOp::Concat, next == '|' ? 2 : 1);
    case '[': return ScanSet();
    default:
        // Any other character ends the formula; the rest is ignored.
        m_token = TToken::End;
        m_pos = m_formula.size();
        return;
    }
}

void TCalcParser::ScanNumber(size_t start)
{
    size_t pos = start;
    if (m_formula[pos] == '-')
        ++pos;
    auto digits = [&] {
        size_t first = pos;
        while (pos < m_formula.size() && IsDigit(m_formula[pos]))
            ++pos;
        return pos > first;
    };
    auto fail = [this] { throw ECalcError("Wrong number in " + std::string(m_formula)); };
    digits();
    if (pos < m_formula.size() && m_formula[pos] == '.') {
        ++pos;
        if (!digits())
            fail();
    }
    if (pos < m_formula.size() && (m_formula[pos] == 'e' || m_formula[pos] == 'E')) {
        ++pos;
        if (pos < m_formula.size() && (m_formula[pos] == '+' || m_formula[pos] == '-'))
            ++pos;
        if (!digits())
            fail();
    }
    m_token = TToken::Number;
    m_text.assign(m_formula.substr(start, pos - start));
    m_pos = pos;
}

void TCalcParser::ScanString()
{
    m_text.clear();
    size_t pos = m_pos + 1;
    for (;;) {
        size_t close = m_formula.find(m_quote, pos);
        if (close == std::string_view::npos)
            throw ECalcError("String value end error");
        m_text.append(m_formula.substr(pos, close - pos));
        if (close + 1 < m_formula.size() && m_formula[close + 1] == m_quote) {
            m_text.push_back(m_quote);
            pos = close + 2;
            continue;
        }
        m_pos = close + 1;
        break;
    }
    m_token = TToken::Text;
}

void TCalcParser::ScanSet()
{
    bool inString = false;
    for (size_t p = m_pos + 1; p < m_formula.size(); ++p) {
        char c = m_formula[p];
        if (c == m_quote)
            inString = !inString;
        if (c != ']')
            continue;
        char next = p + 1 < m_formula.size() ? m_formula[p + 1] : '\0';
        bool last = p + 1 == m_formula.size();
        if (last || next == ' ' || next == ';' || (!inString && (next == ')' || next == ','))) {
            m_token = TToken::Set;
            m_text.assign(m_formula.substr(m_pos, p + 1 - m_pos));
            m_pos = p + 1;
            return;
        }
    }
    m_pos = m_formula.size();
    throw ECalcError("Invalid set parameter [..]");
}

void TCalcParser::ScanName()
{
    size_t start = m_pos;
    while (m_pos < m_formula.size() && IsNameChar(m_formula[m_pos]))
        ++m_pos;
    m_text.assign(m_formula.substr(start, m_pos - start));
    std::string_view rest = m_formula.substr(m_pos);
    if (rest.size() >= 2 && rest[0] == ':' && rest[1] == '=') {
        // The expression runs to the first ";" outside strings; that ";"
        // then joins the assignment to what follows.
        size_t end = m_pos + 2;
        bool inString = false;
        for (; end < m_formula.size(); ++end) {
            if (m_formula[end] == m_quote)
                inString = !inString;
            else if (m_formula[end] == ';' && !inString)
                break;
        }
        m_expression.assign(m_formula.substr(m_pos + 2, end - m_pos - 2));
        m_pos = end;
        m_token = TToken::Assign;
        return;
    }
    if (!rest.empty() && rest[0] == '(') {
        ++m_pos;
        const TFunctionInfo* info = FindFunction(m_text);
        if (!info)
            throw ECalcError("Invalid function " + m_text + "(" + "...)");
        m_function = info->Id;
        m_token = TToken::Function;
        return;
    }
    m_token = TToken::Name;
    if (m_text.size() > 1) {
        for (const TOperatorWord& word : kOperatorWords) {
            if (SameTextAscii(word.Word, m_text)) {
                m_token = TToken::Operator;
                m_operator = word.Op;
                return;
            }
        }
    }
}

bool TCalcParser::SignMayFollow() const
{
    return m_previous == TToken::End || m_previous == TToken::LParen || m_previous == TToken::Plus ||
           m_previous == TToken::Minus || m_previous == TToken::Function;
}

int32_t TCalcParser::AddNode(TCalcOp op, int32_t left, int32_t right)
{
    TCalcNode& node = m_tree.Nodes.emplace_back();
    node.Op = op;
    node.Left = left;
    node.Right = right;
    return static_cast<int32_t>(m_tree.Nodes.size() - 1);
}

int32_t TCalcParser::ParseSum()
{
    int32_t node = ParseTerm();
    for (;;) {
        if (m_token == TToken::Plus || m_token == TToken::Minus) {
            TCalcOp op = m_token == TToken::Plus ? TCalcOp::Add : TCalcOp::Subtract;
            NextToken();
            int32_t right = ParseTerm();
            node = AddNode(op, node, right);
        } else if (m_token == TToken::End) {
            return node;
        } else if (m_token == TToken::RParen) {
            --m_parenDepth;
            NextToken();
            return node;
        } else {
            throw ECalcError("Invalid expression");
        }
    }
}

int32_t TCalcParser::ParseTerm()
{
    bool negate = false;
    if (SignMayFollow() && (m_token == TToken::Minus || m_token == TToken::Plus)) {
        negate = m_token == TToken::Minus;
        NextToken();
    }
    int32_t node = ParseFactor();
    while (m_token == TToken::Operator) {
        TCalcOp op = m_operator;
        NextToken();
        int32_t right = ParseFactor();
        node = AddNode(op, node, right);
    }
    return negate ? AddNode(TCalcOp::Negate, node) : node;
}

int32_t TCalcParser::ParseFactor()
{
    int32_t node;
    switch (m_token) {
    case TToken::LParen: {
        TDepthScope scope(m_depthGuard);
        ++m_parenDepth;
        NextToken();
        node = ParseSum();
        break;
    }
    case TToken::Function: {
        TDepthScope scope(m_depthGuard);
        TCalcFunction function = m_function;
        ++m_parenDepth;
        NextToken();
        int32_t argument = ParseSum();
        node = AddNode(TCalcOp::Function, argument);
        m_tree.Nodes[static_cast<size_t>(node)].Function = function;
        break;
    }
    case TToken::Number:
    case TToken::Text:
    case TToken::Name:
    case TToken::Set:
    case TToken::Assign: node = ParseLeaf(); break;
    default: throw ECalcError("? operand ");
    }
    auto isElement = [this] {
        return m_token == TToken::Number || m_token == TToken::Text || m_token == TToken::Name ||
               m_token == TToken::Set || m_token == TToken::Assign;
    };
    while (m_token == TToken::Caret) {
        NextToken();
        int32_t element;
        if (m_token == TToken::LParen) {
            NextToken();
            if (!isElement())
                throw ECalcError("Invalid values");
            element = ParseLeaf();
            if (m_token != TToken::RParen)
                throw ECalcError("invalid formule");
            NextToken();
        } else if (isElement()) {
            element = ParseLeaf();
        } else {
            throw ECalcError("Invalid values");
        }
        node = AddNode(TCalcOp::Power, node, element);
    }
    return node;
}

int32_t TCalcParser::ParseLeaf()
{
    int32_t node;
    switch (m_token) {
    case TToken::Number: node = AddNode(TCalcOp::Number); break;
    case TToken::Text: node = AddNode(TCalcOp::Text); break;
    case TToken::Set: node = AddNode(TCalcOp::Set); break;
    case TToken::Assign: {
        int32_t expression = AddNode(TCalcOp::Text);
        SetText(expression, m_expression);
        node = AddNode(TCalcOp::Assign, expression);
        break;
    }
    default: node = AddNode(TCalcOp::Name); break;
    }
    SetText(node, m_text);
    NextToken();
    return node;
}

void TCalcParser::SetText(int32_t index, std::string_view text)
{
    TCalcNode& node = m_tree.Nodes[static_cast<size_t>(index)];
    node.TextStart = static_cast<uint32_t>(m_tree.Texts.size());
    node.TextLength = static_cast<uint32_t>(text.size());
    m_tree.Texts.append(text);
}

} // namespace tramble
