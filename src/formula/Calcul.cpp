#include "formula/Calcul.h"

#include "formula/CalcError.h"
#include "formula/CalcFunctions.h"
#include "formula/CalcParser.h"
#include "formula/GroupArguments.h"
#include "formula/Stamp.h"
#include "formula/TextHelpers.h"
#include "formula/Wildcard.h"
#include "text/TextConvert.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace tramble {

// Parsed trees of recent formulas: a script runs the same statements over and
// over, and parsing depends on nothing but the text and the quote.
struct TCalcul::TShared {
    static constexpr size_t kMaxEntries = 512;
    static constexpr size_t kMaxLength = 4096;

    // Lets the cache be searched with a string_view, without a copy.
    struct THash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };

    int Depth = 0;
    size_t ActiveLength = 0; // of the formulas being evaluated, sub-evaluations included
    char CacheQuote = '"';
    std::unordered_map<std::string, std::shared_ptr<const TCalcTree>, THash, std::equal_to<>> Cache;
};

namespace {

TValue Number(long double value)
{
    return {FormatValue(value), rkNumber};
}
TValue Number(int64_t value)
{
    return {std::to_string(value), rkNumber};
}
TValue Flag(bool value)
{
    return {value ? "1" : "0", rkNumber};
}

[[noreturn]] void Fault(const char* what)
{
    throw std::domain_error(what);
}

bool RightFirst(TCalcOp op)
{
    switch (op) {
    case TCalcOp::Divide:
    case TCalcOp::IntDiv:
    case TCalcOp::Concat:
    case TCalcOp::Like:
    case TCalcOp::Wildcard:
    case TCalcOp::Comma: return true;
    default: return false;
    }
}

long double IntPower(long double base, uint64_t exponent)
{
    long double result = 1;
    if (exponent <= 1024) {
        for (uint64_t i = 0; i < exponent && std::isfinite(result) && result != 0; ++i)
            result *= base;
        return result;
    }
    // Squaring keeps huge exponents from taking seconds.
    while (exponent != 0) {
        if (exponent & 1)
            result *= base;
        base *= base;
        exponent >>= 1;
    }
    return result;
}

long double Power(long double a, long double b)
{
    if (b == 0)
        return 1;
    if (a == 0 && b > 0)
        return 0;
    if (b == std::trunc(b) && std::fabs(b) <= 2147483647.0L) {
        long double result = IntPower(a, static_cast<uint64_t>(std::fabs(b)));
        if (b > 0)
            return result;
        if (result == 0)
            Fault("division by zero");
        return 1 / result;
    }
    if (a <= 0)
        Fault("logarithm of a number not above zero");
    return std::exp(b * std::log(a));
}

// Both operands as numbers, the left one converted first, so that its error
// is the one reported when both fail.
std::pair<long double, long double> NumericOperands(const TValue& left, const std::string& right)
{
    const long double a = StrToValue(left.Text);
    return {a, StrToValue(right)};
}

// The set's elements are literal texts between commas; quotes and the
// decimal endings ".0" and ".00" do not count.
bool InSet(std::string value, std::string_view set, char quote)
{
    set = Trim(set);
    if (set.size() < 2 || set.front() != '[' || set.back() != ']')
        throw ECalcError("Invalid parameter for operation in [..]");
    std::string list = "," + std::string(set.substr(1, set.size() - 2)) + ",";
    const std::string q(1, quote);
    list = ReplaceAll(std::move(list), " ,", ",");
    list = ReplaceAll(std::move(list), ", ", ",");
    list = ReplaceAll(std::move(list), "," + q, ",");
    list = ReplaceAll(std::move(list), q + ",", ",");
    list = ReplaceAll(std::move(list), ".0,", ",");
    list = ReplaceAll(std::move(list), ".00,", ",");
    for (std::string_view ending : {".00", ".0"}) {
        if (value.size() >= ending.size() && value.compare(value.size() - ending.size(), ending.size(), ending) == 0) {
            value.resize(value.size() - ending.size());
            break;
        }
    }
    return list.find("," + value + ",") != std::string::npos;
}

// Numbers compare as numbers; anything else by the locale's collation.
int Compare(const std::string& a, const std::string& b)
{
    std::optional<long double> x = TextToValue(a);
    std::optional<long double> y = TextToValue(b);
    if (x && y)
        return *x < *y ? -1 : (*x > *y ? 1 : 0);
    return std::strcoll(a.c_str(), b.c_str());
}

// Counts a formula against the length of all formulas evaluated at once:
// each nested assignment holds its own copy of the rest of the text.
class TActiveFormula {
public:
    TActiveFormula(size_t& total, size_t length) : m_total(total), m_length(length)
    {
        if (m_total + m_length > kMaxActiveFormulas)
            throw ELimitError("Overflow formula length limit (set max. " + std::to_string(kMaxActiveFormulas) + ")");
        m_total += m_length;
    }
    ~TActiveFormula() { m_total -= m_length; }
    TActiveFormula(const TActiveFormula&) = delete;
    TActiveFormula& operator=(const TActiveFormula&) = delete;

private:
    size_t& m_total;
    size_t m_length;
};

const TCalcNode& Operand(const TCalcTree& tree, int32_t index)
{
    if (index < 0 || static_cast<size_t>(index) >= tree.Nodes.size())
        throw ECalcError("Invalid formula (..)");
    return tree.Nodes[static_cast<size_t>(index)];
}

} // namespace

