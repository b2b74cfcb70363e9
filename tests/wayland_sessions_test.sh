#!/usr/bin/env bash
# The clock in Wayland sessions, on the compositor's XWayland: sway, mutter (GNOME) and
# kwin_wayland (KDE Plasma). Each compositor runs nested in a private Xvfb, which shows what
# it composes (real screenshots) and feeds it real pointer input. These compositors draw the
# clock's unmanaged windows over every other window, in the order they first appeared, and
# pass the pointer to XWayland only while it is over one of its windows.
# Usage: wayland_sessions_test.sh KELVARINE_BINARY SOURCE_DIR COMPOSITOR
#   COMPOSITOR: sway, mutter or kwin_wayland
set -uo pipefail
binary=$1
source_dir=$2
compositor=$3
mode=$compositor
# shellcheck source=desktop_lib.sh
source "$source_dir/tests/desktop_lib.sh"
require_tools Xvfb Xwayland xdotool xwininfo xprop xev xhost convert xmessage dbus-daemon "$compositor"
[ "$compositor" = sway ] && require_tools setpriv

work=$(mktemp -d)
chmod 755 "$work"  # sway, run as another user, reads its files here
pids=()
cleanup() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wait_until 3 processes_ended "${pids[@]}" || kill -KILL "${pids[@]}" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}

# The X server the compositor draws into and takes the pointer from.
KELVARINE_WM=none KELVARINE_COMPOSITOR=none start_virtual_desktop 1280x800
pids+=("${KELVARINE_DESKTOP_PIDS[@]}")
trap cleanup EXIT
outer=$DISPLAY
on_screen() { DISPLAY=$outer "$@"; }  # what the user sees and does

export LIBGL_ALWAYS_SOFTWARE=1 NO_AT_BRIDGE=1
# A session bus of our own: the compositors look for one.
own_session_bus
pids+=("$bus")
inner_file=$work/display
case "$compositor" in
    sway)
        # sway refuses to run as root: then it runs as nobody, and lets root reach its XWayland.
        mkdir -p "$work/sway/run"
        chmod 700 "$work/sway/run"
        cat >"$work/sway/ready" <<EOF
#!/bin/sh
xhost +si:localuser:$(id -un) >/dev/null
echo "\$DISPLAY" >$work/sway/display.new && mv $work/sway/display.new $work/sway/display
EOF
        chmod 755 "$work/sway/ready"
        inner_file=$work/sway/display
        cat >"$work/sway/config" <<EOF
xwayland force
output * resolution 1280x800 position 0 0 bg #5a7a9a solid_color
default_border none
exec $work/sway/ready
EOF
        as_user=()
        if [ "$(id -u)" = 0 ]; then
            chown -R nobody "$work/sway"
            xhost +si:localuser:nobody >/dev/null
            as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
        fi
        "${as_user[@]}" env -i HOME="$work/sway" PATH="$PATH" DISPLAY="$outer" \
            XDG_RUNTIME_DIR="$work/sway/run" WLR_BACKENDS=x11 WLR_RENDERER=pixman \
            WLR_LIBINPUT_NO_DEVICES=1 sway -c "$work/sway/config" >"$work/compositor.log" 2>&1 &
        pids+=($!)
        ;;
    mutter | kwin_wayland)
        export XDG_RUNTIME_DIR=$work/run
        mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
        if [ "$compositor" = mutter ]; then
            MUTTER_DEBUG_DUMMY_MODE_SPECS=1280x800 mutter --nested --wayland \
                --wayland-display="kelvarine-$$" >"$work/compositor.log" 2>&1 &
            pids+=($!)
            mutter_display() {
                sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$work/compositor.log" >"$inner_file"
                [ -s "$inner_file" ] && ls "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.* >/dev/null 2>&1
            }
        else
            # A copy: the installed binary carries a file capability a container may refuse.
            cp "$(command -v kwin_wayland)" "$work/kwin_wayland"
            # shellcheck disable=SC2016  # the session script's own $DISPLAY, when it runs
            printf '#!/bin/sh\necho "$DISPLAY" >%s.new && mv %s.new %s\nexec sleep 100000\n' \
                "$inner_file" "$inner_file" "$inner_file" >"$work/session"
            chmod 755 "$work/session"
            "$work/kwin_wayland" --x11-display "$outer" --xwayland --socket "kelvarine-$$" \
                --width 1280 --height 800 --exit-with-session "$work/session" \
                >"$work/compositor.log" 2>&1 &
            pids+=($!)
        fi
        ;;
    *) echo "unknown compositor $compositor" >&2; exit 2 ;;
