#pragma once

class QWidget;

namespace ui {

// Asks the window manager to give `window` no taskbar button. Qt has no
// call for this on X11, so it sets the EWMH state itself before the window
// is first mapped; on other platforms it does nothing.
void keepOffTaskbar(QWidget& window);

}  // namespace ui