TCalcul::TCalcul(const TClock& clock)
    : m_variables(std::make_shared<TText>()), m_ownShared(std::make_unique<TShared>()), m_shared(m_ownShared.get()),
      m_clock(clock)
{
}

TCalcul::TCalcul(TCalcul& creator)
    : QuoteChar(creator.QuoteChar), m_variables(creator.m_variables), m_shared(creator.m_shared),
      m_root(creator.m_root), m_clock(creator.m_clock)
{
}

TCalcul::~TCalcul() = default;

void TCalcul::ShareVariables(TCalcul& other)
{
    m_variables = other.m_variables;
}

void TCalcul::Fail(const std::string& message)
{
    if (!m_failed) {
        m_failed = true;
        m_errorText = message;
    }
}

std::string TCalcul::Calculate()
{
    m_params.clear();
    m_failed = false;
    m_limitReached = false;
    m_errorText.clear();
    const TResultKind defaultKind = Formula.find(QuoteChar) != std::string::npos ? rkText : rkNumber;
    m_resultKind = defaultKind;
    std::string_view formula = Formula;
    while (!formula.empty() && (formula.back() == ' ' || formula.back() == ';'))
        formula.remove_suffix(1);
    try {
        TDepthScope scope(m_shared->Depth);
        TActiveFormula active(m_shared->ActiveLength, formula.size());
        std::shared_ptr<const TCalcTree> tree = ParsedTree(formula);
        TValue value = EvalNode(*tree, tree->Root);
        const TResultKind kind = value.Kind == rkNone ? defaultKind : value.Kind;
        std::string result = std::move(value.Text);
        if (kind == rkText) {
            std::string_view trimmed = Trim(result);
            if (trimmed.empty() || trimmed.front() != QuoteChar || trimmed.back() != QuoteChar)
                result = QuoteChar + result + QuoteChar;
        }
        m_resultKind = kind;
        return result;
    } catch (const ELimitError& error) {
        m_limitReached = true;
        Fail(error.what());
    } catch (const ECalcError& error) {
        Fail(error.what());
    } catch (...) {
        Fail("invalid formule");
    }
    m_params.clear();
    return {};
}

std::shared_ptr<const TCalcTree> TCalcul::ParsedTree(std::string_view formula)
{
    TShared& shared = *m_shared;
    const bool cacheable = formula.size() <= TShared::kMaxLength;
    if (shared.CacheQuote != QuoteChar) {
        shared.Cache.clear();
        shared.CacheQuote = QuoteChar;
    }
    if (cacheable) {
        auto it = shared.Cache.find(formula);
        if (it != shared.Cache.end())
            return it->second;
    }
    const std::string grouped = GroupArguments(formula, QuoteChar);
    auto tree = std::make_shared<const TCalcTree>(TCalcParser(grouped, QuoteChar, shared.Depth).Parse());
    if (cacheable) {
        if (shared.Cache.size() >= TShared::kMaxEntries)
            shared.Cache.clear();
        shared.Cache.emplace(std::string(formula), tree);
    }
    return tree;
}

TValue TCalcul::EvalNode(const TCalcTree& tree, int32_t index)
{
    TDepthScope scope(m_shared->Depth);
    TValue value = EvalOperation(tree, index);
    CheckTextLength(value.Text.size());
    return value;
}

TValue TCalcul::EvalOperation(const TCalcTree& tree, int32_t index)
{
    const TCalcNode& node = Operand(tree, index);
    switch (node.Op) {
    case TCalcOp::Number:
    case TCalcOp::Text: return {std::string(tree.Text(node)), rkNone};
    case TCalcOp::Set: return {std::string(Trim(tree.Text(node))), rkNone};
    case TCalcOp::Name: return EvalName(tree.Text(node));
    case TCalcOp::Assign: return EvalAssign(tree, node);
    case TCalcOp::Negate: return Number(-StrToValue(EvalNode(tree, node.Left).Text));
    case TCalcOp::Function: return EvalFunction(tree, node);
    default: return EvalChain(tree, index);
    }
}