esac
case "$compositor" in
    mutter) wait_until 30 mutter_display ;;
    *) wait_until 30 test -s "$inner_file" ;;
esac
inner=$(cat "$inner_file" 2>/dev/null)
check "$compositor offers an X display (${inner:-none})" test -n "$inner"
[ -n "$inner" ] || { cat "$work/compositor.log" >&2; report; exit 1; }
export DISPLAY=$inner
if [ "$compositor" = mutter ]; then
    XAUTHORITY=$(compgen -G "$XDG_RUNTIME_DIR/.mutter-Xwaylandauth.*" | head -n 1)
    export XAUTHORITY
fi
wait_until 10 xwininfo -root >/dev/null 2>&1

clock_files 1
printf '2099-01-02 09:30 Call home\n' >"$XDG_DATA_HOME/kelvarine/memo.txt"

shoot() {  # what the compositor shows, from the X server it draws into
    on_screen import -window root "$work/$1.png"
    [ -n "${KELVARINE_SHOT_DIR:-}" ] && cp "$work/$1.png" "$KELVARINE_SHOT_DIR/$1-$mode.png"
    true
}
hands_shown() {  # hands_shown NAME: the hands' red on the face in a new screenshot
    shoot "$1" && [ "$(count_colour "$work/$1.png" "$face" 'srgb(245,0,21)')" -gt 20 ]
}
# The pointer comes from outside the face and slows to a stop, as a hand moves it. Into an
# unmanaged window, sway passes XWayland the motion after the entry but not the entry's
# position; mutter passes the entry's position, then nothing until a button is pressed.
glide() {  # glide X Y
    on_screen xdotool mousemove $(($1 > 200 ? $1 - 200 : $1 + 200)) "$2"
    sleep 0.15
    on_screen xdotool mousemove $(($1 - 2)) $(($2 + 1))
    sleep 0.15
    on_screen xdotool mousemove "$1" "$2"
    sleep 0.25
}
close_dialog() {  # close_dialog TITLE: Esc, as a user would
    on_screen xdotool key Escape
    wait_until 5 window_gone "$1"
}

"$binary" 2>"$work/stderr" &
clock=$!
pids+=("$clock")
at_top_right() { [ "$(geometry_of "$(clock_window)")" = "128x128+1152+50" ] && one_rectangle; }
wait_until_settled 15 at_top_right
face=$(geometry_of "$(clock_window)")
check "the clock starts at the top-right (is $face)" test "$face" = "128x128+1152+50"
check "face and overlay share one rectangle at start-up" one_rectangle
wait_until 5 hands_shown start
check "the hands show on the face" hands_shown start
states=$(xprop -id "$(clock_window)" _NET_WM_STATE)
check "the face is kept off taskbars ($states)" grep -q '_NET_WM_STATE_SKIP_TASKBAR' <<<"$states"

# The first thing done to the clock is a drag in five steps that starts away from where the
# pointer entered the face. sway and kwin_wayland pass XWayland the motion over the face, so the
# press is where the pointer is and every step moves the clock. mutter reports the press where
# the pointer entered and no motion until the face is clicked: there the first step only finds
# the pointer.
glide 1160 112
for at in "1180 114" "1200 117" "1220 119" "1238 122"; do
    on_screen xdotool mousemove "${at% *}" "${at#* }"
    sleep 0.1
done
drag_from() {  # drag_from X Y DX DY STEPS: press, then STEPS moves
    local x=$1 y=$2 step
    on_screen xdotool mousedown 1
    for step in $(seq "$5"); do
        sleep 0.05
        on_screen xdotool mousemove $((x + $3 * step)) $((y + $4 * step))
    done
    sleep 0.1
    on_screen xdotool mouseup 1
}
clock_at() { [ "$(geometry_of "$(clock_window)")" = "$1" ] && one_rectangle; }
moved_by() {  # moved_by GEOMETRY DX DY: the geometry that far away
    awk -F'[x+]' -v dx="$2" -v dy="$3" '{print $1 "x" $2 "+" $3 + dx "+" $4 + dy}' <<<"$1"
}
drag_from 1238 122 -20 6 5
case "$compositor" in
    mutter) dragged="128x128+1072+74" ;;
    *) dragged="128x128+1052+80" ;;
