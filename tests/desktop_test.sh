#!/usr/bin/env bash
# The clock in real windows on a virtual X desktop (Xvfb + openbox), once with a compositing
# manager and once without: placement, see-through corners, click-through overlay, drag,
# taskbar hints, single instance, Enter/Esc, and a memo reminder answered end to end, also one
# that falls due while another program has the keyboard.
# Usage: desktop_test.sh KELVARINE_BINARY SOURCE_DIR [compositor|plain]
set -uo pipefail
binary=$1
source_dir=$2
mode=${3:-compositor}
# shellcheck source=desktop_lib.sh
source "$source_dir/tests/desktop_lib.sh"
require_tools Xvfb openbox xcompmgr xdotool xwininfo xprop xsetroot xclip convert xmessage

make_clock_home 1
clean_up_at_exit clock editor_pid
[ "$mode" = plain ] && export KELVARINE_NO_COMPOSITOR=1
start_virtual_desktop 1280x800

pixel() {  # pixel IMAGE X Y -> srgb(r,g,b)
    convert "$1" -format "%[pixel:p{$2,$3}]" info: | sed 's/srgba\?(\([0-9]*,[0-9]*,[0-9]*\).*/srgb(\1)/'
}
# Top-level windows (frames and override-redirect windows) with exactly this geometry.
windows_at() { xwininfo -root -children | grep -c " $1 "; }
clock_geometry() { geometry_of "$(clock_window)"; }
# The reminder never takes the keyboard by itself; once on the screen it lets the user give it.
focus_reminder() { wait_until 3 accepts_focus "$1" && focus "$1"; }
active_window() { xdotool getactivewindow 2>/dev/null; }
# Whether window $1 is stacked above window $2 (bottom to top in _NET_CLIENT_LIST_STACKING).
stacked_above() {
    xprop -root _NET_CLIENT_LIST_STACKING | tr -s ', ' '\n' | grep '^0x' |
        awk -v upper="$(printf '0x%x' "$1")" -v lower="$(printf '0x%x' "$2")" \
            '$0 == lower {l = NR} $0 == upper {u = NR} END {exit !(l && u > l)}'
}

# A memo one minute overdue, to be asked about as soon as the clock starts.
due=$(($(date +%s) / 60 * 60 - 60))
printf '%s Water the plants\r\n' "$(date -u -d "@$due" '+%Y-%m-%d %H:%M')" \
    >"$XDG_DATA_HOME/kelvarine/memo.txt"

"$binary" 2>"$work/stderr" &
clock=$!
wait_until 10 window_shown memo
box=$(visible_window memo)
check "the reminder box appears at start-up" test -n "$box"

