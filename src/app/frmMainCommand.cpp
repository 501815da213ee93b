// The command box and the bar's evaluator, with the script interpreter bound
// to that evaluator.
#include "app/frmMain.h"

#include "command/ui/CommandBox.h"
#include "formula/Calcul.h"
#include "formula/Interpreter.h"
#include "ui/Prompts.h"

#include <QAction>
#include <QApplication>

namespace tramble {

void TfrmMain::SetUpCommandBox()
{
    m_calcul = std::make_unique<TCalcul>();
    m_interpreter = std::make_unique<TInterpreter>();
    m_interpreter->Calculator = m_calcul.get();
    m_interpreter->OnBeep = [] { QApplication::beep(); };

    TCommandBox::THooks hooks;
    hooks.Runner.Exit = [this] { ExitProgram(); };
    // The same as the menu items, which open their windows once wired.
    hooks.Runner.About = [this] { m_menus.pmAbout->trigger(); };
    hooks.Runner.Option = [this] { m_menus.pmOption->trigger(); };
    hooks.Runner.DebugLogPath = m_env.AppDir + "/debug.log";
    hooks.Message = [this](QMessageBox::Icon icon, const QString& text, const QString& caption) {
        ShowMessage(this, icon, text, caption);
    };
    hooks.HoldBar = [this] { HoldBar(); };
    hooks.ReleaseBar = [this] { ReleaseBar(); };
    m_commandBox = std::make_unique<TCommandBox>(cbbCmd, *m_calcul, m_language, std::move(hooks));
}

} // namespace tramble
