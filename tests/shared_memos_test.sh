#!/usr/bin/env bash
# The memo file is the user's, shared with their editor and sync tools, in the real program on
# a virtual X desktop (Xvfb + openbox, no session bus): a memo added by hand while the clock
# runs rings at its minute, and answering it keeps a line changed by hand; every way the clock
# ends keeps what an open memo dialog shows; a memo folder replaced under a running clock never
# gives two clocks ringing one memo.
# Usage: shared_memos_test.sh KELVARINE_BINARY SOURCE_DIR
set -uo pipefail
binary=$1
source_dir=$2
mode=shared
# shellcheck source=desktop_lib.sh
source "$source_dir/tests/desktop_lib.sh"
require_tools Xvfb openbox xdotool xwininfo xprop wmctrl

make_clock_home 1
clock=
second=
clean_up_at_exit clock second
# No session bus (the library's default): a start on another folder is a clock of its own.
export KELVARINE_COMPOSITOR=none
memos=$XDG_DATA_HOME/kelvarine

minute() { date -u -d "@$1" '+%Y-%m-%d %H:%M'; }
clock_placed() {
    [ "$(geometry_of "$(clock_window)")" = "128x128+1152+50" ] &&
        xwininfo -id "$(clock_window)" | grep -q IsViewable
}
start_clock() {
    "$binary" 2>>"$work/stderr" &
    clock=$!
    wait_until_settled 10 clock_placed
}
ended() { ! kill -0 "$clock" 2>/dev/null; }
faces() {
    xdotool search --onlyvisible --name '^Kelvarine$' 2>/dev/null | while read -r w; do
        [ "$(geometry_of "$w" | cut -d+ -f1)" = 128x128 ] && echo "$w"
    done | wc -l
}
reminders() { xdotool search --onlyvisible --name '^memo$' 2>/dev/null | wc -l; }
has_reminder() { [ "$(reminders)" -gt 0 ]; }
# The reminder never takes the keyboard by itself, and lets it be given once it is on the screen.
# Waits into the next minute, plus the moment a check takes.
next_minute_due() { wait_until 70 has_reminder; }
# Opens the memo dialog and adds a memo for today at the current time with TEXT; the dialog
# stays open.
add_in_dialog() {  # add_in_dialog TEXT
    open_memo_dialog >/dev/null || return 1
    xdotool type --delay 20 "$1"
    xdotool key Tab space  # to "<= 添加", and press it
}

start_virtual_desktop 1280x800
now=$(date +%s)
later=$(minute $((now + 86400)))

# 1. Added by hand while the clock runs, as the README invites: it rings at its minute. Yes
# deletes it and nothing else: the line the user changed meanwhile stays as they wrote it.
printf '%s Call home\r\n' "$later" >"$memos/memo.txt"
start_clock
next=$(minute $((now / 60 * 60 + 60)))
echo "$next Take the pills" >>"$memos/memo.txt"
sed -i 's/Call home/Call home and Ann/' "$memos/memo.txt"
check "a memo added by hand rings at its minute" next_minute_due
box=$(visible_window memo)
check "in one box" test "$(reminders)" = 1
wait_until 3 accepts_focus "$box"
focus "$box"
xdotool key y
printf '%s Call home and Ann\r\n' "$later" >"$work/expected"
check "Yes deletes it; the line changed by hand stays" wait_until 5 \
    cmp -s "$work/expected" "$memos/memo.txt"
check "no version was moved aside" test "$(ls -A "$memos")" = memo.txt
kill "$clock"
wait "$clock"
stop_virtual_desktop

# 2. Every way the clock ends keeps the memo just added in the open dialog.
for end in TERM INT HUP Escape display; do
    printf '%s Call home\r\n' "$later" >"$memos/memo.txt"
    start_virtual_desktop 1280x800
    start_clock
    check "[$end] the memo dialog opens and takes a memo" add_in_dialog "Kept at $end"
    sleep 0.3
    case $end in
        Escape) focus "$(clock_window)" && xdotool key Escape ;;
        display) kill "${KELVARINE_DESKTOP_PIDS[0]}" ;;  # the X server
        *) kill -"$end" "$clock" ;;
    esac
    check "[$end] the clock ends" wait_until 10 ended
    wait "$clock"
    check "[$end] the memo from the open dialog is in the file" \
        grep -q "Kept at $end" "$memos/memo.txt"
    check "[$end] and the one before it" grep -q "Call home" "$memos/memo.txt"
    stop_virtual_desktop
done

# 3. A restore tool replaces the memo folder under a running clock; a second start then runs on
# the new folder. At the next minute one box rings the memo, never two.
start_virtual_desktop 1280x800
now=$(date +%s)
# Not too close to the minute: both clocks must be up before it comes.
[ $((now % 60)) -gt 45 ] && sleep $((62 - now % 60)) && now=$(date +%s)
printf '%s Call home\r\n%s Once only\r\n' "$later" "$(minute $((now / 60 * 60 + 60)))" \
    >"$memos/memo.txt"
: >"$work/stderr"
start_clock
first=$clock
mv "$memos" "$memos.old"
mkdir "$memos"
cp -p "$memos.old/memo.txt" "$memos/"
"$binary" 2>>"$work/second.err" &
second=$!
two_faces() { [ "$(faces)" = 2 ]; }
check "the second start runs on the new folder" wait_until 10 two_faces
check "the memo rings" next_minute_due
sleep 2
check "in one box only ($(reminders))" test "$(reminders)" = 1
check "the first clock says it no longer rings ($(cat "$work/stderr"))" \
    grep -q 'another clock now holds the memo folder' "$work/stderr"
kill "$first" "$second"
wait "$first" "$second"
clock=
second=

report
