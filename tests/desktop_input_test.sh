#!/usr/bin/env bash
# The whole clock from the mouse, on a virtual X desktop with a given window manager and
# compositing manager: drag through the overlay (also against a screen edge), a double-click on
# the centre opens the settings, elsewhere the memo dialog, and a window over the face hides
# the hands. Face and overlay must share one rectangle throughout.
# Usage: desktop_input_test.sh KELVARINE_BINARY SOURCE_DIR WM COMPOSITOR
set -uo pipefail
binary=$1
source_dir=$2
export KELVARINE_WM=$3 KELVARINE_COMPOSITOR=$4
mode="$3+$4"
# shellcheck source=desktop_lib.sh
source "$source_dir/tests/desktop_lib.sh"
require_tools Xvfb xdotool xwininfo xprop xsetroot convert xmessage wmctrl dbus-daemon
[ "$3" = none ] || require_tools "$3"
[ "$4" = none ] || require_tools "$4"

make_clock_home 1
clean_up_at_exit clock cover bus
start_virtual_desktop 1280x800
# A desktop's own: with no bus the clock would say that later starts cannot reach it.
own_session_bus
cover=
# Memos far ahead, so none rings: English, Chinese, and GBK bytes from an older system.
printf '2099-01-02 09:30 Call home\r\n2099-01-01 08:00 \xe6\x96\xb0\xe5\xb9\xb4\xe5\xbf\xab\xe4\xb9\x90\r\n2099-12-31 23:00 \xc4\xea\xb5\xd7 GBK\r\n' \
    >"$XDG_DATA_HOME/kelvarine/memo.txt"

quietly() { "$@" 2>/dev/null; }  # while waiting, a mismatch on the way is no failure yet
# Pixels of the hands' red inside the face's rectangle of a screenshot.
red_in_face() { count_colour "$1" "$2" 'srgb(245,0,21)'; }
shoot() {  # shoot NAME: a screenshot, kept when KELVARINE_SHOT_DIR is set
    import -window root "$work/$1.png" || return
    [ -z "${KELVARINE_SHOT_DIR:-}" ] || cp "$work/$1.png" "$KELVARINE_SHOT_DIR/$1-$mode.png"
}

"$binary" 2>"$work/stderr" &
clock=$!
wait_until 10 clock_shown
# Nothing to poll for here: while fluxbox starts up it sometimes moves a just-mapped face
# once, about a second later, and polling its geometry meanwhile made that more frequent.
sleep 1
# Up and drawn: in place, with the overlay on it and the hands showing.
started() {
    [ "$(geometry_of "$(clock_window)")" = "128x128+1152+50" ] && quietly one_rectangle &&
        shoot start && [ "$(red_in_face "$work/start.png" 128x128+1152+50)" -gt 20 ]
}
wait_until_settled 10 started
face=$(geometry_of "$(clock_window)")
check "the clock starts at the top-right (is $face)" test "$face" = "128x128+1152+50"
check "face and overlay share one rectangle at start-up" one_rectangle
check "the hands show on the face" test "$(red_in_face "$work/start.png" "$face")" -gt 20

# A drag that starts on the hands, which let the press through to the face.
xdotool mousemove 1216 114 mousedown 1
for step in 1 2 3 4 5; do xdotool mousemove $((1216 - 20 * step)) $((114 + 6 * step)); done
xdotool mouseup 1
dragged() { [ "$(geometry_of "$(clock_window)")" = "128x128+1052+80" ] && quietly one_rectangle; }
wait_until_settled 3 dragged
check "a drag moves the clock by (-100, +30) (is $(geometry_of "$(clock_window)"))" \
    test "$(geometry_of "$(clock_window)")" = "128x128+1052+80"
check "face and overlay share one rectangle after the drag" one_rectangle
# Toward and past the right edge: some window managers stop the clock there.
xdotool mousemove 1116 144 mousedown 1
for step in 1 2 3 4 5 6 7 8; do xdotool mousemove $((1116 + 30 * step)) 144; done
xdotool mouseup 1
wait_until_settled 3 quietly one_rectangle
check "face and overlay share one rectangle at the screen's edge ($(geometry_of "$(clock_window)"))" \
    one_rectangle
# Back to a known place for the double-clicks.
read -r fx fy < <(origin_of "$(clock_window)")
xdotool mousemove $((fx + 64)) $((fy + 64)) mousedown 1 mousemove 1000 300 mouseup 1
placed() { [ "$(geometry_of "$(clock_window)")" != "128x128+$fx+$fy" ] && quietly one_rectangle; }
wait_until_settled 3 placed
face=$(geometry_of "$(clock_window)")
read -r fx fy < <(awk -F'[x+]' '{print $3, $4}' <<<"$face")

# The centre opens the settings; Esc closes them and the clock stays.
xdotool mousemove $((fx + 62)) $((fy + 62)) click --repeat 2 --delay 60 1
settings=$(wait_for_window '设置')
check "a double-click on the centre opens the settings" test -n "$settings"
shoot settings
if [ -n "$settings" ]; then
    focus "$settings"
    xdotool key Escape
    wait_until 3 window_gone '设置'
    check "Esc closes the settings" window_gone '设置'
fi
check "the clock keeps running" kill -0 $clock

# Anywhere else opens the memo dialog.
xdotool mousemove $((fx + 20)) $((fy + 64)) click --repeat 2 --delay 60 1
memo=$(wait_for_window '备忘事件')
check "a double-click elsewhere opens the memo dialog" test -n "$memo"
shoot memo
if [ -n "$memo" ]; then
    # Dragged over the face, the dialog hides the hands as well as the face.
    xdotool windowmove --sync "$memo" $((fx - 300)) $((fy - 60))
    hands_hidden() { shoot "$1" && [ "$(red_in_face "$work/$1.png" "$face")" = 0 ]; }
    wait_until_settled 3 hands_hidden covered
    check "the memo dialog over the face hides the hands ($(red_in_face "$work/covered.png" "$face") red)" \
        test "$(red_in_face "$work/covered.png" "$face")" = 0
    xdotool windowmove --sync "$memo" 20 300
fi

# So does another program's always-on-top window.
xmessage -geometry 200x200+$((fx - 30))+$((fy - 30)) -bg '#203040' cover &
cover=$!
# Mapped, so the window manager has it and takes requests about it.
wait_until 5 window_shown xmessage
wmctrl -r xmessage -b add,above 2>/dev/null
xdotool search --name '^xmessage$' windowraise %@ 2>/dev/null
wmctrl -r xmessage -e "0,$((fx - 30)),$((fy - 30)),200,200" 2>/dev/null
wait_until_settled 3 hands_hidden foreign
geometry_of "$(xdotool search --name '^xmessage$' | head -n 1)" >"$work/cover-geometry"
check "a window above the face hides the hands ($(red_in_face "$work/foreign.png" "$face") red)" \
    test "$(red_in_face "$work/foreign.png" "$face")" = 0
kill $cover 2>/dev/null
wait $cover 2>/dev/null
cover=
hands_shown() { shoot uncovered && [ "$(red_in_face "$work/uncovered.png" "$face")" -gt 20 ]; }
wait_until 3 hands_shown
check "the hands come back when it goes" test "$(red_in_face "$work/uncovered.png" "$face")" -gt 20

focus "$(clock_window)"
xdotool key Escape
wait_until 3 process_ended $clock
wait $clock
check "Esc ends the clock with status 0" test $? = 0
check "nothing went wrong, and nothing was said on stderr ($(head -c 300 "$work/stderr"))" \
    test ! -s "$work/stderr"

report
