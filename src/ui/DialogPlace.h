#pragma once

class QWidget;

namespace tramble {

// Moves a window to the middle of the available desktop of its owner's
// screen (its own for a window without owner), at the size it will show.
void CentreOnDesktop(QWidget& window);

} // namespace tramble
