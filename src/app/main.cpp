#include "app/BarEnvironment.h"
#include "app/TermSignals.h"
#include "app/frmMain.h"
#include "platform/AppPaths.h"
#include "platform/DisplayChoice.h"
#include "platform/FocusSignal.h"
#include "platform/FontWarmUp.h"
#include "platform/Instance.h"

#include <QApplication>
#include <QProxyStyle>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

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

constexpr const char* kHelp = R"(Usage: tramble [--help] [--focus]

Tramble is a launcher bar with a command box that evaluates formulas, tray
monitors, bookmarks, weather and clock synchronisation. Everything is set in
the bar.

  --focus  brings the running bar forward with its command box focused, as
           its global shortcut (Ctrl+Alt+Space) does; starts the bar when
           none runs. Bind it to a desktop shortcut where the global
           shortcut cannot be taken: on Wayland without the desktop
           portal's global shortcuts.

Settings are kept beside the program when its folder can be written, else in
$XDG_CONFIG_HOME/tramble (by default ~/.config/tramble).

Wayland: Wayland does not let a window place itself, stay on top or follow the
pointer, which the bar, its edge strip and auto-hide need. In a Wayland session
with an X display (XWayland) Tramble therefore runs on the X11 platform (xcb).
Set QT_QPA_PLATFORM to choose the platform yourself, e.g. QT_QPA_PLATFORM=wayland.
On Wayland without XWayland the bar works, but placement, staying on top, the
edge strip and auto-hide are turned off.
)";

} // namespace

int main(int argc, char* argv[])
{
    bool focus = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        focus = focus || std::strcmp(argv[i], "--focus") == 0;
    }
    if (auto platform = tramble::platform::PreferredQtPlatform())
        ::setenv("QT_QPA_PLATFORM", platform->c_str(), 1);

    const std::string executable = tramble::platform::ExecutablePath();
    // The running copy takes the request; a second bar never starts for it.
    if (focus && tramble::platform::SendFocusRequest(tramble::platform::FocusSocketPath(executable)))
        return 0;
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
