#pragma once

#include "command/CommandRunner.h"

#include <QMessageBox>
#include <QObject>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QComboBox;

namespace tramble {

class TCalcul;
class TLanguage;

// Connects the bar's combo box cbbCmd to the command runner: Enter or a
// double click runs the box text; the box's list is the history.
class TCommandBox : public QObject {
    Q_OBJECT
public:
    using TMessage = std::function<void(QMessageBox::Icon icon, const QString& text, const QString& caption)>;

    struct THooks {
        TCommandRunner::THooks Runner; // WinExec is the platform's when not set
        TMessage Message;
        std::function<void()> HoldBar;
        std::function<void()> ReleaseBar;
    };

    // The box, evaluator and language must outlive this object; the language
    // is read whenever a box shows.
    TCommandBox(QComboBox* box, TCalcul& calcul, const TLanguage& language, THooks hooks);

    void RunCommandLine();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<std::string> History() const;
    void ShowHistory(const std::vector<std::string>& history, const QString& text);
    void Show(QMessageBox::Icon icon, const std::string& text);

    QComboBox* m_box;
    const TLanguage& m_language;
    TMessage m_message;
    std::function<void()> m_holdBar;
    std::function<void()> m_releaseBar;
    TCommandRunner m_runner;
};

} // namespace tramble
