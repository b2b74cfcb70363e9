#include "platform/x11_desktop.h"

#include <xcb/xcb.h>
#include <xcb/xproto.h>
#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <cstdlib>

// Xlib defines macros (Bool, Status, None) that clash with Qt's names: include it last.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/shape.h>

namespace x11 {

bool CanConnect(const QString& name) {
    const QByteArray bytes = name.toLocal8Bit();
    xcb_connection_t* connection =
        xcb_connect(bytes.isEmpty() ? nullptr : bytes.constData(), nullptr);
    const bool connected = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return connected;
}

namespace {

Display* CurrentDisplay() {
    if (!IsX11()) {
        return nullptr;
    }
    auto* native = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return native != nullptr ? native->display() : nullptr;
}

// Whether the window has its X window yet: asking for its id would make one.
bool Made(const QWindow* window) {
    return window != nullptr && window->handle() != nullptr;
}

// Sees the structure events of the root window's children among the events Qt reads.
class RootStructureFilter : public StackingWatch, public QAbstractNativeEventFilter {
public:
    explicit RootStructureFilter(std::function<void()> changed) : m_changed(std::move(changed)) {
        qGuiApp->installNativeEventFilter(this);
    }
    ~RootStructureFilter() override { qGuiApp->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t") {
            return false;
        }
        switch (static_cast<xcb_generic_event_t*>(message)->response_type & 0x7f) {
            case XCB_CONFIGURE_NOTIFY:
            case XCB_MAP_NOTIFY:
            case XCB_UNMAP_NOTIFY:
            case XCB_REPARENT_NOTIFY:
            case XCB_CIRCULATE_NOTIFY:
                m_changed();
                break;
            default:
                break;
        }
        return false;  // Qt still handles every event itself
    }

private:
    std::function<void()> m_changed;
};

Atom CompositorSelection(Display* display) {
    static const Atom selection = XInternAtom(
        display, ("_NET_WM_CM_S" + QByteArray::number(DefaultScreen(display))).constData(), False);
    return selection;
}

// Hears the X server announce a new owner of the compositor's selection.
class SelectionOwnerFilter : public CompositorWatch, public QAbstractNativeEventFilter {
public:
    SelectionOwnerFilter(int notifyEvent, std::function<void(bool)> changed)
        : m_notifyEvent(notifyEvent), m_changed(std::move(changed)) {
        qGuiApp->installNativeEventFilter(this);
    }
    ~SelectionOwnerFilter() override { qGuiApp->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType == "xcb_generic_event_t" &&
            (static_cast<xcb_generic_event_t*>(message)->response_type & 0x7f) == m_notifyEvent) {
            m_changed(HasCompositingManager());
        }
        return false;
    }

private:
    int m_notifyEvent;
    std::function<void(bool)> m_changed;
};

}  // namespace

bool IsX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

bool IsXWayland() {
    if (!IsX11()) {
        return false;
    }
    // XWayland names its outputs XWAYLAND0, XWAYLAND1, ...
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->name().startsWith(QLatin1String("XWAYLAND"))) {
            return true;
        }
    }
    return false;
}

bool HasCompositingManager() {
    Display* display = CurrentDisplay();
    if (display == nullptr) {
        return true;
    }
    return XGetSelectionOwner(display, CompositorSelection(display)) != None;
}

