#!/usr/bin/env bash
# The installed program's command line, with no display at all: --help and --version answer
# and end without opening a window or taking the one-clock lock, an unknown option is a
# one-line usage error, and a start without a display says so in one line instead of Qt's
# abort.
# Usage: command_line_test.sh PROGRAM
set -uo pipefail
program=$1
mode=command-line
source "$(dirname "$0")/desktop_lib.sh"

work=$(mktemp -d)
clock=
trap '[ -n "$clock" ] && kill "$clock" 2>/dev/null; rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
lock=$XDG_DATA_HOME/kelvarine  # the memo file's folder, locked while a clock runs

run() {  # run ARG...: status in $status, output in $work/out and $work/err
    "$program" "$@" >"$work/out" 2>"$work/err"
    status=$?
}
lines() { wc -l <"$1"; }

run --help
check "--help ends with status 0 (got $status)" test "$status" = 0
check "--help prints the usage" grep -q '^Usage: kelvarine \[options\]' "$work/out"
check "--help lists --version" grep -q -- '--version' "$work/out"
check "--help prints nothing on stderr ($(head -c 300 "$work/err"))" test ! -s "$work/err"

run --version
check "--version ends with status 0 (got $status)" test "$status" = 0
check "--version prints one line: name and version ($(cat "$work/out"))" \
    test "$(lines "$work/out")" = 1 -a -n "$(grep -E '^kelvarine [0-9]+\.[0-9]+' "$work/out")"
check "--version prints nothing on stderr" test ! -s "$work/err"
check "neither took the lock nor made the user's folders" \
    test ! -e "$lock" -a ! -e "$XDG_DATA_HOME" -a ! -e "$XDG_CONFIG_HOME"

run --frobnicate
check "an unknown option fails with status 2 (got $status)" test "$status" = 2
check "in one line naming it ($(cat "$work/err"))" \
    test "$(lines "$work/err")" = 1 -a -n "$(grep frobnicate "$work/err")"
check "and nothing on stdout" test ! -s "$work/out"

run
check "without a display it fails with status 1, not Qt's abort (got $status)" test "$status" = 1
check "in one line naming DISPLAY and WAYLAND_DISPLAY ($(head -c 300 "$work/err"))" \
    test "$(lines "$work/err")" = 1 -a -n "$(grep WAYLAND_DISPLAY "$work/err" | grep -w DISPLAY)"
check "and took no lock" test ! -e "$lock"

# Displays that cannot be used, and a platform plugin Qt cannot start: one line each, status 1,
# never Qt's abort (134) with its page of text.
for case in "DISPLAY=:599|:599" "WAYLAND_DISPLAY=wayland-99|XWayland" \
    "QT_QPA_PLATFORM=nonesuch DISPLAY=:599|nonesuch" "QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY=w-9|X"; do
    IFS='|' read -r environment named <<<"$case"
    read -ra variables <<<"$environment"
    env "${variables[@]}" "$program" >"$work/out" 2>"$work/err"
    status=$?
    check "$environment: status 1 (got $status)" test "$status" = 1
    check "$environment: one line naming $named ($(head -c 300 "$work/err"))" \
        test "$(lines "$work/err")" = 1 -a -n "$(grep -F "$named" "$work/err")"
done

# A running clock holds the lock; --version still answers, and the clock keeps running.
"$program" -platform offscreen 2>"$work/clock.err" &
clock=$!
for _ in $(seq 50); do [ -e "$lock" ] && break; sleep 0.1; done
check "-platform offscreen reaches Qt: the clock runs without a display" kill -0 "$clock"
run --version
check "--version answers while a clock runs (status $status, $(cat "$work/err"))" \
    test "$status" = 0 -a "$(lines "$work/out")" = 1
check "the running clock is untouched" kill -0 "$clock"
kill -TERM "$clock"
wait "$clock"
check "and ends on SIGTERM with status 0" test $? = 0
clock=

report
