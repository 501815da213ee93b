#pragma once

class QWidget;

namespace tramble {

// Moves a window to the middle of the available desktop of its screen.
void CentreOnDesktop(QWidget& window);

} // namespace tramble
