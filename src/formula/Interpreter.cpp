#include "formula/Interpreter.h"

#include "formula/Calcul.h"
#include "text/TextConvert.h"

#include <algorithm>

namespace tramble {
namespace {

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool IsControl(char c)
{
    return static_cast<unsigned char>(c) <= 13;
}
bool IsSpace(char c)
{
    return c == ' ' || IsControl(c);
}

// Follows strings (double and single quotes, each ignoring the other kind)
// and comments. Quotes count inside comments too, so a comment must not hold
// an unpaired quote.
struct TScanState {
    bool InDouble = false;
    bool InSingle = false;
    bool InComment = false;

    // How many characters at pos belong to a string or comment; 0 for code.
    size_t Skip(std::string_view s, size_t pos)
    {
        const char c = s[pos];
        const char next = pos + 1 < s.size() ? s[pos + 1] : '\0';
        if (InDouble) {
            InDouble = c != '"';
            return 1;
        }
        if (InSingle) {
            InSingle = c != '\'';
            return 1;
        }
        if (c == '"' || c == '\'') {
            (c == '"' ? InDouble : InSingle) = true;
            return 1;
        }
        if (InComment) {
            if (c == '*' && next == '/') {
                InComment = false;
                return 2;
            }
            return 1;
        }
        if (c == '/' && next == '*') {
            InComment = true;
            return 2;
        }
        return 0;
    }
};

// Comments become blanks of the same length, so positions keep their meaning.
std::string StripComments(std::string_view text)
{
    std::string out(text);
    TScanState state;
    for (size_t i = 0; i < text.size();) {
        const bool wasComment = state.InComment;
        const size_t length = state.Skip(text, i);
        if (length == 0) {
            ++i;
            continue;
        }
        if (wasComment || state.InComment)
            out.replace(i, std::min(length, text.size() - i), std::min(length, text.size() - i), ' ');
        i += length;
    }
    return out;
}

bool MatchesWord(std::string_view s, size_t pos, std::string_view word)
{
    return s.size() - pos >= word.size() && SameTextAscii(s.substr(pos, word.size()), word);
}

std::string Upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = UpperAscii(c);
    return out;
}

size_t SkipSpaces(std::string_view s, size_t pos)
{
    while (pos < s.size() && IsSpace(s[pos]))
        ++pos;
    return pos;
}

} // namespace

void TInterpreter::Fail(std::string message, size_t position)
{
    if (m_failed)
        return;
    m_failed = true;
    m_errorText = std::move(message);
    m_errorPos = static_cast<int>(position);
}

void TInterpreter::Execute()
{
    m_failed = false;
    m_finished = false;
    m_errorText.clear();
    m_errorPos = 0;
    if (!Calculator)
        return Fail("Errro, CALCUL object is nil", 0);
    if (!ScanProcedures())
        return;
    m_stack.clear();
    m_stack.reserve(20);
    m_stack.push_back(TBlockFrame{});
    m_lastPopped.reset();
    m_pos = 0;
    m_pending = 0;
    m_depth = 0;
    m_calls = 0;
    m_steps = 0;
    while (!m_failed && !m_finished && m_pos < Script.size())
        Step();
}

bool TInterpreter::ScanProcedures()
{
    m_procedures.clear();
    const std::string_view s = Script;
    const std::string length = std::to_string(s.size());
    const std::string bracesMessage = "Invalid syntax: count of angle brackets, from ";
    TScanState state;
    int count = 0;
    for (size_t pos = 0; pos < s.size();) {
        if (size_t skipped = state.Skip(s, pos)) {
            pos += skipped;
            continue;
        }
        const char c = s[pos];
        if (c == '{') {
            ++count;
        } else if (c == '}' && --count < 0) {
            Fail(bracesMessage + std::to_string(pos + 1), pos + 1);
            return false;
        } else if ((c == 'P' || c == 'p') && AtWordStart(pos) && MatchesWord(s, pos, "PROCEDURE ")) {
            size_t p = SkipSpaces(s, pos + 10);
            if (p >= s.size() || !(IsLetter(s[p]) || s[p] == '_')) {
                std::string found = p < s.size() ? std::string(1, s[p]) : std::string();
                const size_t at = std::min(p + 1, s.size());
                Fail("Invalid first character in procedure name (" + found + ") from " + std::to_string(at), at);
                return false;
            }
            const size_t nameStart = p;
            while (p < s.size() && (IsLetter(s[p]) || IsDigit(s[p]) || s[p] == '_'))
                ++p;
            const std::string name = Upper(s.substr(nameStart, p - nameStart));
            p = SkipSpaces(s, p);
            if (p >= s.size() || s[p] != '{') {
                Fail("Invalid procedure definitions from " + length, s.size());
                return false;
            }
            m_procedures.emplace(name, p); // the first definition of a name wins
            pos = p;
            continue;
        }
        ++pos;
    }
    if (count != 0) {
        Fail(bracesMessage + length, s.size());
        return false;
    }
    return true;
}

