#!/usr/bin/env bash
# The clock under full desktops' window managers and compositors, whose drawing of an
# unmanaged window among managed ones differs: the hands show only where the face shows (not
# under the memo dialog or another program's always-on-top window), covering the face starts
# no restacking between clock and window manager, the face keeps its hints, and drags and
# double-clicks work through the overlay.
# Usage: desktops_test.sh KELVARINE_BINARY SOURCE_DIR WM
#   WM: mutter, kwin_x11, metacity, marco, xfwm4 (its own compositor on) or openbox+xcompmgr
set -uo pipefail
binary=$1
source_dir=$2
wm=$3
mode=$wm
# shellcheck source=desktop_lib.sh
source "$source_dir/tests/desktop_lib.sh"
require_tools Xvfb xdotool xwininfo xprop xev convert xmessage wmctrl dbus-daemon python3
case "$wm" in
    openbox+xcompmgr) require_tools openbox xcompmgr ;;
    marco) require_tools marco; [ -e /usr/share/glib-2.0/schemas/org.mate.interface.gschema.xml ] ||
        { echo "skipped: marco needs mate-settings-daemon-common" >&2; exit 77; } ;;
    *) require_tools "$wm" ;;
esac

# A bare X server, ready when this returns (another test may take a display number first: then
# the next one is tried); the window manager is started below. It must not reset when its last
# client leaves: the polls below connect and leave while the window manager connects, and a
# server in its reset refuses it.
KELVARINE_XVFB_NORESET=1 KELVARINE_WM=none KELVARINE_COMPOSITOR=none start_virtual_desktop 1280x800
work=$(mktemp -d)
pids=()
# What this test started, then the X server; in place of the desktop's own exit trap.
cleanup() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wait "${pids[@]}" 2>/dev/null
    stop_virtual_desktop
    rm -rf "$work"
}
trap cleanup EXIT
# A session bus of our own: these window managers look for one.
own_session_bus
pids+=("$bus")
export XDG_RUNTIME_DIR=$work/run LIBGL_ALWAYS_SOFTWARE=1 NO_AT_BRIDGE=1
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
case "$wm" in
    mutter) mutter --x11 --replace --sm-disable >"$work/wm.log" 2>&1 & pids+=($!) ;;
    kwin_x11) kwin_x11 --replace >"$work/wm.log" 2>&1 & pids+=($!) ;;
    metacity) metacity --replace --compositor=xrender >"$work/wm.log" 2>&1 & pids+=($!) ;;
    marco) marco --replace --composite >"$work/wm.log" 2>&1 & pids+=($!) ;;
    xfwm4) xfwm4 --replace --compositor=on >"$work/wm.log" 2>&1 & pids+=($!) ;;
    openbox+xcompmgr) openbox >"$work/wm.log" 2>&1 & pids+=($!) ;;
esac
wait_until 30 window_manager_running
if [ "$wm" = openbox+xcompmgr ]; then
    xcompmgr >/dev/null 2>&1 &
    pids+=($!)
fi
# Each of these composites; the full desktops' window managers take the compositor's selection
# a while after they claim the screen.
wait_until 10 compositing_manager_running
xsetroot -solid '#5a7a9a'
# Without them every check below would test a bare X server.
if ! window_manager_running || ! compositing_manager_running; then
    echo "FAIL [$mode]: $wm did not start compositing" >&2
    cat "$work/wm.log" >&2
    exit 1
fi

clock_files 1
printf '2099-01-02 09:30 Call home\n' >"$XDG_DATA_HOME/kelvarine/memo.txt"

red_in_face() { count_colour "$1" "$2" 'srgb(245,0,21)'; }
shoot() {
    import -window root "$work/$1.png"
    [ -n "${KELVARINE_SHOT_DIR:-}" ] && cp "$work/$1.png" "$KELVARINE_SHOT_DIR/$1-$mode.png"
    true
}
quietly() { "$@" 2>/dev/null; }  # while waiting, a mismatch on the way is no failure yet
hands_hidden() { shoot "$1" && [ "$(red_in_face "$work/$1.png" "$2")" = 0 ]; }  # SHOT WxH+X+Y
hands_shown() { shoot "$1" && [ "$(red_in_face "$work/$1.png" "$2")" -gt 20 ]; }
intersection() {  # WxH+X+Y of two rectangles' overlap, nothing when they do not meet
    awk -F'[x+]' -v a="$1" -v b="$2" 'BEGIN {
        split(a, p, /[x+]/); split(b, q, /[x+]/)
        l = p[3] > q[3] ? p[3] : q[3]; t = p[4] > q[4] ? p[4] : q[4]
        r = p[3] + p[1] < q[3] + q[1] ? p[3] + p[1] : q[3] + q[1]
        d = p[4] + p[2] < q[4] + q[2] ? p[4] + p[2] : q[4] + q[2]
        if (r > l && d > t) print (r - l) "x" (d - t) "+" l "+" t }'
}

