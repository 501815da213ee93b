#include "app/MessageBox.h"

#include <utility>

namespace tramble {
namespace {

TMessageHook& Hook()
{
    static TMessageHook hook;
    return hook;
}

} // namespace

void SetMessageHook(TMessageHook hook)
{
    Hook() = std::move(hook);
}

QMessageBox::StandardButton ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                        const QString& caption, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton)
{
    if (Hook())
        return Hook()(icon, text, caption);
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace tramble
