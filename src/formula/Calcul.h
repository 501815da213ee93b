#pragma once

#include "formula/CalcTree.h"
#include "formula/CalcValue.h"
#include "formula/Text.h"
#include "platform/Clock.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace tramble {

// Turns one line of formula text into one result text. Every intermediate
// value is a text; a text result is handed out between quotes. Variables
// live in a store that lasts as long as the evaluator, so a variable set by
// one formula is there for the next. Calculate never raises: it sets Failed
// and keeps the first error's message in ErrorText.
class TCalcul {
public:
    // Looks up a name that is neither built in nor stored: true when found.
    using TGetVariable = std::function<bool(TCalcul& calcul, const std::string& name, std::string& value)>;

    // clock: where "_NOW", "_DATE" and "_TIME" read the time.
    explicit TCalcul(const TClock& clock = SystemClock());
    ~TCalcul();
    TCalcul(const TCalcul&) = delete;
    TCalcul& operator=(const TCalcul&) = delete;

    // Uses the other evaluator's variables from now on.
    void ShareVariables(TCalcul& other);

    std::string Calculate();

    bool Failed() const { return m_failed; }
    const std::string& ErrorText() const { return m_errorText; }
    TResultKind ResultKind() const { return m_resultKind; }
    TText& Variables() { return *m_variables; }

    std::string Formula;
    char QuoteChar = '"';
    TGetVariable OnGetVariable;

private:
    struct TShared; // what an evaluator shares with its sub-evaluators

    explicit TCalcul(TCalcul& creator);

    std::shared_ptr<const TCalcTree> ParsedTree(std::string_view formula);
    void Fail(const std::string& message);

    TValue EvalNode(const TCalcTree& tree, int32_t index);
    TValue EvalOperation(const TCalcTree& tree, int32_t index);
    TValue EvalChain(const TCalcTree& tree, int32_t index);
    TValue Apply(const TCalcTree& tree, const TCalcNode& node, TValue left, TValue* right);
    TValue EvalFunction(const TCalcTree& tree, const TCalcNode& node);
    TValue EvalName(std::string_view name);
    TValue EvalAssign(const TCalcTree& tree, const TCalcNode& node);
    TValue EvalSub(std::string_view formula, bool& failed);
    TValue Unquoted(std::string value) const;
    void PushParam(std::string text);

    std::shared_ptr<TText> m_variables;
    std::unique_ptr<TShared> m_ownShared;
    TShared* m_shared;
    TCalcul* m_root = this;
    const TClock& m_clock;
    bool m_failed = false;
    bool m_limitReached = false;
    std::string m_errorText;
    TResultKind m_resultKind = rkNumber;
    // Argument lists of the calls being evaluated, innermost last; each
    // gathers its arguments from the last to the first.
    std::vector<std::vector<std::string>> m_params;
};

} // namespace tramble
