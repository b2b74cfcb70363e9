# shellcheck shell=bash
# Helpers shared by the real-window tests. Sourced; the test sets $mode for its messages, and
# $clock and $work for quiet_for_two_seconds.
# shellcheck disable=SC2154  # mode, clock and work belong to the sourcing test
# shellcheck source=../tools/virtual-desktop.sh
source "$(dirname "${BASH_SOURCE[0]}")/../tools/virtual-desktop.sh"  # wait_until

# The program's texts as written (the tests look for them), and UTF-8 for the tools that match
# them, whatever the caller's locale.
unset LANGUAGE LC_ALL LC_MESSAGES
export LANG=C.UTF-8

# The session bus, whatever the caller's: none unless the test starts its own. Without an
# address libdbus and GLib autolaunch one through X11 (dbus-x11), which outlives the test and
# carries a second start to the running clock; an address that cannot connect stops that.
no_session_bus() {
    export DBUS_SESSION_BUS_ADDRESS=unix:path=/dev/null/no-session-bus
}
# A session bus of the test's own; its pid in $bus, for the test to end.
own_session_bus() {
    eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 |
        { read -r address; read -r pid; echo "export DBUS_SESSION_BUS_ADDRESS='$address'; bus=$pid"; })"
}
no_session_bus
# No sound server either, unless the test starts its own: an alarm would otherwise have one
# started for it (PulseAudio's autospawn), which outlives the test.
export PULSE_SERVER=unix:/dev/null/no-sound-server

