#!/usr/bin/env bash
# The running clock reached without the mouse and from the desktop's launcher, on a virtual X
# desktop with a session bus of its own: the context menu by Shift+F10, the Menu key and a
# right-click; --memos, --settings and a plain second start, also through gtk-launch and dex,
# ask the clock that runs instead of starting another; without a session bus a second start
# says why it did nothing. Starts reach the clock of their own memo folder, also one that still
# serves a folder a restore replaced, never a clock of other memos in the same session.
# Usage: reach_test.sh KELVARINE_BINARY SOURCE_DIR
set -uo pipefail
binary=$1
source_dir=$2
mode=reach
# shellcheck source=desktop_lib.sh
source "$source_dir/tests/desktop_lib.sh"
require_tools Xvfb openbox xdotool xwininfo xprop xmessage dbus-daemon gtk-launch dex

make_clock_home 1
clock=
other=
beside=
clean_up_at_exit clock beside other bus
export KELVARINE_COMPOSITOR=none
start_virtual_desktop 1280x800
export XDG_DATA_DIRS=$work/system
mkdir -p "$XDG_DATA_HOME/applications" "$XDG_DATA_DIRS"
# The menu entry as installed, naming this program.
sed "s|@KELVARINE_DESKTOP_EXEC@|\"$binary\"|; s|@KELVARINE_APP_ID@|example.kelvarine.Clock|" \
    "$source_dir/res/kelvarine.desktop.in" \
    >"$XDG_DATA_HOME/applications/example.kelvarine.Clock.desktop"
own_session_bus

shoot() {  # shoot NAME: a screenshot, kept when KELVARINE_SHOT_DIR is set
    [ -n "${KELVARINE_SHOT_DIR:-}" ] && import -window root "$KELVARINE_SHOT_DIR/$1.png"
    true
}
clock_placed() { [ "$(geometry_of "$(clock_window)")" = "128x128+1152+50" ]; }
faces() { xdotool search --onlyvisible --name '^Kelvarine$' 2>/dev/null | while read -r w; do
    [ "$(geometry_of "$w" | cut -d+ -f1)" = 128x128 ] && echo "$w"; done | wc -l; }
# Esc on the dialog of that title, once it has the keyboard.
close_dialog() {  # close_dialog TITLE
    local w
    w=$(visible_window "$1") || return
    focus "$w"
    xdotool key Escape
    wait_until 3 window_gone "$1"
}
# A popup menu: an unmanaged window of the clock's that is neither face nor overlay.
menu_shown() {
    local w
    for w in $(xwininfo -root -children | awk '$1 ~ /^0x/ && /"kelvarine"|\(has no name\)/ {print $1}'); do
        xwininfo -id "$w" 2>/dev/null | grep -q 'IsViewable' || continue
        xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes' || continue
        [ "$(geometry_of "$w" | cut -d+ -f1)" != 128x128 ] && return 0
    done
    return 1
}
# Picks the menu's Nth item with the keyboard.
pick() {  # pick N
    wait_until 3 menu_shown || return
    local keys=() _
    for _ in $(seq "$1"); do keys+=(Down); done
    xdotool key --delay 50 "${keys[@]}" Return
}
start_second() {  # start_second ARGS...: another start, which must end at once with 0
    "$binary" "$@" >"$work/second.out" 2>"$work/second.err" &
    local second=$!
    wait_until 8 process_ended $second || kill -KILL $second  # a start that runs on fails
    wait $second
    second_status=$?
}

"$binary" 2>"$work/stderr" &
clock=$!
wait_until_settled 10 clock_placed
check "the clock starts" clock_placed

# 1. The context menu: Shift+F10 and the Menu key with the face focused, and a right-click.
focus "$(clock_window)"
xdotool key shift+F10
wait_until 3 menu_shown
check "Shift+F10 shows the context menu" menu_shown
shoot context-menu
xdotool key Down Return
check "its first item opens the memos" wait_until 5 window_shown '备忘事件'
close_dialog '备忘事件'
focus "$(clock_window)"
xdotool key Menu
pick 2
check "the Menu key shows it, and its second item opens the settings" \
    wait_until 5 window_shown '设置'
