#include "command/ui/CommandBox.h"

#include "i18n/Language.h"
#include "platform/WinExec.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace tramble {
namespace {

TCommandRunner::THooks WithPlatformStart(TCommandRunner::THooks hooks)
{
    if (!hooks.WinExec)
        hooks.WinExec = &platform::WinExec;
    return hooks;
}

// Holds the bar while a line runs: it may start a program or show a box.
class THold {
public:
    THold(const std::function<void()>& hold, const std::function<void()>& release) : m_release(release)
    {
        if (hold)
            hold();
    }
    ~THold()
    {
        if (m_release)
            m_release();
    }
    THold(const THold&) = delete;
    THold& operator=(const THold&) = delete;

private:
    const std::function<void()>& m_release;
};

} // namespace

TCommandBox::TCommandBox(QComboBox* box, TCalcul& calcul, const TLanguage& language, THooks hooks)
    : m_box(box), m_language(language), m_message(std::move(hooks.Message)), m_holdBar(std::move(hooks.HoldBar)),
      m_releaseBar(std::move(hooks.ReleaseBar)), m_runner(calcul, WithPlatformStart(std::move(hooks.Runner)))
{
    m_box->setEditable(true);
    m_box->setInsertPolicy(QComboBox::NoInsert);
    m_box->setCompleter(nullptr);
    // Enter is taken before the box sees it, so that the box's own handling
    // of the key (picking a list line of the same text) never runs.
    m_box->installEventFilter(this);
    m_box->lineEdit()->installEventFilter(this);
}

bool TCommandBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_box && watched != m_box->lineEdit())
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        RunCommandLine();
        return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick && watched == m_box->lineEdit()) {
        RunCommandLine();
        return true;
    }
    return false;
}

void TCommandBox::RunCommandLine()
{
    const QString text = m_box->currentText();
    if (text.isEmpty())
        return;
    const THold hold(m_holdBar, m_releaseBar);
    std::vector<std::string> history = History();
    const TRunResult result = m_runner.RunCommandLine(text.toStdString(), history);
    switch (result.Kind) {
    case TRunResult::Nothing: return;
    case TRunResult::Command:
        if (result.Text)
            m_box->setEditText(QString::fromStdString(*result.Text));
        if (!result.Error.empty())
            Show(QMessageBox::Critical, result.Error);
        return;
    case TRunResult::Started:
    case TRunResult::Calculated:
    case TRunResult::Failed: break;
    }
    ShowHistory(history, result.Text ? QString::fromStdString(*result.Text) : text);
    if (result.Kind == TRunResult::Failed)
        Show(QMessageBox::Warning, m_language.Text("Message", "RunError"));
    m_box->lineEdit()->selectAll();
    m_box->setFocus();
}

std::vector<std::string> TCommandBox::History() const
{
    std::vector<std::string> history;
    for (int i = 0; i < m_box->count(); ++i)
        history.push_back(m_box->itemText(i).toStdString());
    return history;
}

void TCommandBox::ShowHistory(const std::vector<std::string>& history, const QString& text)
{
    m_box->clear();
    for (const std::string& line : history)
        m_box->addItem(QString::fromStdString(line));
    // Filling the list picks its first line; the box shows what it should.
    m_box->setCurrentIndex(-1);
    m_box->setEditText(text);
}

void TCommandBox::Show(QMessageBox::Icon icon, const std::string& text)
{
    if (m_message)
        m_message(icon, QString::fromStdString(text), QString::fromStdString(m_language.Text("Message", "Error")));
}

} // namespace tramble
