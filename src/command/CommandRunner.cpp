#include "command/CommandRunner.h"

#include "command/BarCommand.h"
#include "command/CommandHistory.h"
#include "command/DebugLog.h"
#include "formula/Calcul.h"
#include "store/FastIniFile.h"

namespace tramble {
namespace {

// The lowest result of a start that worked.
constexpr int kFirstStarted = 32;

void Call(const std::function<void()>& action)
{
    if (action)
        action();
}

} // namespace

TCommandRunner::TCommandRunner(TCalcul& calcul, THooks hooks, const TClock& clock)
    : m_calcul(calcul), m_hooks(std::move(hooks)), m_clock(clock)
{
}

TRunResult TCommandRunner::RunCommandLine(const std::string& line, std::vector<std::string>& history)
{
    if (line.empty())
        return {};
    if (IsBarCommandLine(line))
        return RunBarCommand(line);

    AddToHistory(history, line);
    TRunResult result;
    if (m_hooks.WinExec && m_hooks.WinExec(line) >= kFirstStarted) {
        result.Kind = TRunResult::Started;
        return result;
    }
    m_calcul.Formula = line;
    std::string value = m_calcul.Calculate();
    if (m_calcul.Failed()) {
        result.Kind = TRunResult::Failed;
        return result;
    }
    result.Kind = TRunResult::Calculated;
    result.Text = std::move(value);
    return result;
}

TRunResult TCommandRunner::RunBarCommand(const std::string& line)
{
    TRunResult result;
    result.Kind = TRunResult::Command;
    switch (FindBarCommand(line)) {
    case TBarCommand::Exit: Call(m_hooks.Exit); break;
    case TBarCommand::About: Call(m_hooks.About); break;
    case TBarCommand::Option: Call(m_hooks.Option); break;
    case TBarCommand::Debug:
        m_debug = !m_debug;
        result.Text = m_debug ? "on" : "off";
        break;
    case TBarCommand::DebugStatus:
        try {
            AppendDebugStatus(m_hooks.DebugLogPath, DebugStamp(std::chrono::system_clock::to_time_t(m_clock.Now())));
        } catch (const EFileError& e) {
            result.Error = e.what();
        }
        break;
    case TBarCommand::None: break;
    }
    return result;
}

} // namespace tramble