bool TInterpreter::AtWordStart(size_t pos) const
{
    if (pos == 0)
        return true;
    const char before = Script[pos - 1];
    return !(IsLetter(before) || IsDigit(before) || before == '_' || before == '.');
}

size_t TInterpreter::KeywordLength(TKeyword keyword)
{
    switch (keyword) {
    case TKeyword::If: return 2;
    case TKeyword::While:
    case TKeyword::Break: return 5;
    case TKeyword::Continue: return 8;
    case TKeyword::None: return 0;
    default: return 4; // EXEC, ELSE, EXIT, BEEP, END.
    }
}

TInterpreter::TKeyword TInterpreter::KeywordAt(size_t pos) const
{
    const std::string_view s = Script;
    auto followedBy = [&](size_t length, std::string_view extra, bool endOk) {
        if (pos + length >= s.size())
            return endOk;
        const char next = s[pos + length];
        return IsSpace(next) || extra.find(next) != std::string_view::npos;
    };
    auto blankAfter = [&](size_t length) { return pos + length < s.size() && s[pos + length] == ' '; };
    switch (UpperAscii(s[pos])) {
    case 'I':
        if (MatchesWord(s, pos, "IF") && blankAfter(2))
            return TKeyword::If;
        break;
    case 'W':
        if (MatchesWord(s, pos, "WHILE") && blankAfter(5))
            return TKeyword::While;
        break;
    case 'E':
        if (MatchesWord(s, pos, "EXEC") && blankAfter(4))
            return TKeyword::Exec;
        if (MatchesWord(s, pos, "ELSE") && followedBy(4, "{", false))
            return TKeyword::Else;
        if (MatchesWord(s, pos, "EXIT") && followedBy(4, ";{}", false))
            return TKeyword::Exit;
        if (MatchesWord(s, pos, "END.") && followedBy(4, ";", true))
            return TKeyword::End;
        break;
    case 'B':
        if (MatchesWord(s, pos, "BREAK") && followedBy(5, ";{}", false))
            return TKeyword::Break;
        if (MatchesWord(s, pos, "BEEP") && followedBy(4, ";{}", false))
            return TKeyword::Beep;
        break;
    case 'C':
        if (MatchesWord(s, pos, "CONTINUE") && followedBy(8, ";{}", false))
            return TKeyword::Continue;
        break;
    default: break;
    }
    return TKeyword::None;
}

void TInterpreter::Step()
{
    // Strings and comments only move the position on. Reading is never inside
    // one at a code position, which is where every jump lands.
    const std::string_view s = Script;
    const size_t pos = m_pos;
    const char c = s[pos];
    if (c == '"' || c == '\'' || (c == '/' && pos + 1 < s.size() && s[pos + 1] == '*')) {
        TScanState state;
        size_t p = pos;
        do
            p += state.Skip(s, p);
        while (p < s.size() && (state.InDouble || state.InSingle || state.InComment));
        m_pos = p;
        return;
    }
    if (c == '{') {
        // A bare block: it runs as its enclosing block does.
        ++m_pos;
        TBlockFrame frame{m_depth, m_stack.back().Running};
        frame.Bare = true;
        if (Push(frame, pos + 1, false))
            ++m_depth;
        return;
    }
    if (c == '}')
        return CloseBlock(pos);
    const TKeyword keyword =
        m_stack.back().Running && IsLetter(c) && AtWordStart(pos) ? KeywordAt(pos) : TKeyword::None;
    if (keyword == TKeyword::None) {
        ++m_pos;
        return;
    }
    switch (keyword) {
    case TKeyword::If: return DoIf(pos);
    case TKeyword::While: return DoWhile(pos);
    case TKeyword::Else: return DoElse(pos);
    case TKeyword::Exec: return DoExec(pos);
    default: break;
    }
    if (!RunPending(pos))
        return;
    m_pos = m_pending = pos + KeywordLength(keyword);
    switch (keyword) {
    case TKeyword::Exit: return DoExit();
    case TKeyword::Break: return DoBreak();
    case TKeyword::Continue: return DoContinue(pos);
    case TKeyword::Beep:
        if (OnBeep)
            OnBeep();
        return;
    case TKeyword::End: m_finished = true; return;
    default: return;
    }
}

