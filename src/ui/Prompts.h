#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QDialog;
class QWidget;

namespace tramble {

// Every modal prompt of the program runs through here: message boxes, the
// argument prompt, file and folder pickers and the program's own dialogs.
// Prompts are shown topmost; tests answer them instead of a person; and
// shut-down closes whatever is open, as cancelled, before it frees anything.

// Shows the dialog modally and returns its result. Returns QDialog::Rejected
// without showing it once shut-down has begun, and when shut-down closed it.
int RunPrompt(QDialog& dialog);

QMessageBox::StandardButton ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                        const QString& caption, QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// A one-line text; nothing when cancelled.
std::optional<QString> AskText(QWidget* parent, const QString& caption, const QString& label, const QString& text = {});

// An existing file; nothing when cancelled. filters as QFileDialog takes them.
std::optional<QString> AskOpenFile(QWidget* parent, const QString& caption, const QString& folder = {},
                                   const QString& filters = {});
// An existing folder; nothing when cancelled.
std::optional<QString> AskFolder(QWidget* parent, const QString& caption, const QString& folder = {});

// Shut-down: every open prompt is closed as cancelled, and every later one is
// refused without being shown. Their callers unwind through their cancel path.
void CloseAllPrompts();
// How many prompts are open (their nested event loops still run).
int OpenPromptCount();
// Whether CloseAllPrompts has been called.
bool PromptsClosed();

// Test seams. While a message hook is set, message boxes are not shown: the
// hook sees each one and gives the answer.
using TMessageHook =
    std::function<QMessageBox::StandardButton(QMessageBox::Icon icon, const QString& text, const QString& caption)>;
void SetMessageHook(TMessageHook hook);
// While a prompt hook is set, it is called with every other prompt once the
// prompt is shown; it fills it in and accepts or rejects it (or leaves it open).
using TPromptHook = std::function<void(QDialog& dialog)>;
void SetPromptHook(TPromptHook hook);
// Lets prompts be shown again (tests that shut a bar down and make another).
void ReopenPrompts();

} // namespace tramble
