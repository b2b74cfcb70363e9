#!/usr/bin/env bash
# The clock in a Wayland session, through XWayland, in a headless weston: the compositor
# places managed windows itself, so the face and the overlay must still be one clock.
# (Headless weston has no input devices, and XWayland cannot take synthetic input there.)
# Usage: wayland_test.sh KELVARINE_BINARY SOURCE_DIR
set -uo pipefail
binary=$1
source_dir=$2
mode=weston
# shellcheck source=desktop_lib.sh
source "$source_dir/tests/desktop_lib.sh"
require_tools weston Xwayland weston-screenshooter xwininfo xdotool convert compare

make_clock_home 1
clock=
compositor=
clean_up_at_exit clock compositor
socket=kelvarine-test-$$
weston --backend=headless-backend.so --use-pixman --xwayland --width=1280 --height=800 \
    --socket="$socket" --debug --idle-time=0 >"$work/weston.log" 2>&1 &
compositor=$!
x_display() { sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log"; }
x_display_known() { [ -n "$(x_display)" ]; }
wait_until 5 x_display_known
display=$(x_display)
check "weston offers an X display" test -n "$display"
[ -n "$display" ] || { report; exit 1; }
export WAYLAND_DISPLAY=$socket DISPLAY=$display
unset QT_QPA_PLATFORM

# Mapped top-level windows of the face's size: the face and the overlay.
clock_windows() {
    local w
    for w in $(xwininfo -root -children 2>/dev/null | awk '/128x128/{print $1}'); do
        xwininfo -id "$w" | grep -q IsViewable && geometry_of "$w"
    done
}

# Both windows mapped on one rectangle at the top-right, and no longer moving.
in_place() {
    mapfile -t rects < <(clock_windows)
    [ "${#rects[@]}" = 2 ] && [ "${rects[0]}" = "${rects[1]}" ] && [ "${rects[0]}" = "128x128+1152+50" ]
}
"$binary" 2>"$work/stderr" &
clock=$!
wait_until_settled 10 in_place
mapfile -t rects < <(clock_windows)
check "two clock windows are mapped (${#rects[@]})" test "${#rects[@]}" = 2
check "face and overlay share one rectangle (${rects[*]})" test "${rects[0]:-a}" = "${rects[1]:-b}"
check "the clock is at the top-right of the output (${rects[0]:-})" test "${rects[0]:-}" = "128x128+1152+50"

# What the compositor shows there is the skin, with the hands on it, not beside it (once it
# shows the hands at all: weston may still be composing the first frames).
hands_composed() {
    rm -f "$work"/wayland-screenshot-*.png
    (cd "$work" && weston-screenshooter >/dev/null 2>&1)
    shot=$(compgen -G "$work/wayland-screenshot-*.png" | head -n 1)
    [ -n "$shot" ] &&
        [ "$(count_colour "$shot" 128x128+1152+50 'srgb(245,0,21)')" -gt 20 ]
}
wait_until 5 hands_composed
check "weston took a screenshot" test -n "$shot"
if [ -n "$shot" ]; then
    [ -n "${KELVARINE_SHOT_DIR:-}" ] && cp "$shot" "$KELVARINE_SHOT_DIR/weston.png"
    convert "$shot" -crop 128x128+1152+50 +repage "$work/face.png"
    convert "$work/face.png" "$source_dir/res/png/130.png" -composite "$work/expected.png"
    differing=$(compare -metric AE -fuzz 6% "$work/face.png" "$work/expected.png" null: 2>&1)
    check "the face shows the skin in place ($differing pixels differ)" test "${differing%%.*}" -lt 3000
    red=$(count_colour "$work/face.png" 128x128+0+0 'srgb(245,0,21)')
    check "the hands are drawn on the face ($red red pixels)" test "$red" -gt 20
fi
kill -TERM $clock
wait $clock
check "the clock ends on SIGTERM with status 0" test $? = 0
clock=

report