// Binary operators chain to the left, so a long sum is a long left spine. It
// is walked in a loop rather than by recursion: operands that go first (the
// right-first operators) on the way down, the rest on the way up.
TValue TCalcul::EvalChain(const TCalcTree& tree, int32_t index)
{
    const TCalcNode& top = Operand(tree, index);
    if (!IsBinary(Operand(tree, top.Left).Op)) {
        TValue early;
        TValue* right = nullptr;
        if (RightFirst(top.Op)) {
            early = EvalNode(tree, top.Right);
            if (top.Op == TCalcOp::Comma)
                PushParam(early.Text);
            right = &early;
        }
        return Apply(tree, top, EvalNode(tree, top.Left), right);
    }
    std::vector<int32_t> spine;
    int32_t bottom = index;
    while (IsBinary(Operand(tree, bottom).Op)) {
        spine.push_back(bottom);
        bottom = tree.Nodes[static_cast<size_t>(bottom)].Left;
    }
    std::vector<TValue> early;
    for (int32_t n : spine) {
        const TCalcNode& node = tree.Nodes[static_cast<size_t>(n)];
        if (!RightFirst(node.Op))
            continue;
        early.push_back(EvalNode(tree, node.Right));
        if (node.Op == TCalcOp::Comma)
            PushParam(early.back().Text);
    }
    TValue value = EvalNode(tree, bottom);
    for (auto it = spine.rbegin(); it != spine.rend(); ++it) {
        const TCalcNode& node = tree.Nodes[static_cast<size_t>(*it)];
        if (RightFirst(node.Op)) {
            TValue right = std::move(early.back());
            early.pop_back();
            value = Apply(tree, node, std::move(value), &right);
        } else {
            value = Apply(tree, node, std::move(value), nullptr);
        }
    }
    return value;
}

TValue TCalcul::Apply(const TCalcTree& tree, const TCalcNode& node, TValue left, TValue* right)
{
    TValue later;
    auto rightValue = [&]() -> const std::string& {
        if (!right) {
            later = EvalNode(tree, node.Right);
            right = &later;
        }
        return right->Text;
    };
    switch (node.Op) {
    case TCalcOp::Add: {
        const auto [a, b] = NumericOperands(left, rightValue());
        return Number(a + b);
    }
    case TCalcOp::Subtract: {
        const auto [a, b] = NumericOperands(left, rightValue());
        return Number(a - b);
    }
    case TCalcOp::Multiply: {
        const auto [a, b] = NumericOperands(left, rightValue());
        return Number(a * b);
    }
    case TCalcOp::Divide: {
        long double b = StrToValue(rightValue());
        long double a = StrToValue(left.Text);
        return Number(std::fabs(b) < 0.00000001L ? 0.0L : a / b);
    }
    case TCalcOp::Power: {
        const auto [a, b] = NumericOperands(left, rightValue());
        return Number(Power(a, b));
    }
    case TCalcOp::IntDiv: {
        int64_t b = ValueToInt(rightValue());
        int64_t a = ValueToInt(left.Text);
        return Number(b == 0 ? int64_t{0} : a / b);
    }
    case TCalcOp::Mod: {
        const std::string& bText = rightValue();
        int64_t a = ValueToInt(left.Text);
        int64_t b = ValueToInt(bText);
        if (b == 0)
            Fault("division by zero");
        return Number(a % b);
    }
    case TCalcOp::Concat: return {left.Text + rightValue(), rkText};
    case TCalcOp::Equal: return Flag(left.Text == rightValue());
    case TCalcOp::NotEqual: return Flag(left.Text != rightValue());
    case TCalcOp::Less: return Flag(Compare(left.Text, rightValue()) < 0);
    case TCalcOp::LessEqual: return Flag(Compare(left.Text, rightValue()) <= 0);
    case TCalcOp::Greater: return Flag(Compare(left.Text, rightValue()) > 0);
    case TCalcOp::GreaterEqual: return Flag(Compare(left.Text, rightValue()) >= 0);
    case TCalcOp::And:
        if (StrToValue(left.Text) < 1)
            return Flag(false);
        return Flag(StrToValue(rightValue()) >= 1);
    case TCalcOp::Or:
        if (StrToValue(left.Text) >= 1)
            return Flag(true);
        return Flag(StrToValue(rightValue()) >= 1);
    case TCalcOp::In: {
        const std::string& set = rightValue();
        return Flag(InSet(std::move(left.Text), set, QuoteChar));
    }
    case TCalcOp::Like: {
        std::string pattern = rightValue();
        std::replace(pattern.begin(), pattern.end(), '%', '*');
        std::replace(pattern.begin(), pattern.end(), '_', '?');
        return {MatchWildcard(left.Text, pattern) ? "1" : "0", rkNone};
    }
    case TCalcOp::Wildcard: return {MatchWildcard(left.Text, rightValue()) ? "1" : "0", rkNone};
    case TCalcOp::Comma: return {std::move(left.Text), rkNone};
    case TCalcOp::Sequence: return {rightValue(), rkNone};
    default: break;
    }
    throw ECalcError("Internal error oper code " + std::to_string(static_cast<int>(node.Op)));
}

