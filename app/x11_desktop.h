#pragma once

class QWidget;

// What the X11 desktop needs beyond Qt's window flags. On other platforms these are no-ops
// and the desktop is taken to blend per-pixel alpha.
namespace x11 {

bool IsX11();
// True when a compositing manager owns _NET_WM_CM_S<screen>; without one, every transparent
// pixel of a 32-bit window shows black, so windows fall back to shape masks.
bool HasCompositingManager();
// Keeps the window out of taskbars and pagers. Call before the window is first shown.
void SkipTaskbar(QWidget* window);

}  // namespace x11