close_dialog '设置'
read -r fx fy < <(origin_of "$(clock_window)")
xdotool mousemove $((fx + 30)) $((fy + 90)) click 3
pick 1
check "a right-click shows it too" wait_until 5 window_shown '备忘事件'
close_dialog '备忘事件'
focus "$(clock_window)"
xdotool key Return
sleep 0.3
check "Return still does nothing on the face" eval '! menu_shown && window_gone 备忘事件 && window_gone 设置'

# 2. Later starts ask the clock that runs.
start_second --memos
check "--memos ends at once with 0 (status $second_status)" test "$second_status" = 0
check "--memos opens the memos in the running clock" wait_until 5 window_shown '备忘事件'
shoot memos-from-second-start
close_dialog '备忘事件'
start_second --settings
check "--settings opens the settings in the running clock" wait_until 5 window_shown '设置'
start_second --memos
sleep 0.5  # a memo dialog that must not open: nothing to wait for but time
check "--memos while the settings are open brings them forward instead" \
    eval 'window_shown 设置 && window_gone 备忘事件'
close_dialog '设置'
xmessage -geometry 400x300+900+20 'another program' 2>/dev/null &
other=$!
wait_until 5 window_shown xmessage
focus "$(visible_window xmessage)"
start_second
check "a plain second start says nothing ($(cat "$work/second.err"))" test ! -s "$work/second.err"
face_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$(clock_window)" ]; }
check "and brings the face to the front" wait_until 3 face_active
focus "$(visible_window xmessage)"
gtk-launch example.kelvarine.Clock >"$work/gtk-launch.log" 2>&1
check "gtk-launch of the menu entry brings the face to the front" wait_until 5 face_active
focus "$(visible_window xmessage)"
dex "$XDG_DATA_HOME/applications/example.kelvarine.Clock.desktop" >"$work/dex.log" 2>&1
check "dex of the menu entry brings the face to the front" wait_until 5 face_active
kill $other
check "one clock throughout ($(faces) faces)" test "$(faces)" = 1
check "the first clock still runs" kill -0 $clock

# 3. No session bus to ask through: the second start says so.
(no_session_bus && start_second --memos)
check "without a session bus a second start says why ($(cat "$work/second.err"))" \
    grep -q 'already running (no session bus' "$work/second.err"
check "and opens nothing" window_gone '备忘事件'

# 4. A clock on other memos beside it: the starts on those memos are its own.
XDG_DATA_HOME=$work/data2 "$binary" 2>"$work/beside.err" &
beside=$!
two_faces() { test "$(faces)" = 2; }
check "a clock on other memos runs beside it" wait_until 10 two_faces
memos_of() { xdotool search --all --onlyvisible --pid "$1" --name '^备忘事件$' >/dev/null; }
memos_of_only() { memos_of "$1" && ! memos_of "$2"; }  # memos_of_only PID OTHER_PID
XDG_DATA_HOME=$work/data2 start_second --memos
check "--memos on its memos opens its memo dialog, not the first clock's" \
    wait_until 5 memos_of_only $beside $clock
close_dialog '备忘事件'
check "neither clock said anything ($(cat "$work/stderr" "$work/beside.err"))" \
    test ! -s "$work/stderr" -a ! -s "$work/beside.err"
# A restore put a new memo folder in place of the first clock's: that clock is the new folder's.
mv "$XDG_DATA_HOME/kelvarine" "$XDG_DATA_HOME/kelvarine.old"
mkdir -m 700 "$XDG_DATA_HOME/kelvarine"
start_second --memos
# Said, unless the clock's minute check took the new folder first: then the start is plain.
went_to_clock() {
    [ "$second_status" = 0 ] &&
        { grep -q "runs in process $clock: " "$work/second.err" || [ ! -s "$work/second.err" ]; }
}
check "a start on it goes to that clock ($second_status: $(cat "$work/second.err"))" went_to_clock
check "which opens its memo dialog" wait_until 5 memos_of $clock
close_dialog '备忘事件'

kill $clock
wait $clock
check "the clock ends on SIGTERM with status 0" test $? = 0
clock=
report