void TCalcul::PushParam(std::string text)
{
    // A "," outside any call has no argument list to join.
    if (m_params.empty())
        Fault("argument outside a call");
    m_params.back().push_back(std::move(text));
}

TValue TCalcul::EvalFunction(const TCalcTree& tree, const TCalcNode& node)
{
    const TCalcFunction id = node.Function;
    if (id < TCalcFunction::Copy) {
        TValue arg = EvalNode(tree, node.Left);
        switch (id) {
        case TCalcFunction::Eval: {
            std::string_view text = Trim(arg.Text);
            if (text.size() >= 2 && text.front() == '[' && text.back() == ']')
                text = Trim(text.substr(1, text.size() - 2));
            bool failed;
            return EvalSub(text, failed);
        }
        case TCalcFunction::ExistVar: return Flag(m_variables->VariableExists(arg.Text));
        case TCalcFunction::FreeVar: {
            bool exists = m_variables->VariableExists(arg.Text);
            m_variables->FreeVariable(arg.Text);
            return Flag(exists);
        }
        default: return CallFunction(id, arg.Text);
        }
    }
    m_params.emplace_back();
    TValue first = EvalNode(tree, node.Left);
    std::vector<std::string> args = std::move(m_params.back());
    m_params.pop_back();
    args.push_back(std::move(first.Text));
    std::reverse(args.begin(), args.end());
    for (std::string& arg : args) {
        std::string_view trimmed = Trim(arg);
        if (trimmed.size() != arg.size())
            arg = std::string(trimmed);
    }
    return CallParamFunction(id, std::move(args));
}

TValue TCalcul::Unquoted(std::string value) const
{
    std::string_view text = TrimLeft(value);
    if (!text.empty() && text.front() == QuoteChar) {
        text.remove_prefix(1);
        if (!text.empty() && text.back() == QuoteChar)
            text.remove_suffix(1);
        return {std::string(text), rkText};
    }
    if (text.size() != value.size())
        return {std::string(text), rkNumber};
    return {std::move(value), rkNumber};
}

TValue TCalcul::EvalName(std::string_view name)
{
    const char first = name.empty() ? '\0' : name[0];
    if (first == '[')
        return {std::string(Trim(name)), rkNone};
    const bool letter = (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z');
    if (!letter && first != '_' && name.rfind("@@", 0) != 0)
        throw ECalcError("Unknown variable:" + std::string(name) + ", invalid character in name");
    if (first == '_') {
        // Built-in names are matched exactly and never looked up in the store.
        if (name == "_LF")
            return {"\r\n", rkText};
        if (name == "_TB")
            return {"\t", rkText};
        if (name == "_PI")
            return {"3.14159265", rkNumber};
        if (name == "_NOW" || name == "_DATE" || name == "_TIME") {
            const double now = LocalStamp(m_clock.Now());
            if (name == "_NOW")
                return {StampToStr(now), rkText};
            return {name == "_DATE" ? StampToDateStr(now) : StampToTimeStr(now), rkText};
        }
        throw ECalcError("Unknown variable:" + std::string(name));
    }
    if (const std::string* stored = m_variables->FindVariable(name))
        return Unquoted(*stored);
    if (m_root->OnGetVariable) {
        std::string value;
        if (m_root->OnGetVariable(*this, std::string(name), value))
            return Unquoted(std::move(value));
    }
    throw ECalcError("Unknown variable:" + std::string(name));
}

TValue TCalcul::EvalAssign(const TCalcTree& tree, const TCalcNode& node)
{
    std::string_view expression = tree.Text(Operand(tree, node.Left));
    bool failed;
    TValue value = EvalSub(Trim(expression), failed);
    if (!failed)
        m_variables->SetVariable(tree.Text(node), value.Text);
    return value;
}

TValue TCalcul::EvalSub(std::string_view formula, bool& failed)
{
    TCalcul sub(*this);
    sub.Formula.assign(formula);
    std::string result = sub.Calculate();
    failed = sub.Failed();
    if (sub.m_limitReached)
        throw ELimitError(sub.ErrorText());
    return {failed ? std::string() : std::move(result), sub.ResultKind()};
}

} // namespace tramble
