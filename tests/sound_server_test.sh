#!/usr/bin/env bash
# The alarm and a sound server that restarts, in the real program on a virtual X desktop (Xvfb +
# openbox) with a PulseAudio server of its own (a null sink): the alarm plays to it; killed
# while a reminder rings, the clock says so once, and the alarm plays again once the server is
# back; the next reminder's alarm reaches the restarted server too. (Qt Multimedia, which the
# alarm went through before, gave up on a server not back within three seconds: every later
# alarm was silent until the clock restarted.)
# Usage: sound_server_test.sh KELVARINE_BINARY SOURCE_DIR
set -uo pipefail
binary=$1
source_dir=$2
mode=sound
# shellcheck source=desktop_lib.sh
source "$source_dir/tests/desktop_lib.sh"
require_tools Xvfb openbox xdotool xwininfo xprop pulseaudio pactl parec od

make_clock_home 1
server=
clock=
clean_up_at_exit clock server
export KELVARINE_NO_COMPOSITOR=1
start_virtual_desktop 1280x800
# The server's socket, cookie and state, and the clock's files, all in $work.
export HOME=$work/home
unset PULSE_SERVER PULSE_COOKIE
mkdir "$HOME"

server_up() { pactl info >/dev/null 2>&1; }
start_server() {
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
        -L module-native-protocol-unix -L 'module-null-sink sink_name=alarm' \
        >>"$work/pulseaudio.log" 2>&1 &
    server=$!
    wait_until 10 server_up
}
stop_server() {
    kill "$server"
    wait "$server" 2>/dev/null
    server=
}
# The sink input the clock plays to, by its index; nothing while there is none.
clock_stream() {
    pactl list sink-inputs 2>/dev/null | awk -v pid="\"$clock\"" '
        /^Sink Input #/ {input = substr($3, 2)}
        /application.process.id = / && $3 == pid {print input}'
}
playing() { [ -n "$(clock_stream)" ]; }
# A new stream on the same server: one other than $1.
playing_anew() { local now; now=$(clock_stream); [ -n "$now" ] && [ "$now" != "$1" ]; }
# Whether the null sink hears more than silence (8-bit samples: silence is 128) for a second.
audible() {
    local sounding
    sounding=$(timeout 3 parec -d alarm.monitor --raw --format=u8 --channels=1 --rate=11025 \
        2>/dev/null | head -c 11025 | od -An -v -tu1 | tr -s ' ' '\n' | grep -c -v -e '^$' -e '^128$')
    [ "${sounding:-0}" -gt 100 ]
}
said_lost() { grep -c 'no sound server' "$work/stderr"; }
answer_yes() {  # answer_yes BOX: gives it the keyboard, then its Y
    wait_until 3 bash -c "xprop -id $1 WM_HINTS | grep -q 'input focus: True'" && focus "$1" &&
        xdotool key y
}
reminder_other_than() { local w; w=$(visible_window memo); [ -n "$w" ] && [ "$w" != "$1" ]; }

start_server
check "a sound server of our own runs" server_up
if [ -z "$server" ] || ! server_up; then
    report
    exit 1
fi

# Two memos due: the second box, and its alarm, come once the first is answered.
due=$(($(date +%s) / 60 * 60 - 60))
printf '%s Water the plants\r\n%s Call home\r\n' "$(date -u -d "@$due" '+%Y-%m-%d %H:%M')" \
    "$(date -u -d "@$due" '+%Y-%m-%d %H:%M')" >"$XDG_DATA_HOME/kelvarine/memo.txt"
"$binary" 2>"$work/stderr" &
clock=$!
first=$(wait_for_window memo)
check "the first reminder comes up" test -n "$first"
wait_until 5 playing
check "its alarm plays to the sound server (stream $(clock_stream))" playing
check "and is heard on its sink" audible
# What a sound mixer shows of the stream: the program's name and icon, and a role for alarms.
stream_properties() { pactl list sink-inputs | awk -v n="#$(clock_stream)" '
    /^Sink Input #/ {ours = $3 == n} ours && /application.name|application.icon_name|media.role/'; }
check "the mixer names it Kelvarine, with its icon and the event role ($(stream_properties | tr -s '\t\n' '  '))" \
    test "$(stream_properties | grep -c -e '= "Kelvarine"' -e '= "kelvarine"' -e '= "event"')" = 3

# The server killed while the alarm rings, and started again after more than three seconds.
stop_server
wait_until 3 bash -c "grep -q 'no sound server' '$work/stderr'"
check "the clock says it lost the server ($(tr '\n' ' ' <"$work/stderr"))" test "$(said_lost)" -ge 1
sleep 4  # the server stays away past Qt Multimedia's one retry
start_server
# A new server numbers its streams from 0 again: any stream of the clock's is the new one.
wait_until 5 playing
check "the ringing alarm plays again once the server is back" playing
check "and is heard" audible
check "it told the lost server once ($(said_lost) times)" test "$(said_lost)" = 1
again=$(clock_stream)

# The next reminder's alarm reaches the restarted server.
[ -n "$first" ] && answer_yes "$first"
wait_until 5 reminder_other_than "$first"
second=$(visible_window memo)
check "Yes brings the next reminder" test -n "$second" -a "$second" != "$first"
wait_until 5 playing_anew "$again"
check "its alarm plays to the restarted server" playing_anew "$again"
check "and is heard" audible
[ -n "$second" ] && answer_yes "$second"
wait_until 5 window_gone memo
silent() { ! playing; }
check "once answered, the alarm stops" wait_until 3 silent

kill "$clock"
wait "$clock" 2>/dev/null
clock=
report
