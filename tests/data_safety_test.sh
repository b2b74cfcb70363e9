#!/usr/bin/env bash
# The user's memos survive the ways real machines fail, in the real program on a virtual X
# desktop (Xvfb + openbox): a memo folder on a full file system (a tiny tmpfs; needs root to
# mount, skipped with a message otherwise), on one that can neither exchange nor link files
# (NO_LINKS_LIBRARY preloaded; skipped without), and an X server that dies under the clock.
# Usage: data_safety_test.sh KELVARINE_BINARY SOURCE_DIR [NO_LINKS_LIBRARY]
set -uo pipefail
binary=$1
source_dir=$2
no_links=${3:-}
mode=data
# shellcheck source=../tools/virtual-desktop.sh
source "$source_dir/tools/virtual-desktop.sh"
# shellcheck source=desktop_lib.sh
source "$source_dir/tests/desktop_lib.sh"
require_tools Xvfb openbox xdotool xwininfo xprop wmctrl

# Skin 1: a 128 x 128 face, told from other windows by its size.
make_clock_home 1
mounted=
clock=
cleanup() {
    [ -n "$clock" ] && kill "$clock" 2>/dev/null
    stop_virtual_desktop
    [ -n "$mounted" ] && umount "$mounted"
    rm -rf "$work"
}
trap cleanup EXIT
export KELVARINE_COMPOSITOR=none

minute() { date -u -d "@$1" '+%Y-%m-%d %H:%M'; }
# A visible window titled Kelvarine that is not the 128 x 128 face: the program's warning box.
warning_box() {
    local w
    for w in $(xdotool search --onlyvisible --name '^Kelvarine$' 2>/dev/null); do
        [ "$(geometry_of "$w" | cut -d+ -f1)" != 128x128 ] && { echo "$w"; return 0; }
    done
    return 1
}
has_warning_box() { warning_box >/dev/null; }
no_warning_box() { ! warning_box >/dev/null; }
dismiss_warning_box() {  # OK on the box, as often as it takes the window manager to focus it
    local w _
    for _ in 1 2 3; do
        w=$(warning_box) || return 0
        focus "$w"
        xdotool key Return
        wait_until 2 no_warning_box && return 0
    done
    return 1
}
clock_alive() { kill -0 "$clock" 2>/dev/null; }
ended() { ! clock_alive; }
add_memo() {  # add_memo TEXT, in the memo dialog, closed after; fails when it does not open
    local memo
    memo=$(open_memo_dialog) || return 1
    # The dialog opens with the keyboard where it was left, in the text field here, and the text
    # added last in it: replaced.
    xdotool key ctrl+a
    xdotool type --delay 20 "$1"
    xdotool key Tab space shift+Tab  # to "<= 添加", press it, and back
    wmctrl -i -c "$memo"
    wait_until 5 window_gone '备忘事件'
}
start_clock() {  # start_clock MEMO_FOLDER [LIBRARY_TO_PRELOAD]
    export XDG_DATA_HOME=$1
    env ${2:+"LD_PRELOAD=$2"} "$binary" 2>>"$work/stderr" &
    clock=$!
    # Mapped where it starts: before that the window is there, but not yet where it is clicked.
    wait_until_settled 10 clock_placed
}
clock_placed() {
    [ "$(geometry_of "$(clock_window)")" = "128x128+1152+50" ] &&
        xwininfo -id "$(clock_window)" | grep -q IsViewable
}

start_virtual_desktop 1280x800
now=$(date +%s)
due=$((now / 60 * 60 - 60))
later=$((now / 60 * 60 + 86400))