void SkipTaskbar(QWindow* window) {
    Display* display = CurrentDisplay();
    if (display == nullptr || window == nullptr) {
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

std::optional<QRect> ActualGeometry(QWindow* window) {
    Display* display = CurrentDisplay();
    if (display == nullptr || !Made(window)) {
        return std::nullopt;
    }
    const Window id = static_cast<Window>(window->winId());
    Window root = 0;
    int x = 0;
    int y = 0;
    unsigned int width = 0;
    unsigned int height = 0;
    unsigned int border = 0;
    unsigned int depth = 0;
    if (XGetGeometry(display, id, &root, &x, &y, &width, &height, &border, &depth) == 0) {
        return std::nullopt;
    }
    Window child = 0;
    if (XTranslateCoordinates(display, id, root, 0, 0, &x, &y, &child) == 0) {
        return std::nullopt;
    }
    // The X server counts device pixels; Qt's windows count logical ones.
    const qreal dpr = window->devicePixelRatio();
    return QRectF(x / dpr, y / dpr, width / dpr, height / dpr).toRect();
}

std::unique_ptr<CompositorWatch> WatchCompositor(std::function<void(bool)> changed) {
    Display* display = CurrentDisplay();
    int eventBase = 0;
    int errorBase = 0;
    if (display == nullptr || !XFixesQueryExtension(display, &eventBase, &errorBase)) {
        return std::make_unique<CompositorWatch>();
    }
    XFixesSelectSelectionInput(display, DefaultRootWindow(display), CompositorSelection(display),
                               XFixesSetSelectionOwnerNotifyMask |
                                   XFixesSelectionWindowDestroyNotifyMask |
                                   XFixesSelectionClientCloseNotifyMask);
    XFlush(display);
    return std::make_unique<SelectionOwnerFilter>(eventBase + XFixesSelectionNotify,
                                                  std::move(changed));
}

void ReshapeArea(QWindow* window, const QRect& area, const QRegion& opaque) {
    Display* display = CurrentDisplay();
    if (display == nullptr || !Made(window)) {
        return;
    }
    const Window id = static_cast<Window>(window->winId());
    // Logical rectangles to the device pixels the X server counts.
    const qreal dpr = window->devicePixelRatio();
    auto device = [dpr](const QRect& r) -> XRectangle {
        const QRect d =
            QRectF(r.x() * dpr, r.y() * dpr, r.width() * dpr, r.height() * dpr).toAlignedRect();
        return {static_cast<short>(d.x()), static_cast<short>(d.y()),
                static_cast<unsigned short>(d.width()), static_cast<unsigned short>(d.height())};
    };
    XRectangle cut = device(area);
    XShapeCombineRectangles(display, id, ShapeBounding, 0, 0, &cut, 1, ShapeSubtract, Unsorted);
    std::vector<XRectangle> keep;
    for (const QRect& r : opaque.intersected(area)) {
        keep.push_back(device(r));
    }
    if (!keep.empty()) {
        XShapeCombineRectangles(display, id, ShapeBounding, 0, 0, keep.data(),
                                static_cast<int>(keep.size()), ShapeUnion, Unsorted);
    }
    XFlush(display);
}

void ClearShape(QWindow* window) {
    Display* display = CurrentDisplay();
    if (display == nullptr || !Made(window)) {
        return;
    }
    XShapeCombineMask(display, static_cast<Window>(window->winId()), ShapeBounding, 0, 0, None,
                      ShapeSet);
    XFlush(display);
}

unsigned long TopLevelOf(QWindow* window) {
    Display* display = CurrentDisplay();
    if (display == nullptr || window == nullptr) {
        return 0;
    }
    Window current = static_cast<Window>(window->winId());
    for (;;) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, current, &root, &parent, &children, &count) == 0) {
            return 0;
        }
        if (children != nullptr) {
            XFree(children);
        }
        if (parent == root || parent == 0) {
            return current;
        }
        current = parent;
    }
}

std::vector<StackedWindow> StackedWindowsFrom(unsigned long from, QWindow* window) {
    auto* native =
        IsX11() ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = native != nullptr ? native->connection() : nullptr;
    Display* display = CurrentDisplay();
    if (connection == nullptr || display == nullptr || window == nullptr) {
        return {};
    }
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(
        connection, xcb_query_tree(connection, DefaultRootWindow(display)), nullptr);
    if (tree == nullptr) {
        return {};
    }
    const xcb_window_t* children = xcb_query_tree_children(tree);
    const int count = xcb_query_tree_children_length(tree);
    std::vector<StackedWindow> windows(static_cast<size_t>(count));
    int first = count;
    for (int i = 0; i < count; ++i) {
        windows[i].id = children[i];
        if (children[i] == from) {
            first = i;
        }
    }
    free(tree);
    // All questions first, then all answers: one round trip however many windows there are.
    // A window gone meanwhile answers with an error, which only leaves it out.
    std::vector<xcb_get_window_attributes_cookie_t> states;
    std::vector<xcb_get_geometry_cookie_t> geometries;
    for (int i = first; i < count; ++i) {
        states.push_back(xcb_get_window_attributes(connection, windows[i].id));
        geometries.push_back(xcb_get_geometry(connection, windows[i].id));
    }
    const qreal dpr = window->devicePixelRatio();
    for (int i = first; i < count; ++i) {
        xcb_get_window_attributes_reply_t* state =
            xcb_get_window_attributes_reply(connection, states[i - first], nullptr);
        xcb_get_geometry_reply_t* geometry =
            xcb_get_geometry_reply(connection, geometries[i - first], nullptr);
        if (state != nullptr && geometry != nullptr) {
            windows[i].shown = state->map_state == XCB_MAP_STATE_VIEWABLE &&
                               state->_class == XCB_WINDOW_CLASS_INPUT_OUTPUT;
            // The border is drawn too.
            const int outer = 2 * geometry->border_width;
            windows[i].rect =
                QRectF(geometry->x / dpr, geometry->y / dpr, (geometry->width + outer) / dpr,
                       (geometry->height + outer) / dpr)
                    .toAlignedRect();
        }
        free(state);
        free(geometry);
    }
    return windows;
}

void Raise(QWindow* window) {
    Display* display = CurrentDisplay();
    if (display == nullptr || window == nullptr) {
        return;
    }
    XRaiseWindow(display, static_cast<Window>(window->winId()));
    XFlush(display);
}

std::unique_ptr<StackingWatch> WatchStacking(std::function<void()> changed) {
    Display* display = CurrentDisplay();
    if (display == nullptr) {
        return std::make_unique<StackingWatch>();
    }
    // Added to what this client already selects on the root, which Qt relies on.
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes = {};
    XGetWindowAttributes(display, root, &attributes);
    XSelectInput(display, root, attributes.your_event_mask | SubstructureNotifyMask);
    XFlush(display);
    return std::make_unique<RootStructureFilter>(std::move(changed));
}

}  // namespace x11