bool TInterpreter::RunPending(size_t end)
{
    const size_t start = std::min(m_pending, end);
    std::string_view text = std::string_view(Script).substr(start, end - start);
    std::string stripped;
    if (text.find("/*") != std::string_view::npos) {
        stripped = StripComments(text);
        text = stripped;
    }
    size_t first = 0;
    while (first < text.size() &&
           (static_cast<unsigned char>(text[first]) <= 32 || text[first] == ';' || text[first] == '{'))
        ++first;
    const std::string_view formula = Trim(text.substr(first));
    if (formula.empty() || formula == ";")
        return true;
    Calculator->Formula.assign(formula);
    try {
        Calculator->Calculate();
    } catch (...) {
        Fail("Invalid formula:" + std::string(formula), start + first + 1);
        return false;
    }
    if (Calculator->Failed()) {
        Fail(Calculator->ErrorText() + "\r\n formula:" + std::string(formula), start + first + 1);
        return false;
    }
    return true;
}

bool TInterpreter::EvalCondition(std::string_view condition, size_t errorPos, bool plainError, std::string& result)
{
    std::string stripped;
    if (condition.find("/*") != std::string_view::npos) {
        stripped = StripComments(condition);
        condition = stripped;
    }
    const std::string_view text = Trim(condition);
    Calculator->Formula.assign("logic( ").append(text).append(" )");
    try {
        result = Calculator->Calculate();
    } catch (...) {
        Fail("Invalid formula:" + std::string(text), errorPos);
        return false;
    }
    if (Calculator->Failed()) {
        Fail(plainError ? Calculator->ErrorText() : Calculator->ErrorText() + "\r\nFormula:" + std::string(text),
             errorPos);
        return false;
    }
    return true;
}

std::optional<TInterpreter::TFound> TInterpreter::FindKeyword(std::string_view keyword, size_t from, size_t keywordPos)
{
    const std::string_view s = Script;
    TScanState state;
    for (size_t p = from; p < s.size();) {
        if (size_t skipped = state.Skip(s, p)) {
            p += skipped;
            continue;
        }
        const char c = s[p];
        if (c == ';' || c == '{' || c == '}') {
            Fail("Syntax error from " + std::to_string(p + 1), p + 1);
            return std::nullopt;
        }
        const bool before = p > 0 && (IsSpace(s[p - 1]) || s[p - 1] == ')' || s[p - 1] == ';');
        const size_t end = p + keyword.size();
        if (before && MatchesWord(s, p, keyword) && (end == s.size() || IsSpace(s[end]) || s[end] == '{')) {
            const size_t brace = SkipSpaces(s, end);
            if (brace >= s.size() || s[brace] != '{') {
                Fail("Incorrect syntax:" + std::string(keyword) + " lack \"{\" form " + std::to_string(p + 1), p + 1);
                return std::nullopt;
            }
            std::string_view condition = s.substr(from, p - from);
            const size_t lead = condition.size() - TrimLeft(condition).size();
            return TFound{from + lead, Trim(condition).size(), brace};
        }
        ++p;
    }
    Fail("Incorrect syntax: lack \"" + std::string(keyword) + "\" key word from " + std::to_string(keywordPos + 1),
         keywordPos + 1);
    return std::nullopt;
}

