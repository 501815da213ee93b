#pragma once

#include "launcher/EntryView.h"
#include "launcher/ui/EntryIcons.h"

#include <QMessageBox>
#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QAbstractButton;
class QMenu;
class QWidget;

namespace tramble {

// The application buttons on the bar, as the entries tell them: one flat
// button per entry in the bar's list, boxes through the bar's message helper.
class TEntryButtons : public QObject, public IEntryView {
    Q_OBJECT
public:
    using TMessage = std::function<QMessageBox::StandardButton(
        QMessageBox::Icon icon, const QString& text, const QString& caption, QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton defaultButton)>;

    struct THooks {
        QWidget* Bar = nullptr;
        QMenu* ButtonMenu = nullptr;
        std::vector<QAbstractButton*>* Buttons = nullptr; // the bar's list, in entry order
        int IconSize = 32;
        TMessage Message;
        std::function<void()> HoldBar;
        std::function<void()> ReleaseBar;
        std::function<void()> RequestLayout;
        std::function<void(QPoint)> MenuOpened; // where the menu opened, in bar coordinates
    };

    explicit TEntryButtons(THooks hooks, QObject* parent = nullptr);

    // The entry whose button menu opened last; nothing when it is gone.
    std::optional<int> MenuEntry() const;

    bool ShowBox(TBoxKind kind, const std::string& text, const std::string& caption) override;
    std::optional<std::string> AskArguments(const std::string& caption, const std::string& prompt) override;
    void HoldBar() override;
    void ReleaseBar() override;
    void AddButton(const std::string& png) override;
    void RemoveButton(int index) override;
    void SetButtonImage(int index, const std::string& png) override;
    void ReorderButtons(const std::vector<int>& oldIndexOfNew) override;
    void SetButtonRaised(int index, bool raised) override;
    void SetButtonHint(int index, const std::string& hint) override;
    void RequestLayout() override;
    std::optional<TRgbaImage> ExtractIcon(const std::string& iconFile, int index, int size) override;

signals:
    void entryClicked(int index);

private:
    // A button's place in the bar's list is its entry's index.
    int IndexOf(const QObject* button) const;

    THooks m_hooks;
    TEntryIconSource m_icons;
    QAbstractButton* m_menuButton = nullptr;
    int m_nextNumber = 1;
};

} // namespace tramble
