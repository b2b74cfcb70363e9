#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QRect>
#include <QRegion>
#include <QString>

#include "logic/visible_area.h"

class QWindow;

// What the X11 desktop needs beyond Qt's window flags. On other platforms these are no-ops
// and the desktop is taken to blend per-pixel alpha. Windows are Qt's top-level windows, a
// widget's windowHandle() as well as a plain window; none (nullptr) cannot be asked about.
namespace x11 {

// Whether an X client may connect to the display `name` ("" for DISPLAY); asked before Qt
// starts, which would otherwise end the process with a core dump.
bool CanConnect(const QString& name);

bool IsX11();
// True on the X server of a Wayland session (XWayland). There the compositor places managed
// windows itself and tells no X client where; only unmanaged windows go where they are put.
bool IsXWayland();
// True when a compositing manager owns _NET_WM_CM_S<screen>; without one, every transparent
// pixel of a 32-bit window shows black, so windows fall back to shape masks.
bool HasCompositingManager();

// Calls `changed` with HasCompositingManager() whenever a compositing manager comes or goes,
// for as long as the returned object lives; told by the X server, so nobody needs to ask.
class CompositorWatch {
public:
    virtual ~CompositorWatch() = default;
};
std::unique_ptr<CompositorWatch> WatchCompositor(std::function<void(bool)> changed);

// Replaces the window's shape inside `area` (logical pixels) with `opaque`, leaving the rest of
// the shape as it is: one small request where a whole new mask would resend every rectangle.
void ReshapeArea(QWindow* window, const QRect& area, const QRegion& opaque);
// Gives the window back its plain rectangle.
void ClearShape(QWindow* window);
// Keeps the window out of taskbars and pagers. Call before the window is first shown.
void SkipTaskbar(QWindow* window);

// Where the window really is on the screen now, as the X server has it, in logical pixels;
// nullopt when that cannot be asked. Qt's own idea may still be a move the window manager refused.
std::optional<QRect> ActualGeometry(QWindow* window);

// The top-level window holding `window`: the frame the window manager put around it, or the
// window itself when it has none. 0 when that cannot be asked.
unsigned long TopLevelOf(QWindow* window);
// The desktop's top-level windows, bottom to top, with the rectangles (logical pixels of
// `window`'s screen) and states of `from` and every window above it; those below carry only
// their ids. Empty when that cannot be asked.
std::vector<StackedWindow> StackedWindowsFrom(unsigned long from, QWindow* window);
// Puts the unmanaged `window` on top of its siblings.
void Raise(QWindow* window);

// Calls `changed` whenever a top-level window of the desktop is mapped, unmapped, moved,
// resized, restacked or reparented, for as long as the returned object lives. Nothing is
// watched on other platforms.
class StackingWatch {
public:
    virtual ~StackingWatch() = default;
};
std::unique_ptr<StackingWatch> WatchStacking(std::function<void()> changed);

}  // namespace x11
