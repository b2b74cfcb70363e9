#!/usr/bin/env bash
# The clock through a real assistive-technology client (AT-SPI, as screen readers use it) on a
# virtual X desktop with its own session and accessibility buses: the face says the time and
# offers its menu's actions; every control of the memo dialog and the settings has a name and
# a role; a memo added only through AT-SPI text and actions reaches the memo file.
# Usage: atspi_test.sh KELVARINE_BINARY SOURCE_DIR
set -uo pipefail
binary=$1
source_dir=$2
mode=at-spi
# shellcheck source=desktop_lib.sh
source "$source_dir/tests/desktop_lib.sh"
require_tools Xvfb openbox xdotool xwininfo wmctrl dbus-daemon /usr/libexec/at-spi-bus-launcher
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "skipped: no pyatspi" >&2; exit 77; }

make_clock_home 1
clock=
clean_up_at_exit clock launcher bus
export KELVARINE_COMPOSITOR=none
start_virtual_desktop 1280x800
memos=$XDG_DATA_HOME/kelvarine/memo.txt
printf '2099-01-02 09:30 Call home\r\n' >"$memos"
own_session_bus
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
# shellcheck disable=SC2034  # ended by clean_up
launcher=$!

client() { /usr/bin/python3 "$source_dir/tests/atspi_client.py" "$@" >"$work/client.log" 2>&1; }
said() { sed 's/^/    /' "$work/client.log" >&2; }

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$binary" 2>"$work/stderr" &
clock=$!
wait_until 10 clock_shown

client face
check "the face is named with the time and offers memos, settings, quit" test $? = 0 || said
client memos
check "its memos action opens the memo dialog, every control named" test $? = 0 || said
grep '^  \[' "$work/client.log" >&2
# Today (the calendar starts there) at 23:58: not due before the file is checked, unless the
# test runs in the last minutes of a day, and even then it stays in the file until answered.
client add 'Water the plants' 23 58
check "a memo is added through AT-SPI text and the add button's action" test $? = 0 || said
wmctrl -c '备忘事件'  # the close box: keeps what was done
wait_until 5 window_gone '备忘事件'
check "the memo reaches the file" wait_until 5 grep -q ' 23:58 Water the plants' "$memos"
client settings
check "its settings action opens the settings, every control named" test $? = 0 || said
grep '^  \[' "$work/client.log" >&2

kill $clock
wait $clock
check "the clock ends on SIGTERM with status 0" test $? = 0
clock=
report