bool TInterpreter::Push(const TBlockFrame& frame, size_t errorPos, bool call)
{
    if (m_stack.size() >= kMaxFrames) {
        const std::string limit = std::to_string(kMaxFrames);
        Fail(call ? "Overflow EXEC depth limit (set max. " + limit + ")"
                  : "Overflow block depth limit (set max. " + limit + ")",
             errorPos);
        return false;
    }
    m_stack.push_back(frame);
    if (frame.Kind == TBlockFrame::Call)
        ++m_calls;
    return true;
}

void TInterpreter::DropTo(size_t size)
{
    while (m_stack.size() > size) {
        if (m_stack.back().Kind == TBlockFrame::Call)
            --m_calls;
        m_stack.pop_back();
    }
}

bool TInterpreter::CountStep(size_t errorPos)
{
    if (StepLimit != 0 && ++m_steps > StepLimit) {
        Fail("Overflow step limit (set max. " + std::to_string(StepLimit) + ")", errorPos);
        return false;
    }
    return true;
}

void TInterpreter::ResumeBody(TBlockFrame& frame)
{
    m_pos = m_pending = frame.Resume + 1;
    m_depth = frame.Depth + 1;
}

std::optional<size_t> TInterpreter::Nearest(TBlockFrame::TKind kind) const
{
    for (size_t i = m_stack.size(); i-- > 1;) {
        if (m_stack[i].Kind == kind)
            return i;
    }
    return std::nullopt;
}

void TInterpreter::CloseBlock(size_t pos)
{
    TBlockFrame& top = m_stack.back();
    if (top.Running && !RunPending(pos))
        return;
    m_pos = m_pending = pos + 1;
    const int before = m_depth--;
    if (m_depth < 0)
        return Fail("Incorrect syntax ?} from " + std::to_string(pos + 1), pos + 1);
    if (before != top.Depth + 1 || m_stack.size() == 1)
        return;
    switch (top.Kind) {
    case TBlockFrame::Plain:
        m_lastPopped = top;
        m_lastPoppedAt = pos;
        m_stack.pop_back();
        return;
    case TBlockFrame::Loop: {
        std::string result;
        if (!EvalCondition(std::string_view(Script).substr(top.CondStart, top.CondLength), pos + 1, true, result))
            return;
        if (result != "0") {
            if (++top.Count > kMaxWhileCount)
                return Fail("Overflow WHILE count limit (set max. " + std::to_string(kMaxWhileCount) + ")", pos + 1);
            if (!CountStep(pos + 1))
                return;
        } else {
            top.Kind = TBlockFrame::Plain;
            top.Running = false;
        }
        return ResumeBody(top);
    }
    case TBlockFrame::Call:
        m_pos = m_pending = top.Resume;
        DropTo(m_stack.size() - 1);
        return;
    }
}

// The pending text run, then the condition between the keyword at pos and
// its closing word; nothing when either failed.
std::optional<TInterpreter::TCondition>
TInterpreter::RunCondition(size_t pos, size_t keywordLength, std::string_view closing, const std::string& syntaxError)
{
    if (!RunPending(pos))
        return std::nullopt;
    std::optional<TFound> found = FindKeyword(closing, pos + keywordLength, pos);
    if (!found)
        return std::nullopt;
    const std::string_view condition = std::string_view(Script).substr(found->Start, found->Length);
    if (condition.empty() || condition == ";") {
        Fail(syntaxError + std::to_string(pos + 1), pos + 1);
        return std::nullopt;
    }
    std::string result;
    if (!EvalCondition(condition, pos + 1, false, result))
        return std::nullopt;
    return TCondition{*found, std::move(result)};
}

void TInterpreter::DoIf(size_t pos)
{
    const std::optional<TCondition> condition = RunCondition(pos, 2, "THEN", "Incorrect syntax IF ... THEN from ");
    if (!condition)
        return;
    if (!Push(TBlockFrame{m_depth, condition->Result == "1"}, pos + 1, false))
        return;
    ++m_depth;
    m_pos = m_pending = condition->Found.Brace + 1;
}

