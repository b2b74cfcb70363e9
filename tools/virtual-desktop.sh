# Starts a virtual X display with openbox and (unless KELVARINE_NO_COMPOSITOR=1) xcompmgr, and
# stops it all on exit. Sourced; sets DISPLAY.
# Usage: start_virtual_desktop [WIDTHxHEIGHT]

start_virtual_desktop() {
    local size=${1:-1280x800} n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    KELVARINE_DESKTOP_PIDS=($!)
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    openbox >/dev/null 2>&1 &
    KELVARINE_DESKTOP_PIDS+=($!)
    sleep 0.5
    # A blue-grey backdrop (set once the window manager is up, which clears the root) so
    # see-through pixels are easy to tell from black.
    xsetroot -solid '#5a7a9a'
    if [ "${KELVARINE_NO_COMPOSITOR:-0}" != 1 ]; then
        xcompmgr >/dev/null 2>&1 &
        KELVARINE_DESKTOP_PIDS+=($!)
        sleep 0.5
    fi
    trap stop_virtual_desktop EXIT
}

stop_virtual_desktop() {
    kill "${KELVARINE_DESKTOP_PIDS[@]}" 2>/dev/null || true
    wait 2>/dev/null || true
}