esac
wait_until_settled 3 clock_at "$dragged"
check "a first drag in five steps moves the clock to $dragged (is $(geometry_of "$(clock_window)"))" \
    test "$(geometry_of "$(clock_window)")" = "$dragged"
check "face and overlay share one rectangle after the drag" one_rectangle
face=$(geometry_of "$(clock_window)")
read -r fx fy < <(awk -F'[x+]' '{print $3, $4}' <<<"$face")

glide $((fx + 64)) $((fy + 64))
on_screen xdotool click --repeat 2 --delay 80 1
settings=$(wait_for_window '设置')
check "a double-click at the centre opens the settings" test -n "$settings"
[ -n "$settings" ] && check "Esc closes the settings" close_dialog '设置'
sleep 0.6  # no third click of the double-click

# Once the face has been clicked, every compositor reports where the pointer is: five steps
# move the clock by exactly five steps.
glide $((fx + 70)) $((fy + 60))
drag_from $((fx + 70)) $((fy + 60)) 20 -6 5
dragged=$(moved_by "$face" 100 -30)
wait_until_settled 3 clock_at "$dragged"
check "a later drag in five steps moves the clock by (100, -30) (is $(geometry_of "$(clock_window)"), not $dragged)" \
    test "$(geometry_of "$(clock_window)")" = "$dragged"
face=$dragged
read -r fx fy < <(awk -F'[x+]' '{print $3, $4}' <<<"$face")

# A flick, 100 px a move, out of the face at once. mutter and kwin_wayland keep the pointer
# with the window that holds the button; sway sends it to whatever lies under it, and the clock
# stays where sway took it away.
glide $((fx + 64)) $((fy + 64))
drag_from $((fx + 64)) $((fy + 64)) -100 30 4
case "$compositor" in
    sway) flicked=$face ;;
    *) flicked=$(moved_by "$face" -400 120) ;;
esac
wait_until_settled 3 clock_at "$flicked"
check "after a flick the clock is at $flicked (is $(geometry_of "$(clock_window)"))" \
    test "$(geometry_of "$(clock_window)")" = "$flicked"
face=$(geometry_of "$(clock_window)")
read -r fx fy < <(awk -F'[x+]' '{print $3, $4}' <<<"$face")

# Another program's window under the face takes the focus (sway then raises it above the
# clock in the X order, while still drawing the clock on top). On sway the pointer comes back
# to XWayland over it, with the button of the flick still held as far as X knows.
xmessage -geometry 500x400+$((fx - 200))+$((fy - 30)) -bg '#203040' 'another program' &
other=$!
pids+=("$other")
wait_until 5 window_shown xmessage
wait_until_steady 3 origin_of "$(visible_window xmessage)"  # placed by the compositor
read -r ox oy < <(origin_of "$(visible_window xmessage)")
glide $((ox + 40)) $((oy + 300))
on_screen xdotool click 1
sleep 1  # a move the clock must not make has no end to wait for
check "the clock stays where it was when the pointer comes back (is $(geometry_of "$(clock_window)"))" \
    test "$(geometry_of "$(clock_window)")" = "$face"
check "the hands still show on the face over a focused window" hands_shown focused
quiet_for_two_seconds "another window has the focus"
glide $((fx + 20)) $((fy + 64))
on_screen xdotool click --repeat 2 --delay 80 1
memo=$(wait_for_window '备忘事件')
check "a double-click on the face, after another window had the focus, opens the memo dialog" \
    test -n "$memo"
[ -n "$memo" ] && check "Esc closes the memo dialog" close_dialog '备忘事件'
kill $other 2>/dev/null

# The output shrinks under the clock (sway scales it to half its size): XWayland's screen
# becomes 640x400, and the clock, wholly off it now, goes back to its start there.
if [ "$compositor" = sway ]; then
    "${as_user[@]}" env XDG_RUNTIME_DIR="$work/sway/run" SWAYSOCK="$(ls "$work"/sway/run/sway-ipc.*)" \
        swaymsg output '*' scale 2 >/dev/null
    wait_until_settled 5 clock_at "128x128+512+50"
    check "when the output shrinks the clock moves onto it (is $(geometry_of "$(clock_window)"))" \
        test "$(geometry_of "$(clock_window)")" = "128x128+512+50"
    check "face and overlay share one rectangle after the output shrank" one_rectangle
    shoot shrunk
fi

kill -TERM $clock
wait $clock
check "the clock ends on SIGTERM with status 0" test $? = 0
report
