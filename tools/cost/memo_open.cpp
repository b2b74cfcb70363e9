// Starts the clock and prints two times in milliseconds: from the start to the first mapped
// top-level window (the face), and from a double-click on the face, off its centre, to the next
// new top-level window mapped (the memo dialog). The clock is left running, its pid on stderr.
// Usage: memo_open PROGRAM [ARGS...]
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cstdio>
#include <set>

#include "cost_support.h"

namespace {

void Click(Display* display) {
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: memo_open PROGRAM [ARGS...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "memo_open: no display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    const double start = NowMs();
    if (StartProgram(argv + 1, "memo_open") < 0) {
        return 2;
    }
    std::set<Window> seen;
    const Window face = NextMapped(display, seen, start, 60000);
    if (face == None) {
        std::printf("timeout timeout\n");
        return 1;
    }
    const double faceMs = NowMs() - start;
    seen.insert(face);
    // The overlay and whatever else the start maps, and the first memo check, come first: the
    // double-click must reach a face that is ready for it.
    for (Window w; (w = NextMapped(display, seen, NowMs(), 1500)) != None;) {
        seen.insert(w);
    }
    XWindowAttributes face_attributes{};
    int x = 0;
    int y = 0;
    Window child = None;
    XGetWindowAttributes(display, face, &face_attributes);
    XTranslateCoordinates(display, face, root, 0, 0, &x, &y, &child);
    // A quarter of the width right of the centre: on the face, clear of the settings box.
    XTestFakeMotionEvent(display, -1, x + face_attributes.width * 3 / 4,
                         y + face_attributes.height / 2, CurrentTime);
    XSync(display, False);
    usleep(200000);
    Click(display);
    usleep(50000);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XSync(display, False);
    const double clicked = NowMs();
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);
    const Window dialog = NextMapped(display, seen, clicked, 60000);
    if (dialog == None) {
        std::printf("%.0f timeout\n", faceMs);
        return 1;
    }
    std::printf("%.0f %.0f\n", faceMs, NowMs() - clicked);
    return 0;
}
