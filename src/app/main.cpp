#include "app/BarEnvironment.h"
#include "app/TermSignals.h"
#include "app/frmMain.h"
#include "platform/AppPaths.h"
#include "platform/FontWarmUp.h"
#include "platform/Instance.h"

#include <QApplication>
#include <QProxyStyle>

namespace {

// Hints appear after 100 ms.
class THintStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return 100;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

int main(int argc, char* argv[])
{
    const std::string executable = tramble::platform::ExecutablePath();
    // A copy that runs already, or an eleventh copy, ends without a word.
    std::optional<tramble::platform::TInstanceClaim> claim = tramble::platform::ClaimInstance(executable);
    if (!claim)
        return 0;

    std::jthread fonts = tramble::platform::WarmUpFonts();
    QApplication app(argc, argv);
    fonts.join();
    QApplication::setStyle(new THintStyle);
    QApplication::setQuitOnLastWindowClosed(false);

    tramble::TfrmMain bar(tramble::DetectBarEnvironment(executable), std::move(claim));
    tramble::WatchTermSignals([&bar] { bar.ExitProgram(); });
    bar.show();
    return app.exec();
}
