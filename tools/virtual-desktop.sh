# Starts a virtual X display with a window manager and a compositing manager, and stops it all
# on exit. Sourced; sets DISPLAY.
# Usage: start_virtual_desktop [WIDTHxHEIGHT]
#   KELVARINE_WM          openbox (default), icewm, fluxbox, xfwm4 or none
#   KELVARINE_COMPOSITOR  xcompmgr (default), picom or none; KELVARINE_NO_COMPOSITOR=1 is none
#   KELVARINE_XVFB_NORESET=1  the X server keeps its state (RandR monitors among it) when its
#                         last client leaves, as a real one does

start_virtual_desktop() {
    local size=${1:-1280x800} n
    local wm=${KELVARINE_WM:-openbox}
    local compositor=${KELVARINE_COMPOSITOR:-xcompmgr}
    [ "${KELVARINE_NO_COMPOSITOR:-0}" = 1 ] && compositor=none
    for n in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    local noreset=
    [ "${KELVARINE_XVFB_NORESET:-0}" = 1 ] && noreset=-noreset
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp $noreset >/dev/null 2>&1 &
    KELVARINE_DESKTOP_PIDS=($!)
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    case "$wm" in
        none) ;;
        # Its own compositor stays off: the compositing manager is chosen separately.
        xfwm4) xfwm4 --compositor=off >/dev/null 2>&1 & KELVARINE_DESKTOP_PIDS+=($!) ;;
        *) "$wm" >/dev/null 2>&1 & KELVARINE_DESKTOP_PIDS+=($!) ;;
    esac
    # Until the window manager has claimed the screen (it owns WM_S<screen>).
    if [ "$wm" != none ]; then
        for _ in $(seq 50); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
            sleep 0.1
        done
        sleep 0.3
    fi
    # A blue-grey backdrop (set once the window manager is up, which may clear the root) so
    # see-through pixels are easy to tell from black.
    xsetroot -solid '#5a7a9a'
    case "$compositor" in
        none) ;;
        picom) picom --backend xrender --no-fading-openclose >/dev/null 2>&1 &
               KELVARINE_DESKTOP_PIDS+=($!) ;;
        *) "$compositor" >/dev/null 2>&1 & KELVARINE_DESKTOP_PIDS+=($!) ;;
    esac
    [ "$compositor" != none ] && sleep 0.5
    trap stop_virtual_desktop EXIT
}

stop_virtual_desktop() {
    kill "${KELVARINE_DESKTOP_PIDS[@]}" 2>/dev/null || true
    wait 2>/dev/null || true
}
