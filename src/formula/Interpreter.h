#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tramble {

class TCalcul;

// One entry of the block stack.
struct TBlockFrame {
    enum TKind : int8_t { Plain, Loop, Call };

    int Depth = 0;        // brace depth at which the block was opened
    bool Running = true;  // its statements run (else they are skipped)
    TKind Kind = Plain;   // a finished loop becomes a skipped plain block
    int Count = 0;        // repetitions of a loop
    size_t Resume = 0;    // loop: its body's "{"; call: where reading resumes
    size_t CondStart = 0; // loop: its condition
    size_t CondLength = 0;
    bool Bare = false; // a "{ }" of its own, which no ELSE may follow
};

// Runs a small block-structured script whose statements are formulas of the
// bound calculator: IF cond THEN { } ELSE { }, WHILE cond DO { }, BREAK,
// CONTINUE, PROCEDURE name { } with EXEC name and EXIT, BEEP and END. It
// reads the text by positions, counting braces and jumping back to repeat a
// loop or to return from a procedure. Variables stay in the calculator.
class TInterpreter {
public:
    static constexpr int kMaxWhileCount = 65000;
    static constexpr size_t kMaxFrames = 10000;

    void Execute();

    bool Failed() const { return m_failed; }
    const std::string& ErrorText() const { return m_errorText; }
    // 1-based position in the script where the error was found.
    int ErrorPos() const { return m_errorPos; }

    std::string Script;
    TCalcul* Calculator = nullptr; // not owned
    std::function<void()> OnBeep;
    // Loop repetitions and procedure calls allowed in one run; 0 for no limit.
    size_t StepLimit = 0;

private:
    enum class TKeyword { None, If, While, Exec, Else, Exit, Break, Continue, Beep, End };

    struct TFound {
        size_t Start;  // of the condition
        size_t Length; // of the condition
        size_t Brace;  // the "{" after the keyword
    };
    struct TCondition {
        TFound Found;
        std::string Result; // of the condition's formula
    };

    bool ScanProcedures();
    void Step();
    TKeyword KeywordAt(size_t pos) const;
    static size_t KeywordLength(TKeyword keyword);
    bool AtWordStart(size_t pos) const;
    std::optional<TFound> FindKeyword(std::string_view keyword, size_t from, size_t keywordPos);

    bool RunPending(size_t end);
    bool EvalCondition(std::string_view condition, size_t errorPos, bool plainError, std::string& result);
    std::optional<TCondition> RunCondition(size_t pos, size_t keywordLength, std::string_view closing,
                                           const std::string& syntaxError);
    bool Push(const TBlockFrame& frame, size_t errorPos, bool call);
    void DropTo(size_t size);
    bool CountStep(size_t errorPos);
    void ResumeBody(TBlockFrame& frame);
    std::optional<size_t> Nearest(TBlockFrame::TKind kind) const;

    void CloseBlock(size_t pos);
    void DoIf(size_t pos);
    void DoWhile(size_t pos);
    void DoElse(size_t pos);
    void DoExec(size_t pos);
    void DoExit();
    void DoBreak();
    void DoContinue(size_t pos);

    void Fail(std::string message, size_t position);

    bool m_failed = false;
    bool m_finished = false;
    std::string m_errorText;
    int m_errorPos = 0;

    std::unordered_map<std::string, size_t> m_procedures; // upper-cased name to its "{"
    std::vector<TBlockFrame> m_stack;
    std::optional<TBlockFrame> m_lastPopped; // the plain block the last "}" closed
    size_t m_lastPoppedAt = 0;
    size_t m_pos = 0;
    size_t m_pending = 0; // where formula text not yet run begins
    int m_depth = 0;
    size_t m_calls = 0;
    size_t m_steps = 0;
};

} // namespace tramble