# The reminder: exact text (triple-click selects the line into the X selection), clock ticking
# behind it, No postpones the memo by five minutes from its own time.
if [ -n "$box" ]; then
    read -r X Y W H < <(xwininfo -id "$box" |
        awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width/{w=$2}
             /Height/{h=$2} END{print x, y, w, h}')
    # It opens with its text unselected: no pixel of the selection colour, once its text shows.
    box_drawn() {
        import -window root -crop "${W}x${H}+$X+$Y" +repage "$work/box.png" &&
            [ "$(count_colour "$work/box.png" "${W}x${H}+0+0" 'srgb(0,0,0)')" -gt 50 ]
    }
    wait_until 5 box_drawn
    [ -n "${KELVARINE_SHOT_DIR:-}" ] && cp "$work/box.png" "$KELVARINE_SHOT_DIR/box-$mode.png"
    highlighted=$(convert "$work/box.png" -fill black +opaque 'srgb(48,140,198)' -fill white \
        -opaque 'srgb(48,140,198)' -format '%[fx:round(mean*w*h)]' info:)
    check "the box opens with its text unselected ($highlighted selected pixels)" \
        test "$highlighted" = 0
    xdotool mousemove $((X + 60)) $((Y + 22)) click --repeat 3 --delay 80 1
    expected="$(date -u -d "@$due" '+%Y-%m-%d %H:%M') Water the plants - 删除此备忘？"
    selected() { [ "$(xclip -o 2>/dev/null)" = "$expected" ]; }
    wait_until 3 selected
    check "the box reads '$expected'" test "$(xclip -o 2>/dev/null)" = "$expected"
    check "the clock keeps ticking while the box is open" next_frame "$work/tick.png" 128x128+1152+50
    [ -n "${KELVARINE_SHOT_DIR:-}" ] && cp "$work/tick.png" "$KELVARINE_SHOT_DIR/reminder-$mode.png"
    check "the box takes the keyboard once given it" focus_reminder "$box"
    xdotool key n
    postponed="$(date -u -d "@$((due + 300))" '+%Y-%m-%d %H:%M') Water the plants"
    printf '%s\r\n' "$postponed" >"$work/postponed"
    wait_until 5 cmp -s "$work/postponed" "$XDG_DATA_HOME/kelvarine/memo.txt"
    check "No rewrites the memo five minutes later" \
        cmp -s "$work/postponed" "$XDG_DATA_HOME/kelvarine/memo.txt"
fi

# Placement: 128-pixel skin at the top-right, 50 pixels down; the overlay on the same rectangle.
rect="128x128+1152+50"
check "clock window at $rect (is $(clock_geometry))" test "$(clock_geometry)" = "$rect"
check "clock frame and overlay share $rect" test "$(windows_at "$rect")" -ge 2
state=$(xprop -id "$(clock_window)" _NET_WM_STATE)
check "no taskbar entry" grep -q _NET_WM_STATE_SKIP_TASKBAR <<<"$state"
check "always on top" grep -q _NET_WM_STATE_ABOVE <<<"$state"

# Pixels: the corners show the desktop, the face shows the skin between the hands.
import -window root "$work/shot.png"
background=$(pixel "$work/shot.png" 10 790)
[ -n "${KELVARINE_SHOT_DIR:-}" ] && cp "$work/shot.png" "$KELVARINE_SHOT_DIR/desktop-$mode.png"
for corner in "1152 50" "1279 50" "1152 177" "1279 177"; do
    check "corner $corner shows the desktop" test "$(pixel "$work/shot.png" "${corner% *}" "${corner#* }")" = "$background"
done
convert "$work/shot.png" -crop "$rect" +repage "$work/face.png"
convert -size 128x128 "xc:$background" "$source_dir/res/png/130.png" -composite "$work/expected.png"
differing=$(compare -metric AE -fuzz 4% "$work/face.png" "$work/expected.png" null: 2>&1)
check "the face shows the skin except under hands and texts ($differing pixels differ)" \
    test "${differing%%.*}" -lt 3000
# Two ticks later the face looks the same: a hand that moved on leaves nothing behind (without
# a compositor only the part the second hand crossed is reshaped, each second).
next_frame "$work/later.png" "$rect"
next_frame "$work/later.png" "$rect"
convert "$work/later.png" -crop "$rect" +repage "$work/face-later.png"
[ -n "${KELVARINE_SHOT_DIR:-}" ] && cp "$work/face-later.png" "$work/face.png" "$KELVARINE_SHOT_DIR/"
second_hand() { count_colour "$1" 128x128+0+0 'srgb(160,255,255)'; }
black() { count_colour "$1" 128x128+0+0 'srgb(0,0,0)'; }
check "the second hand shows in full seconds later ($(second_hand "$work/face-later.png") pixels)" \
    test "$(second_hand "$work/face-later.png")" -gt 25
check "and leaves no black trail ($(black "$work/face.png") then $(black "$work/face-later.png"))" \
    test "$(black "$work/face-later.png")" -le $(($(black "$work/face.png") + 5))
keyed=$(convert "$work/face.png" -fill black +opaque 'srgb(12,128,221)' -fill white \
    -opaque 'srgb(12,128,221)' -format '%[fx:round(mean*w*h)]' info:)
check "no pixel in the key colour ($keyed found)" test "$keyed" = 0

# A second clock finds the first and leaves it alone.
second_err=$("$binary" 2>&1 >/dev/null)
check "second start exits with status 0" test $? = 0
check "second start says so on one line ($second_err)" test "$(wc -l <<<"$second_err")" = 1 -a -n "$second_err"
check "the first clock keeps running" kill -0 $clock

# Click-through and drag: press on the hands' centre, where both windows overlap.
xdotool mousemove 1216 114 mousedown 1
for step in 1 2 3 4 5; do xdotool mousemove $((1216 - 20 * step)) $((114 + 6 * step)); done
xdotool mouseup 1
moved="128x128+1052+80"
moved_together() { [ "$(clock_geometry)" = "$moved" ] && [ "$(windows_at "$moved")" -ge 2 ]; }
wait_until_settled 3 moved_together
check "dragging through the overlay moves the clock to $moved (is $(clock_geometry))" \
    test "$(clock_geometry)" = "$moved"
check "the overlay moved with it" test "$(windows_at "$moved")" -ge 2

# The compositing manager stops and starts again while the clock runs: the corners stay
# see-through throughout (the clock falls back to shape masks and back again).
if [ "$mode" = compositor ]; then
    corner_matches_desktop() {  # corner_matches_desktop SCREENSHOT
        test "$(pixel "$1" 1053 81)" = "$(pixel "$1" 10 790)"
    }
    corners_see_through() {  # corners_see_through SHOT
        import -window root "$1" && corner_matches_desktop "$1"
    }
    # Once its selection window is gone the server has also stopped redirecting, so a corner
    # still drawn from the composited picture cannot pass for the clock's own mask.
    kill "$KELVARINE_COMPOSITOR_PID"
    wait "$KELVARINE_COMPOSITOR_PID" 2>/dev/null
    compositor_gone() { ! compositor_running xcompmgr; }
    wait_until 5 compositor_gone
    wait_until 5 corners_see_through "$work/without.png"
    check "corners see-through after the compositor stopped" corner_matches_desktop "$work/without.png"
    xcompmgr >/dev/null 2>&1 &
    KELVARINE_COMPOSITOR_PID=$!
    KELVARINE_DESKTOP_PIDS+=("$KELVARINE_COMPOSITOR_PID")
    # The corners showed the desktop before as well; judge them after the clock has drawn a
    # frame with the compositor running.
    wait_until 5 compositor_running xcompmgr
    next_frame "$work/with.png" "$moved"
    wait_until 3 corners_see_through "$work/with.png"
    check "corners see-through after a compositor started" corner_matches_desktop "$work/with.png"
fi

# Enter does nothing (judged once the clock has drawn a frame after it); Esc ends the run
# with status 0.
xdotool windowfocus --sync "$(clock_window)" key Return
next_frame "$work/after-enter.png" "$moved"
clock_running() { kill -0 $clock 2>/dev/null && [ -n "$(clock_window)" ]; }
check "Enter leaves the clock running" clock_running
xdotool windowfocus --sync "$(clock_window)" key Escape
wait_until 3 process_ended $clock
wait $clock
check "Esc ends the clock with status 0" test $? = 0

# A memo falls due while the user types in another program, under the place the box comes up:
# the box comes up in front of it without taking its keyboard, so a Return or a Y typed there
# answers nothing; a click on Yes still deletes the memo.
memo_file="$XDG_DATA_HOME/kelvarine/memo.txt"
xmessage -name editor -geometry 500x300+390+250 "typing here" 2>/dev/null &
editor_pid=$!
editor=$(wait_for_window editor)
[ -n "$editor" ] && focus "$editor"
check "another program has the keyboard" test -n "$editor" -a "$(active_window)" = "$editor"
printf '%s Call home\r\n' "$(date -u -d "@$due" '+%Y-%m-%d %H:%M')" >"$memo_file"
cp "$memo_file" "$work/before-typing"
"$binary" 2>>"$work/stderr" &
clock=$!
box=$(wait_for_window memo)
check "a reminder comes up while another program has the keyboard" test -n "$box"
if [ -n "$box" ]; then
    # Judged once the box accepts the focus: by then the window manager has had Qt's request to
    # activate it, and a box that took the keyboard would have it.
    wait_until 3 accepts_focus "$box"
    focused=$(xdotool getwindowfocus)
    check "that program keeps the keyboard (active $(active_window), focus $focused)" \
        test "$(active_window)" = "$editor" -a "$focused" != "$box"
    check "the box is in front of it" stacked_above "$box" "$editor"
    xdotool key Return y
    next_frame "$work/after-typing.png" "$(clock_geometry)"
    check "a Return and a Y typed there answer nothing: the box is open" window_shown memo
    check "and the memo is kept as it was" cmp -s "$work/before-typing" "$memo_file"
    [ -n "${KELVARINE_SHOT_DIR:-}" ] &&
        cp "$work/after-typing.png" "$KELVARINE_SHOT_DIR/typing-$mode.png"
    # Yes is the left one of the two buttons at the box's bottom right.
    read -r X Y W H < <(xwininfo -id "$box" |
        awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width/{w=$2}
             /Height/{h=$2} END{print x, y, w, h}')
    xdotool mousemove $((X + W - 137)) $((Y + H - 23)) click 1
    memo_gone() { ! grep -q 'Call home' "$memo_file"; }
    wait_until 5 memo_gone
    check "a click on Yes, the keyboard still elsewhere, deletes the memo" memo_gone
fi
kill $clock $editor_pid 2>/dev/null
wait $clock 2>/dev/null
wait $editor_pid 2>/dev/null

# Logging out while a reminder is open: the box goes, the memo stays due for next time, and
# the clock ends at once with status 0.
printf '%s Still due\r\n' "$(date -u -d "@$due" '+%Y-%m-%d %H:%M')" >"$memo_file"
cp "$memo_file" "$work/before-term"
# Started from a session that exports a Wayland platform: the clock still comes up on X.
QT_QPA_PLATFORM=wayland "$binary" 2>"$work/platform.err" &
clock=$!
box=$(wait_for_window memo)
check "with QT_QPA_PLATFORM=wayland exported, a reminder box is open on X" test -n "$box"
check "and the ignored platform is said once ($(cat "$work/platform.err"))" \
    test "$(grep -c 'QT_QPA_PLATFORM=wayland ignored' "$work/platform.err")" = 1
start_ms=$(date +%s%3N)
kill -TERM $clock
wait_until 1 process_ended $clock
elapsed=$(($(date +%s%3N) - start_ms))
check "SIGTERM with a box open ends the clock within a second (${elapsed} ms)" test "$elapsed" -lt 1000
kill -0 $clock 2>/dev/null && kill -KILL $clock
wait $clock
check "and with status 0" test $? = 0
check "the unanswered memo is kept as it was" cmp -s "$work/before-term" "$memo_file"

report
