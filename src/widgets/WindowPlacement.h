#pragma once

class QWidget;

namespace WindowPlacement {

/// Moves a top-level window so that its centre is the centre of its screen (the whole screen, as "centred on the
/// screen" means), whichever window was active when it was shown.
void centreOnScreen(QWidget* window);

} // namespace WindowPlacement
