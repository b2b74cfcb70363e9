# shellcheck shell=bash
# Starts a virtual X display with a window manager and a compositing manager, and stops it all
# on exit: a caller's exit trap of its own stays (it must call stop_virtual_desktop). Sourced;
# sets DISPLAY, and KELVARINE_COMPOSITOR_PID when a compositor runs.
# Usage: start_virtual_desktop [WIDTHxHEIGHT]
#   KELVARINE_WM          openbox (default), icewm, fluxbox, xfwm4 or none
#   KELVARINE_COMPOSITOR  xcompmgr (default), picom or none; KELVARINE_NO_COMPOSITOR=1 is none
#   KELVARINE_XVFB_NORESET=1  the X server keeps its state (RandR monitors among it) when its
#                         last client leaves, as a real one does

# Runs COMMAND every 0.05 s until it succeeds; fails once TIMEOUT_SECONDS (may be fractional)
# have passed without.
wait_until() {  # wait_until TIMEOUT_SECONDS COMMAND...
    local timeout=$1 now deadline
    shift
    now=${EPOCHREALTIME/./}
    deadline=$((now + $(awk -v t="$timeout" 'BEGIN { printf "%d", t * 1000000 }')))
    until "$@"; do
        [ "${EPOCHREALTIME/./}" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

window_manager_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
# xcompmgr and picom each name the window that owns the compositing selection after themselves.
compositor_running() { xdotool search --name "^$1\$" >/dev/null 2>&1; }
# Until the server accepts clients (it writes its display number to the file) or has ended.
server_settled() { [ -s "$1" ] || ! kill -0 "$2" 2>/dev/null; }
# Whether display N's lock file names a running process. A server ended by SIGKILL leaves its
# socket and lock behind, which Xvfb clears when it finds the lock's process gone; a socket
# alone says nothing.
display_taken() {  # display_taken N
    local pid
    pid=$(tr -d ' \n' 2>/dev/null <"/tmp/.X$1-lock") && [ -n "$pid" ] && [ -e "/proc/$pid" ]
}

start_virtual_desktop() {
    local size=${1:-1280x800} n ready server
    local wm=${KELVARINE_WM:-openbox}
    local compositor=${KELVARINE_COMPOSITOR:-xcompmgr}
    [ "${KELVARINE_NO_COMPOSITOR:-0}" = 1 ] && compositor=none
    KELVARINE_DESKTOP_PIDS=()
    KELVARINE_COMPOSITOR_PID=
    ready=$(mktemp)
    local noreset=
    [ "${KELVARINE_XVFB_NORESET:-0}" = 1 ] && noreset=-noreset
    # Servers started with -displayfd write no lock: another test's, or one started meanwhile,
    # makes this one end at once (the one running is left as it is), and the next number is
    # tried.
    for n in $(seq 90 140); do
        display_taken "$n" && continue
        : >"$ready"
        Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp $noreset -displayfd 3 3>"$ready" >/dev/null 2>&1 &
        server=$!
        wait_until 10 server_settled "$ready" $server
        if [ -s "$ready" ]; then
            KELVARINE_DESKTOP_PIDS=("$server")
            break
        fi
        kill $server 2>/dev/null
        wait $server 2>/dev/null || true  # ended by us; callers may run under set -e
    done
    rm -f "$ready"
    if [ ${#KELVARINE_DESKTOP_PIDS[@]} = 0 ]; then
        # No display of someone else's is ever taken for ours.
        echo "no virtual X server could start: displays :90 to :140 are all taken" >&2
        unset DISPLAY
        return 1
    fi
    export DISPLAY=":$n"
    case "$wm" in
        none) ;;
        # Its own compositor stays off: the compositing manager is chosen separately.
        xfwm4) xfwm4 --compositor=off >/dev/null 2>&1 & KELVARINE_DESKTOP_PIDS+=($!) ;;
        *) "$wm" >/dev/null 2>&1 & KELVARINE_DESKTOP_PIDS+=($!) ;;
    esac
    # Until the window manager has claimed the screen, and then a moment more: nothing tells
    # when it has finished starting, and fluxbox frames a window mapped before that.
    if [ "$wm" != none ]; then
        wait_until 5 window_manager_running
        sleep 0.3
    fi
    # A blue-grey backdrop (set once the window manager is up, which may clear the root) so
    # see-through pixels are easy to tell from black.
    xsetroot -solid '#5a7a9a'
    case "$compositor" in
        none) ;;
        picom) picom --backend xrender --no-fading-openclose >/dev/null 2>&1 &
               KELVARINE_COMPOSITOR_PID=$! ;;
        *) "$compositor" >/dev/null 2>&1 & KELVARINE_COMPOSITOR_PID=$! ;;
    esac
    if [ -n "$KELVARINE_COMPOSITOR_PID" ]; then
        KELVARINE_DESKTOP_PIDS+=("$KELVARINE_COMPOSITOR_PID")
        wait_until 5 compositor_running "$compositor"
    fi
    # Replacing the caller's trap would leave what it started (a session bus) running.
    [ -n "$(trap -p EXIT)" ] || trap stop_virtual_desktop EXIT
}

# Whether none of the pids is still running (a zombie waiting to be reaped counts as ended).
processes_ended() {
    local pid
    for pid in "$@"; do
        [ -e "/proc/$pid" ] && ! grep -q '^[0-9]* (.*) Z' "/proc/$pid/stat" 2>/dev/null && return 1
    done
    return 0
}

stop_virtual_desktop() {
    kill "${KELVARINE_DESKTOP_PIDS[@]}" 2>/dev/null || true
    # fluxbox can deadlock in its own SIGTERM handler: what has not ended in a few seconds is
    # ended for good.
    wait_until 3 processes_ended "${KELVARINE_DESKTOP_PIDS[@]}" ||
        kill -KILL "${KELVARINE_DESKTOP_PIDS[@]}" 2>/dev/null
    wait "${KELVARINE_DESKTOP_PIDS[@]}" 2>/dev/null || true
}
