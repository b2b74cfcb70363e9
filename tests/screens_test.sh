#!/usr/bin/env bash
# Monitors that change under a running clock, on a virtual X desktop with a given window manager
# and compositing manager: one 2560 x 800 X screen split into two monitors, the clock dragged
# onto the right one, then that monitor removed, the clock put across the seam and the monitor
# removed again, the resolution lowered and raised. The clock must always end up wholly on a
# monitor, with the hands on the face, and must not move when a change leaves it wholly on one.
# Usage: screens_test.sh KELVARINE_BINARY SOURCE_DIR WM COMPOSITOR
set -uo pipefail
binary=$1
source_dir=$2
export KELVARINE_WM=$3 KELVARINE_COMPOSITOR=$4
mode="$3+$4"
# shellcheck source=../tools/virtual-desktop.sh
source "$source_dir/tools/virtual-desktop.sh"
# shellcheck source=desktop_lib.sh
source "$source_dir/tests/desktop_lib.sh"
require_tools Xvfb xrandr xdotool xwininfo xprop xsetroot convert import
[ "$3" = none ] || require_tools "$3"
[ "$4" = none ] || require_tools "$4"

# Skin 1: a 128 x 128 face with red hands.
make_clock_home 1
clock=
clean_up_at_exit clock
# Monitors set with xrandr must outlive the moments no client is connected.
export KELVARINE_XVFB_NORESET=1
start_virtual_desktop 2560x800

holds() {  # holds SECONDS COMMAND...: the command succeeds throughout (a move may come late)
    local deadline=$(($(date +%s%N) + $1 * 1000000000))
    shift
    while [ "$(date +%s%N)" -lt "$deadline" ]; do
        "$@" || return 1
        sleep 0.1
    done
}
face() { geometry_of "$(clock_window)"; }
face_is() { [ "$(face)" = "$1" ]; }
within() {  # within WxH+X+Y AREA_WxH+X+Y: the first rectangle lies wholly in the second
    awk -F'[x+]' -v a="$2" 'BEGIN { split(a, r, /[x+]/) }
        { exit !($1 != "" && $3 >= r[3] && $4 >= r[4] && $3 + $1 <= r[3] + r[1] &&
                 $4 + $2 <= r[4] + r[2]) }' <<<"$1"
}
on_area() { within "$(face)" "$1" && one_rectangle; }  # on_area AREA: face and overlay on it
quietly() { "$@" 2>/dev/null; }
# Until the clock is wholly on AREA with the overlay on it, and still so a while later.
settle_within() { wait_until 5 quietly on_area "$1" && holds 2 quietly on_area "$1"; }
monitor_count() { xrandr --listmonitors | awk 'NR == 1 {print $2}'; }
# Drags the clock from its centre so its top-left corner lands on X Y, in one step: icewm holds
# a window back at a monitor's edge while it moves in short ones.
drag_to() {
    local fx fy
    read -r fx fy < <(origin_of "$(clock_window)")
    xdotool mousemove $((fx + 64)) $((fy + 64)) mousedown 1 mousemove $(($1 + 64)) $(($2 + 64)) \
        mouseup 1
    wait_until 5 face_is "128x128+$1+$2"
}
shoot() {  # shoot NAME: a screenshot, kept when KELVARINE_SHOT_DIR is set
    import -window root "$work/$1.png"
    [ -n "${KELVARINE_SHOT_DIR:-}" ] && cp "$work/$1.png" "$KELVARINE_SHOT_DIR/screens-$1-$mode.png"
}
hands_on_face() {  # hands_on_face NAME: the hands' red shows on the face in that screenshot
    [ "$(count_colour "$work/$1.png" "$(face)" 'srgb(245,0,21)')" -gt 20 ]
}

left=1280x800+0+0
# Two monitors on one X screen; the left one takes the output, so it is the only one left
# when the right one goes (else the output's own monitor would cover the whole screen).
xrandr --setmonitor A 1280/338x800/211+0+0 screen >/dev/null  # it talks about the output
xrandr --setmonitor B 1280/338x800/211+1280+0 none
check "the screen is split into two monitors" test "$(monitor_count)" = 2

"$binary" 2>"$work/stderr" &
clock=$!
wait_until 10 face_is 128x128+1152+50
check "the clock starts at the top-right of the left monitor (is $(face))" face_is 128x128+1152+50
check "face and overlay share one rectangle at start-up" one_rectangle

drag_to 1952 300
check "a drag puts the clock on the right monitor (is $(face))" face_is 128x128+1952+300
shoot right
check "the hands show on the face on the right monitor" hands_on_face right

# 1. The monitor under the clock goes away.
xrandr --delmonitor B
settle_within $left
check "the right monitor gone, the clock is wholly on the left one with its hands ($(face))" \
    on_area $left
shoot removed
check "the hands show on the face after the monitor went" hands_on_face removed

# 2. A change that leaves the clock wholly on a monitor does not move it.
before=$(face)
xrandr --setmonitor B 1280/338x800/211+1280+0 none
holds 2 face_is "$before"
check "a monitor added, the clock stays at $before (is $(face))" face_is "$before"
check "face and overlay share one rectangle after the monitor came" one_rectangle

# 3. Across the seam: it stays, until the right monitor goes.
drag_to 1230 300
check "a drag puts the clock across the seam (is $(face))" face_is 128x128+1230+300
xrandr --delmonitor B
settle_within $left
check "across the seam, the right monitor gone, the clock is wholly on the left one ($(face))" \
    on_area $left
shoot seam

# 4. The monitors undone: the output's own monitor covers the screen; the clock stays.
before=$(face)
xrandr --delmonitor A
holds 2 face_is "$before"
check "the monitors joined, the clock stays at $before (is $(face))" face_is "$before"
check "one monitor again" test "$(monitor_count)" = 1

# 5. The resolution drops under a clock that reaches past the new right edge.
drag_to 950 600
check "a drag puts the clock at 950,600 (is $(face))" face_is 128x128+950+600
xrandr --newmode 1024x768 0 1024 0 0 0 768 0 0 0
xrandr --addmode screen 1024x768
xrandr --output screen --mode 1024x768
settle_within 1024x768+0+0
check "the resolution lowered, the clock is wholly on screen with its hands ($(face))" \
    on_area 1024x768+0+0
shoot lowered
check "the hands show on the face at the lower resolution" hands_on_face lowered

# 6. Back to the full resolution: a clock wholly on screen stays, its hands with it.
before=$(face)
xrandr --output screen --mode 2560x800
holds 2 face_is "$before"
check "the resolution raised, the clock stays at $before (is $(face))" face_is "$before"
check "face and overlay share one rectangle after the resolution came back" one_rectangle
shoot raised
check "the hands show on the face at the full resolution" hands_on_face raised
check "the clock keeps running" kill -0 $clock

report
