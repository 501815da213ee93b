#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace tramble {

// Every message box of the bar goes through here: topmost, with the given
// text and caption. Tests answer it instead of a person.
QMessageBox::StandardButton ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                        const QString& caption, QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// While set, boxes are not shown: the hook sees each one and gives the answer.
using TMessageHook =
    std::function<QMessageBox::StandardButton(QMessageBox::Icon icon, const QString& text, const QString& caption)>;
void SetMessageHook(TMessageHook hook);

} // namespace tramble
