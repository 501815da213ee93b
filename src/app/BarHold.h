#pragma once

#include "app/frmMain.h"

namespace tramble {

// Holds the bar shown while a dialog is open or a launch runs: HoldBar when
// made, ReleaseBar when gone, also when the operation ends by an exception.
class TBarHold {
public:
    explicit TBarHold(TfrmMain& bar) : m_bar(bar) { m_bar.HoldBar(); }
    ~TBarHold() { m_bar.ReleaseBar(); }
    TBarHold(const TBarHold&) = delete;
    TBarHold& operator=(const TBarHold&) = delete;

private:
    TfrmMain& m_bar;
};

} // namespace tramble