"$binary" 2>"$work/stderr" &
clock=$!
pids+=("$clock")
wait_until 10 clock_shown
# Up and drawn: in place, with the overlay on it and the hands showing.
started() {
    [ "$(geometry_of "$(clock_window)")" = "128x128+1152+50" ] && quietly one_rectangle &&
        hands_shown start 128x128+1152+50
}
wait_until_settled 10 started
face=$(geometry_of "$(clock_window)")
check "the clock starts at the top-right (is $face)" test "$face" = "128x128+1152+50"
check "face and overlay share one rectangle at start-up" one_rectangle
check "the hands show on the face" test "$(red_in_face "$work/start.png" "$face")" -gt 20
states=$(xprop -id "$(clock_window)" _NET_WM_STATE)
check "the face is kept off taskbars ($states)" grep -q '_NET_WM_STATE_SKIP_TASKBAR' <<<"$states"
check "the face stays above normal windows ($states)" grep -q '_NET_WM_STATE_ABOVE' <<<"$states"
check "the face is no modal dialog ($states)" test -z "$(grep MODAL <<<"$states")"
quiet_for_two_seconds "uncovered"

# A drag that starts on the hands.
xdotool mousemove 1216 114 mousedown 1
for step in 1 2 3 4 5; do xdotool mousemove $((1216 - 20 * step)) $((114 + 6 * step)); sleep 0.05; done
xdotool mouseup 1
clock_at() { [ "$(geometry_of "$(clock_window)")" = "$1" ] && quietly one_rectangle; }
wait_until_settled 3 clock_at 128x128+1052+80
check "a drag moves the clock by (-100, +30) (is $(geometry_of "$(clock_window)"))" \
    test "$(geometry_of "$(clock_window)")" = "128x128+1052+80"
check "face and overlay share one rectangle after the drag" one_rectangle
# Away from the edges, so the memo dialog can cover all of it or half of it: window managers
# keep a dialog on the screen.
xdotool mousemove 1116 144 mousedown 1 mousemove 800 300 mousemove 464 364 mouseup 1
wait_until_settled 3 clock_at 128x128+400+300
quiet_for_two_seconds "the face was clicked"
face=$(geometry_of "$(clock_window)")
read -r fx fy < <(awk -F'[x+]' '{print $3, $4}' <<<"$face")

xdotool mousemove $((fx + 20)) $((fy + 64)) click --repeat 2 --delay 60 1
memo=$(wait_for_window '备忘事件')
check "a double-click on the face opens the memo dialog" test -n "$memo"
if [ -n "$memo" ]; then
    xdotool windowmove "$memo" $((fx - 300)) $((fy - 60))
    wait_until_steady 3 geometry_of "$memo"
    wait_until_settled 5 hands_hidden covered "$face"
    check "the memo dialog over the face hides the hands ($(red_in_face "$work/covered.png" "$face") red)" \
        test "$(red_in_face "$work/covered.png" "$face")" = 0
    quiet_for_two_seconds "the memo dialog covers the face"
    # Over the right half only (with the plain white list, no red of its own): no hand over
    # the dialog's part of the face, however the desktop draws unmanaged windows.
    xdotool windowmove "$memo" $((fx + 64)) $((fy - 60))
    wait_until_steady 3 geometry_of "$memo"
    overlap=$(intersection "$(geometry_of "$memo")" "$face")
    wait_until_settled 5 hands_hidden half "${overlap:-1x1+0+0}"
    check "the dialog over half the face has no hand over it ($overlap: $(red_in_face "$work/half.png" "$overlap") red)" \
        test -n "$overlap" -a "$(red_in_face "$work/half.png" "${overlap:-1x1+0+0}")" = 0
    xdotool windowmove "$memo" 660 300
fi

xmessage -geometry 200x200+$((fx - 30))+$((fy - 30)) -bg '#203040' cover &
cover=$!
pids+=("$cover")
# Managed (in the window manager's client list) before asking the window manager about it.
wait_until 5 eval "wmctrl -l | grep -q ' xmessage\$'"
wmctrl -r xmessage -b add,above 2>/dev/null
xdotool search --name '^xmessage$' windowactivate %@ 2>/dev/null
wmctrl -r xmessage -e "0,$((fx - 30)),$((fy - 30)),200,200" 2>/dev/null
wait_until_steady 3 geometry_of "$(visible_window xmessage)"
wait_until_settled 5 hands_hidden foreign "$face"
check "an always-on-top window over the face hides the hands ($(red_in_face "$work/foreign.png" "$face") red)" \
    test "$(red_in_face "$work/foreign.png" "$face")" = 0
quiet_for_two_seconds "an always-on-top window covers the face"
kill $cover 2>/dev/null
wait $cover 2>/dev/null
wait_until_settled 5 hands_shown uncovered "$face"
check "the hands come back when it goes" test "$(red_in_face "$work/uncovered.png" "$face")" -gt 20

# Esc while the face has the keyboard; should the memo dialog have it after all, Esc closes
# that first, and the face gets a second chance.
for _ in 1 2; do
    focus "$(clock_window)"
    xdotool mousemove $((fx + 64)) $((fy + 64)) click 1
    sleep 0.3
    xdotool key Escape
    for _ in $(seq 20); do kill -0 $clock 2>/dev/null || break; sleep 0.1; done
    kill -0 $clock 2>/dev/null || break
done
if kill -0 $clock 2>/dev/null; then
    check "Esc ends the clock" false
else
    wait $clock
    check "Esc ends the clock with status 0" test $? = 0
fi

report
