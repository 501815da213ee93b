#pragma once

#include "app/BarEnvironment.h"
#include "i18n/Language.h"
#include "launcher/BarHold.h"
#include "store/Config.h"
#include "store/FastIniFile.h"
#include "store/Modes.h"
#include "store/StartupOrder.h"

#include <QPoint>

#include <cstdint>
#include <functional>

class QWidget;

namespace tramble {

// What a subsystem's controller (tray, clock, weather, bookmarks, options …)
// may use of the bar window. The bar implements it; controllers never see
// the bar's class, so they stay below it in the build and tests can stand in
// for the bar with a plain window.
class TBarLink {
public:
    virtual ~TBarLink() = default;

    // Parent of the controller's dialogs and menus.
    virtual QWidget* BarWindow() = 0;

    virtual TFastIniFile& Settings() = 0;
    virtual const TModes& Modes() const = 0;
    virtual TConfig& Config() = 0;
    virtual const TLanguage& Language() const = 0;
    virtual const TBarEnvironment& Environment() const = 0;

    // Start-up and shut-down: a controller sets the action of its own steps
    // when it is created, before the bar is first shown.
    virtual TStartupLoad& StartupLoad() = 0;
    virtual TShutdownOrder& ShutdownOrder() = 0;

    // Every dialog and every launch runs between these two (see TBarHold).
    virtual void HoldBar() = 0;
    virtual void ReleaseBar() = 0;
    virtual bool ModalGuard() const = 0;

    // Whole seconds since start, counted by the bar's animation timer.
    virtual int32_t SecondsCounter() const = 0;
    // Brings the bar back from the strip, or to the front when it is shown.
    virtual void RestoreBar() = 0;
    // A menu of the controller opens at this screen point (auto-hide keeps
    // the bar while the pointer is in it).
    virtual void NotePopupPoint(const QPoint& global) = 0;

    // Called after every change of language, once the table holds the new texts.
    virtual void OnLanguageApplied(std::function<void()> refresh) = 0;
};

// Holds the bar while a controller's dialog is open.
using TBarHold = TBarHoldOf<TBarLink>;

} // namespace tramble