# 1. A full disk: a reminder answered Yes cannot be saved. The old file stays byte for byte, the
# user is told once, and the change is written when there is room again.
data=$work/full
mkdir -p "$data"
if mount -t tmpfs -o size=64k tmpfs "$data" 2>"$work/mount.err"; then
    mounted=$data
    mkdir -p "$data/kelvarine"
    printf '%s Water the plants\r\n%s Call home\r\n' "$(minute $due)" "$(minute $later)" \
        >"$data/kelvarine/memo.txt"
    cp "$data/kelvarine/memo.txt" "$work/before"
    dd if=/dev/zero of="$data/filler" bs=1k >/dev/null 2>&1
    start_clock "$data"
    box=$(wait_for_window memo)
    check "the reminder box appears" test -n "$box"
    wait_until 3 accepts_focus "$box"
    focus "$box"
    xdotool key y
    check "a warning box comes up" wait_until 5 has_warning_box
    check "it says why: $(grep -c 'No space left on device' "$work/stderr") stderr line(s)" \
        test "$(grep -c 'could not save the memos.*No space left on device' "$work/stderr")" = 1
    [ -n "${KELVARINE_SHOT_DIR:-}" ] && import -window root "$KELVARINE_SHOT_DIR/full-disk.png"
    check "the memo file is kept byte for byte" cmp -s "$work/before" "$data/kelvarine/memo.txt"
    check "and nothing else is left beside it" \
        test "$(ls -A "$data/kelvarine")" = memo.txt
    check "OK closes it" dismiss_warning_box

    # Room again: closing the memo dialog saves what the reminder changed.
    rm "$data/filler"
    memo=$(open_memo_dialog)
    check "the memo dialog opens" test -n "$memo"
    wmctrl -i -c "$memo"
    # A file, not a pipe: each poll reads it again.
    printf '%s Call home\r\n' "$(minute $later)" >"$work/expected"
    check "once there is room the change is written" wait_until 5 \
        cmp -s "$work/expected" "$data/kelvarine/memo.txt"
    check "no second warning box" no_warning_box
    check "stderr says it is saved again" grep -q 'saved to .* again' "$work/stderr"

    # 2. The display goes away with a change not yet on the disk (the save failed, then room
    # came): the clock saves it on its way out.
    dd if=/dev/zero of="$data/filler" bs=1k >/dev/null 2>&1
    memo=$(open_memo_dialog)
    xdotool type --delay 20 'Unsaved at the end'
    xdotool key Tab space  # to "<= 添加", and press it
    wmctrl -i -c "$memo"
    check "the commit on a full disk is told" wait_until 5 has_warning_box
    check "and not yet written" bash -c "! grep -q 'Unsaved at the end' '$data/kelvarine/memo.txt'"
    rm "$data/filler"
    kill "${KELVARINE_DESKTOP_PIDS[0]}"  # the X server
    check "the clock ends with its display" wait_until 10 ended
    wait "$clock"
    clock=
    check "the unsaved memo reached the file as the clock ended" \
        grep -q 'Unsaved at the end' "$data/kelvarine/memo.txt"
    check "and the memo before it is still there" grep -q 'Call home' "$data/kelvarine/memo.txt"
    stop_virtual_desktop
    start_virtual_desktop 1280x800
else
    echo "skipped the full-disk checks: cannot mount a tmpfs here ($(cat "$work/mount.err"))" >&2
fi

# 3. A file system that can neither exchange two names, nor rename without replacing, nor link,
# nor make nameless files (some FUSE and network mounts; the preloaded library makes every one
# so): the first memo makes the file, and a later save replaces it.
if [ -n "$no_links" ]; then
    data=$work/no-links
    mkdir -p "$data/kelvarine"
    mv "$work/stderr" "$work/stderr.before" 2>/dev/null
    check "the clock starts with those calls refused" start_clock "$data" "$no_links"
    check "by the library preloaded" grep -qF "$no_links" "/proc/$clock/maps"
    check "the memo dialog opens" add_memo 'The first memo'
    check "it makes the file" wait_until 5 grep -q 'The first memo' "$data/kelvarine/memo.txt"
    check "and opens again" add_memo 'The second memo'
    check "the save replaces the file" \
        wait_until 5 grep -q 'The second memo' "$data/kelvarine/memo.txt" ||
        { echo "memo.txt:"; cat "$data/kelvarine/memo.txt"; echo "stderr:"; cat "$work/stderr"; } >&2
    check "the first memo is still there" grep -q 'The first memo' "$data/kelvarine/memo.txt"
    check "nothing is left beside it" test "$(ls -A "$data/kelvarine")" = memo.txt
    check "no save failed" bash -c "! grep -q 'could not save' '$work/stderr'"
    kill "$clock"
    wait_until 10 ended || kill -KILL "$clock"  # it waits while a change is unsaved
    wait "$clock"
    clock=
else
    echo "skipped the checks without links: no library to preload given" >&2
fi

# 4. A memo added in the dialog, then the X server killed: the memo is in the file. The user's
# files named as an earlier version's temporaries were (memo.txt. and six letters or digits)
# survive the start and the save.
data=$work/plain
mkdir -p "$data/kelvarine" "$work/mine"
printf '%s Call home\r\n' "$(minute $later)" >"$data/kelvarine/memo.txt"
printf 'My private notes\n' >"$work/mine/memo.txt.Notes1"
cp "$data/kelvarine/memo.txt" "$work/mine/memo.txt.Backup"
printf '2024-01-02 09:00 Old plans\r\n' >"$work/mine/memo.txt.2024Q1"
printf '\377\330\377\340\000\020JFIF\000' >"$work/mine/memo.txt.Photo1"
cp "$work/mine"/* "$data/kelvarine/"
start_clock "$data"
check "the memo dialog opens" add_memo 'Added before the crash'
wait_until 5 grep -q 'Added before the crash' "$data/kelvarine/memo.txt"
for mine in "$work/mine"/*; do
    check "${mine##*/} is still there, as it was" cmp -s "$mine" "$data/kelvarine/${mine##*/}"
done
kill -KILL "${KELVARINE_DESKTOP_PIDS[0]}"
check "the clock ends when its X server is killed" wait_until 10 ended
wait "$clock"
clock=
check "the memo added in the dialog is in the file" \
    grep -q 'Added before the crash' "$data/kelvarine/memo.txt"

report
