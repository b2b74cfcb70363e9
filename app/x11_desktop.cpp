#include "app/x11_desktop.h"

#include <QGuiApplication>
#include <QWidget>

// Xlib defines macros (Bool, Status, None) that clash with Qt's names: include it last.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace x11 {
namespace {

Display* CurrentDisplay() {
    if (!IsX11()) {
        return nullptr;
    }
    auto* native = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return native != nullptr ? native->display() : nullptr;
}

}  // namespace

bool IsX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

bool HasCompositingManager() {
    Display* display = CurrentDisplay();
    if (display == nullptr) {
        return true;
    }
    // Asked every second: intern the selection's atom once.
    static const Atom selection = XInternAtom(
        display, ("_NET_WM_CM_S" + QByteArray::number(DefaultScreen(display))).constData(), False);
    return XGetSelectionOwner(display, selection) != None;
}

void SkipTaskbar(QWidget* window) {
    Display* display = CurrentDisplay();
    if (display == nullptr) {
        return;
    }
    // Qt merges its own states into whatever the unmapped window already carries.
    Atom states[] = {XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False),
                     XInternAtom(display, "_NET_WM_STATE_SKIP_PAGER", False)};
    XChangeProperty(display, static_cast<Window>(window->winId()),
                    XInternAtom(display, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeAppend,
                    reinterpret_cast<unsigned char*>(states), 2);
    XFlush(display);
}

}  // namespace x11
