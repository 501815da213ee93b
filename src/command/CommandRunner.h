#pragma once

#include "platform/Clock.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tramble {

class TCalcul;

// What running one line did, for the box to show.
struct TRunResult {
    enum TKind {
        Nothing,    // empty line
        Command,    // a ">" line: no history entry, no selection change
        Started,    // a program started
        Calculated, // the formula's result is the new text
        Failed,     // neither a program nor a valid formula
    };
    TKind Kind = Nothing;
    std::optional<std::string> Text; // the box's new text, when it changes
    std::string Error;               // why ">DebugStatus" could not write its file
};

// Runs the lines of the command box: a ">" command of the bar, else a
// command line started as a program, else a formula of the bar's evaluator,
// whose variables live from one line to the next.
class TCommandRunner {
public:
    struct THooks {
        // Starts a command line; 32 or more when a program started.
        std::function<int(const std::string& commandLine)> WinExec;
        std::function<void()> Exit;
        std::function<void()> About;
        std::function<void()> Option;
        std::string DebugLogPath;
    };

    // clock: the time ">DebugStatus" writes.
    TCommandRunner(TCalcul& calcul, THooks hooks, const TClock& clock = SystemClock());

    // history: the box's list, most recent first; every line that is no ">"
    // command goes to its top before it runs.
    TRunResult RunCommandLine(const std::string& line, std::vector<std::string>& history);

    bool DebugOn() const { return m_debug; }

private:
    TRunResult RunBarCommand(const std::string& line);

    TCalcul& m_calcul;
    THooks m_hooks;
    const TClock& m_clock;
    bool m_debug = false;
};

} // namespace tramble
