#include "ui/Prompts.h"

#include "ui/DialogPlace.h"

#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <utility>
#include <vector>

namespace tramble {
namespace {

struct TPromptState {
    TMessageHook MessageHook;
    TPromptHook PromptHook;
    std::vector<QPointer<QDialog>> Open;
    bool Closed = false;
};

TPromptState& State()
{
    static TPromptState state;
    return state;
}

// Keeps the dialog in the list of open prompts while it runs.
class TOpenPrompt {
public:
    explicit TOpenPrompt(QDialog& dialog) : m_dialog(&dialog) { State().Open.push_back(m_dialog); }
    ~TOpenPrompt()
    {
        auto& open = State().Open;
        open.erase(std::remove_if(open.begin(), open.end(),
                                  [this](const QPointer<QDialog>& d) { return d.isNull() || d == m_dialog; }),
                   open.end());
    }
    TOpenPrompt(const TOpenPrompt&) = delete;
    TOpenPrompt& operator=(const TOpenPrompt&) = delete;

private:
    QPointer<QDialog> m_dialog;
};

} // namespace

int RunPrompt(QDialog& dialog)
{
    if (State().Closed)
        return QDialog::Rejected;
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    // In the middle of the desktop: beside a small bar at an edge a prompt
    // would open half off the desktop or over the bar. A place the caller
    // chose stays.
    if (!dialog.testAttribute(Qt::WA_Moved))
        CentreOnDesktop(dialog);
    TOpenPrompt open(dialog);
    if (State().PromptHook) {
        QPointer<QDialog> shown(&dialog);
        QTimer::singleShot(0, &dialog, [shown] {
            if (shown && State().PromptHook)
                State().PromptHook(*shown);
        });
    }
    return dialog.exec();
}

QMessageBox::StandardButton ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                        const QString& caption, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton)
{
    if (State().Closed)
        return QMessageBox::Cancel;
    if (State().MessageHook)
        return State().MessageHook(icon, text, caption);
    QMessageBox box(icon, caption, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    const int result = RunPrompt(box);
    // A box closed by shut-down answers as cancelled, whatever buttons it had.
    if (State().Closed)
        return QMessageBox::Cancel;
    return static_cast<QMessageBox::StandardButton>(result);
}

std::optional<QString> AskText(QWidget* parent, const QString& caption, const QString& label, const QString& text)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(label);
    dialog.setTextValue(text);
    dialog.setInputMode(QInputDialog::TextInput);
    if (RunPrompt(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::optional<QString> AskOpenFile(QWidget* parent, const QString& caption, const QString& folder,
                                   const QString& filters)
{
    QFileDialog dialog(parent, caption, folder, filters);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // The platform's own dialog would run outside our control (and our tests).
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (RunPrompt(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> AskFolder(QWidget* parent, const QString& caption, const QString& folder)
{
    QFileDialog dialog(parent, caption, folder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (RunPrompt(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

void CloseAllPrompts()
{
    State().Closed = true;
    // Newest first: an inner prompt's loop must end before the one below it.
    const std::vector<QPointer<QDialog>> open = State().Open;
    for (auto it = open.rbegin(); it != open.rend(); ++it) {
        if (*it)
            (*it)->reject();
    }
}

int OpenPromptCount()
{
    return static_cast<int>(State().Open.size());
}

bool PromptsClosed()
{
    return State().Closed;
}

void SetMessageHook(TMessageHook hook)
{
    State().MessageHook = std::move(hook);
}

void SetPromptHook(TPromptHook hook)
{
    State().PromptHook = std::move(hook);
}

void ReopenPrompts()
{
    State().Closed = false;
}

} // namespace tramble