# A home of the test's own for the clock: the work folder $work, a private runtime folder in it
# (as a session's is), and the clock's files (clock_files).
make_clock_home() {  # make_clock_home [SKIN]
    work=$(mktemp -d)
    export XDG_RUNTIME_DIR=$work/run
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    clock_files "$@"
}
# The clock's XDG data and config folders in $work (its memo folder private, as the clock makes
# it), UTC, and the skin SKIN stored, if given. Alone where a desktop must start before them.
clock_files() {  # clock_files [SKIN]
    export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config TZ=UTC
    mkdir -p "$XDG_CONFIG_HOME/kelvarine" "$XDG_DATA_HOME"
    mkdir -m 700 "$XDG_DATA_HOME/kelvarine"
    [ $# = 0 ] || printf '[Kelvarine]\nRand=%s\n' "$1" >"$XDG_CONFIG_HOME/kelvarine/kelvarine.ini"
}
# At exit, ends the processes whose pids the named variables hold then (each may hold several,
# or none), within 5 s, then the virtual desktop if one was started, and removes $work. Set
# before the desktop starts, which then keeps it.
clean_up_at_exit() {  # clean_up_at_exit VARIABLE...
    clean_up_variables=("$@")
    trap clean_up EXIT
}
clean_up() {
    local name some pids=()
    for name in "${clean_up_variables[@]}"; do
        read -ra some <<<"${!name-}"
        pids+=("${some[@]}")
    done
    if [ ${#pids[@]} != 0 ]; then
        kill "${pids[@]}" 2>/dev/null
        wait_until 5 processes_ended "${pids[@]}" || kill -KILL "${pids[@]}" 2>/dev/null
        wait "${pids[@]}" 2>/dev/null
    fi
    [ -z "${KELVARINE_DESKTOP_PIDS+set}" ] || stop_virtual_desktop
    rm -rf "${work-}"
}

failures=0
passes=0
check() {  # check DESCRIPTION COMMAND...: fails as the command does, so `|| more` can explain
    local what=$1
    shift
    if "$@"; then
        passes=$((passes + 1))
    else
        echo "FAIL [$mode]: $what" >&2
        failures=$((failures + 1))
        return 1
    fi
}
# Prints the tally; the status says whether everything passed.
report() {
    echo "$passes passed, $failures failed"
    [ "$failures" = 0 ]
}
require_tools() {  # require_tools TOOL...: skip the test (status 77) when one is missing
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed" >&2; exit 77; }
    done
}

# WxH+X+Y of a window, absolute; nothing for no window (xwininfo would wait for a click).
geometry_of() {
    [ -n "$1" ] || return 1
    xwininfo -id "$1" 2>/dev/null |
        awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width/{w=$2}
             /Height/{h=$2} END{print w "x" h "+" x "+" y}'
}
origin_of() {  # X Y of a window, absolute
    geometry_of "$1" | awk -F'[x+]' '{print $3, $4}'
}
# Whether a rectangle of two screenshots differs; the clock's next frame changes its face.
differs() {  # differs SHOT1 SHOT2 WxH+X+Y
    [ "$(compare -metric AE -extract "$3" "$1" "$2" null: 2>&1)" != 0 ]
}
# Waits for the clock to draw a new frame into RECT (at least one tick after the call), within
# 3 s; leaves that screenshot in SHOT.
next_frame() {  # next_frame SHOT WxH+X+Y
    local before
    before=$(mktemp --suffix=.png)
    import -window root "$before"
    wait_until 3 shot_differs "$1" "$before" "$2"
    local status=$?
    rm -f "$before"
    return $status
}
shot_differs() { import -window root "$1" && differs "$1" "$2" "$3"; }
# The face window is titled "Kelvarine"; xdotool matches names without regard to case.
clock_window() {
    local w
    for w in $(xdotool search --name '^kelvarine$' 2>/dev/null); do
        xprop -id "$w" WM_NAME | grep -q '"Kelvarine"' && { echo "$w"; return; }
    done
}
visible_window() {  # visible_window TITLE -> id of a visible window so titled, if any
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}
clock_shown() { [ -n "$(clock_window)" ]; }
window_shown() { [ -n "$(visible_window "$1")" ]; }
window_gone() { [ -z "$(visible_window "$1")" ]; }
wait_for_window() {  # wait_for_window TITLE -> id of a visible window so titled, within 5 s
    wait_until 5 window_shown "$1" && visible_window "$1"
}
# Opens the memo dialog with a double-click away from the face's centre and gives it the
# keyboard (a busy window manager may focus it after it maps); prints its id.
open_memo_dialog() {
    local x y dialog
    read -r x y < <(origin_of "$(clock_window)")
    xdotool mousemove $((x + 20)) $((y + 64)) click --repeat 2 --delay 60 1
    dialog=$(wait_for_window '备忘事件') || return 1
    focus "$dialog"
    echo "$dialog"
}
# The overlay: the mapped unmanaged top-level window of the face's size. (Only the few
# top-level windows of that size are looked at closely; a desktop has many.)
overlay_window() {  # overlay_window FACE_GEOMETRY
    local w info size=${1%%+*}
    for w in $(xwininfo -root -children | awk -v size=" $size+" 'index($0, size) {print $1}'); do
        info=$(xwininfo -id "$w")
        grep -q 'Override Redirect State: yes' <<<"$info" || continue
        grep -q 'IsViewable' <<<"$info" || continue
        [ "$(geometry_of "$w" | cut -d+ -f1)" = "$size" ] && { echo "$w"; return; }
    done
}
one_rectangle() {  # the face and the overlay share one rectangle
    local face overlay
    face=$(geometry_of "$(clock_window)")
    overlay=$(geometry_of "$(overlay_window "$face")")
    [ -n "$face" ] && [ "$face" = "$overlay" ] && return
    echo "  face $face, overlay $overlay" >&2
    false
}
process_ended() { ! kill -0 "$1" 2>/dev/null; }
# Like wait_until, but COMMAND must succeed on two polls in a row, so a state the desktop only
# passes through on its way (a window manager's move, a restack) does not count.
wait_until_settled() {  # wait_until_settled TIMEOUT_SECONDS COMMAND...
    local timeout=$1
    shift
    wait_until "$timeout" succeeds_twice "$@"
}
succeeds_twice() { "$@" && sleep 0.05 && "$@"; }
# Waits until COMMAND prints the same non-empty text on two polls in a row: for a state with no
# known end (where a window manager places a window), once it stops changing.
wait_until_steady() {  # wait_until_steady TIMEOUT_SECONDS COMMAND...
    local timeout=$1
    shift
    steady_last=
    wait_until "$timeout" prints_as_before "$@"
}
prints_as_before() {
    local now same=1
    now=$("$@") && [ -n "$now" ] && [ "$now" = "$steady_last" ] && same=0
    steady_last=$now
    return $same
}
# Whether a compositing manager owns the screen's _NET_WM_CM_S0 selection. No X tool here
# reports a selection's owner; libX11 through ctypes does.
compositing_manager_running() {
    python3 -c '
import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XInternAtom.restype = ctypes.c_ulong
x.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XGetSelectionOwner.restype = ctypes.c_ulong
d = x.XOpenDisplay(None)
sys.exit(0 if d and x.XGetSelectionOwner(d, x.XInternAtom(d, b"_NET_WM_CM_S0", 0)) else 1)'
}
# A reminder refuses the keyboard for a moment after it appears, so keys typed elsewhere never
# reach it; a test that answers it by keys waits for this first.
accepts_focus() { xprop -id "$1" WM_HINTS 2>/dev/null | grep -q 'accepts input or input focus: True'; }
focus() {  # focus WINDOW: give it the keyboard, as far as the window manager lets us
    [ -n "$1" ] || return 1
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
}
# How many pixels of a colour (within 12 %) a screenshot has in a rectangle.
count_colour() {  # count_colour SHOT WxH+X+Y COLOUR
    convert "$1" -crop "$2" +repage -fuzz 12% -fill black +opaque "$3" -fill white \
        -opaque "$3" -format '%[fx:round(mean*w*h)]' info:
}
# WxH+X+Y of the pixels of a colour (within 12 %) in a screenshot; fails when there are none.
colour_box() {  # colour_box SHOT COLOUR
    local box
    box=$(convert "$1" -fuzz 12% -fill black +opaque "$2" -fill white -opaque "$2" \
        -format '%@' info: 2>/dev/null)
    [ -n "$box" ] && [ "${box%%x*}" != 0 ] && echo "$box"
}
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Stacking changes of top-level windows and the clock's CPU (pid $clock) while nothing
# happens: a clock that restacks against the window manager shows up in both. Leaves the
# events in $work.
quiet_for_two_seconds() {  # quiet_for_two_seconds NAME
    local before after restacks ticks
    before=$(cpu_ticks "$clock")
    timeout 2 xev -root -event substructure >"$work/$1.events" 2>/dev/null
    after=$(cpu_ticks "$clock")
    restacks=$(grep -c '^ConfigureNotify' "$work/$1.events")
    ticks=$((after - before))
    echo "  [$mode] $1: $restacks stacking changes, clock $ticks CPU ticks in 2 s" >&2
    check "no restack storm while $1 ($restacks changes in 2 s)" test "$restacks" -lt 20
    check "the clock idles while $1 ($ticks ticks of $(getconf CLK_TCK)/s in 2 s)" \
        test "$ticks" -lt $(($(getconf CLK_TCK) / 25))
}