void TInterpreter::DoWhile(size_t pos)
{
    const std::optional<TCondition> condition = RunCondition(pos, 5, "DO", "Incorrect syntax WHILE ?... DO from ");
    if (!condition)
        return;
    const TFound& found = condition->Found;
    TBlockFrame frame{m_depth, true, TBlockFrame::Loop, 0, found.Brace, found.Start, found.Length};
    if (condition->Result == "0") {
        frame.Kind = TBlockFrame::Plain;
        frame.Running = false;
    }
    if (!Push(frame, pos + 1, false))
        return;
    ResumeBody(m_stack.back());
}

void TInterpreter::DoElse(size_t pos)
{
    const std::string_view s = Script;
    size_t before = pos;
    while (before > 0 && IsSpace(s[before - 1]))
        --before;
    if (before == 0 || s[before - 1] != '}')
        return Fail("Incorrect syntax:  lack \"}\" before ELSE from " + std::to_string(pos + 1), pos + 1);
    const size_t brace = SkipSpaces(s, pos + 4);
    if (brace >= s.size() || s[brace] != '{')
        return Fail("Incorrect syntax: lack \"{\" after ELSE from " + std::to_string(pos + 1), pos + 1);
    if (!RunPending(pos))
        return;
    if (!m_lastPopped || m_lastPoppedAt != before - 1 || m_lastPopped->Kind != TBlockFrame::Plain ||
        m_lastPopped->Bare || m_lastPopped->Depth != m_depth)
        return Fail("Incorrect syntax ?ELSE from " + std::to_string(pos + 1), pos + 1);
    TBlockFrame frame = *m_lastPopped;
    m_lastPopped.reset();
    frame.Running = !frame.Running;
    if (!Push(frame, pos + 1, false))
        return;
    ++m_depth;
    m_pos = m_pending = brace + 1;
}

void TInterpreter::DoExec(size_t pos)
{
    if (!RunPending(pos))
        return;
    const std::string_view s = Script;
    const size_t nameStart = SkipSpaces(s, pos + 4);
    size_t p = nameStart;
    while (p < s.size() && (IsLetter(s[p]) || IsDigit(s[p]) || s[p] == '_'))
        ++p;
    const std::string name = Upper(s.substr(nameStart, p - nameStart));
    auto procedure = m_procedures.find(name);
    if (name.empty() || IsDigit(name[0]) || procedure == m_procedures.end()) {
        const size_t at = std::min(nameStart + 1, s.size());
        return Fail("Invalid EXEC procedure name from " + std::to_string(at), at);
    }
    if (!CountStep(pos + 1))
        return;
    if (!Push(TBlockFrame{m_depth, true, TBlockFrame::Call, 0, p}, pos + 1, true))
        return;
    ++m_depth;
    m_pos = m_pending = procedure->second + 1;
}

void TInterpreter::DoExit()
{
    std::optional<size_t> call = Nearest(TBlockFrame::Call);
    if (!call) {
        m_finished = true;
        return;
    }
    const TBlockFrame frame = m_stack[*call];
    DropTo(*call);
    m_pos = m_pending = frame.Resume;
    m_depth = frame.Depth;
}

void TInterpreter::DoBreak()
{
    std::optional<size_t> loop = Nearest(TBlockFrame::Loop);
    if (!loop) {
        m_finished = true;
        return;
    }
    DropTo(*loop + 1);
    TBlockFrame& frame = m_stack.back();
    frame.Kind = TBlockFrame::Plain;
    frame.Running = false;
    ResumeBody(frame);
}

void TInterpreter::DoContinue(size_t pos)
{
    std::optional<size_t> loop = Nearest(TBlockFrame::Loop);
    if (!loop) {
        m_finished = true;
        return;
    }
    DropTo(*loop + 1);
    TBlockFrame& frame = m_stack.back();
    std::string result;
    if (!EvalCondition(std::string_view(Script).substr(frame.CondStart, frame.CondLength), pos + 1, false, result))
        return;
    if (result != "0") {
        // Counted like any other repetition, so CONTINUE cannot loop forever.
        if (++frame.Count > kMaxWhileCount)
            return Fail("Overflow WHILE count limit (set max. " + std::to_string(kMaxWhileCount) + ")", pos + 1);
        if (!CountStep(pos + 1))
            return;
    } else {
        frame.Kind = TBlockFrame::Plain;
        frame.Running = false;
    }
    ResumeBody(frame);
}

} // namespace tramble
