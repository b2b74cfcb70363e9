#!/usr/bin/env bash
# The settings dialog of the real program on a virtual X desktop: the bug-report link opened by
# a registered mail handler, by the web browser when only that is registered, and reported
# when nothing is; the skin kept by OK, a larger one kept on the screen; and start with the
# session ticked, then run by a real autostart runner.
# Usage: settings_desktop_test.sh KELVARINE_BINARY SOURCE_DIR
set -uo pipefail
binary=$1
source_dir=$2
mode=settings
# shellcheck source=desktop_lib.sh
source "$source_dir/tests/desktop_lib.sh"
require_tools Xvfb openbox xdotool xwininfo xprop xdg-mime dex convert

make_clock_home 1
clock=
autostarted=  # the clock dex starts is no child of ours; its pid comes from its window
clean_up_at_exit clock autostarted
start_virtual_desktop 1280x800
export XDG_DATA_DIRS=$work/system XDG_CONFIG_DIRS=$work/system-config
unset BROWSER XDG_CURRENT_DESKTOP DESKTOP_SESSION
mkdir -p "$XDG_DATA_HOME/applications" "$XDG_DATA_DIRS" "$work/bin"
# The program as a user keeps it: in a folder with a blank in its name.
mkdir -p "$work/bin/my clock"
cp "$binary" "$work/bin/my clock/kelvarine"
program="$work/bin/my clock/kelvarine"

# Two handlers of the test's own that only note what they were asked to open. (xdg-open cannot
# read a quoted program in Exec; the clock's own fallback can, so the browser's is quoted.)
for app in mail browser; do
    printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s/%s-opened"\n' "$work" "$app" >"$work/bin/fake-$app"
    chmod +x "$work/bin/fake-$app"
done
cat >"$XDG_DATA_HOME/applications/fake-mail.desktop" <<ENTRY
[Desktop Entry]
Type=Application
Name=Fake mail
Exec=$work/bin/fake-mail %u
MimeType=x-scheme-handler/mailto;
ENTRY
cat >"$XDG_DATA_HOME/applications/fake-browser.desktop" <<ENTRY
[Desktop Entry]
Type=Application
Name=Fake browser
Exec="$work/bin/fake-browser" --new-window %U
MimeType=text/html;
ENTRY

# The face mapped where it starts, with nothing moving it any more.
clock_placed() {
    [ "$(geometry_of "$(clock_window)")" = "128x128+1152+50" ] &&
        xwininfo -id "$(clock_window)" | grep -q IsViewable
}
start_clock() {
    "$program" 2>>"$work/stderr" &
    clock=$!
    wait_until_settled 10 clock_placed
}
# Opens the settings from the face's centre, whatever the skin; sets $settings, $sx, $sy.
open_settings() {
    read -r fw fx fy < <(geometry_of "$(clock_window)" | awk -F'[x+]' '{print $1, $3, $4}')
    xdotool mousemove $((fx + fw / 2 - 2)) $((fy + fw / 2 - 2)) click --repeat 2 --delay 60 1
    settings=$(wait_for_window '设置')
    [ -n "$settings" ] && read -r sx sy < <(origin_of "$settings")
}
# Where the link is: the only text in the link's blue, wherever the dialog's font put it.
find_link() {
    local shot=$work/link.png box
    [ -n "$settings" ] || return 1  # import would wait for a click on a window
    import -window "$settings" "$shot" || return
    box=$(colour_box "$shot" 'srgb(0,0,238)') || return
    read -r lx ly < <(awk -F'[x+]' -v sx="$sx" -v sy="$sy" \
        '{print sx + $3 + int($1 / 2), sy + $4 + int($2 / 2)}' <<<"$box")
}
link_hot() {  # the link turned red under the pointer
    [ -n "$settings" ] && import -window "$settings" "$work/hover.png" &&
        colour_box "$work/hover.png" 'srgb(255,0,0)' >/dev/null
}
click_link() {  # click_link COMMAND...: clicks the link, then waits until COMMAND succeeds
    wait_until 3 find_link || { echo "  no link in the settings" >&2; return 1; }
    xdotool mousemove "$lx" "$ly"
    wait_until 3 link_hot
    xdotool click 1
    wait_until 5 "$@"
}
close_settings() {
    focus "$settings"
    xdotool key Escape
    wait_until 3 window_gone '设置'
}
error_box() {  # the id of a window captioned Kelvarine other than the face
    local w
    for w in $(xdotool search --onlyvisible --name '^Kelvarine$'); do
        [ "$w" != "$(clock_window)" ] && echo "$w"
    done
}
error_box_shown() { [ -n "$(error_box)" ]; }
error_box_gone() { [ -z "$(error_box)" ]; }

start_clock

# 1. A mail handler is registered: it gets the link.
xdg-mime default fake-mail.desktop x-scheme-handler/mailto
xdg-mime default fake-browser.desktop text/html
open_settings
check "the settings open from the centre" test -n "$settings" ||
    { echo "clock: $(grep State "/proc/$clock/status"); its stderr:"; cat "$work/stderr"; } >&2
import -window root "$work/settings.png"
[ -n "${KELVARINE_SHOT_DIR:-}" ] && cp "$work/settings.png" "$KELVARINE_SHOT_DIR/settings-dialog.png"
click_link test -s "$work/mail-opened"
check "the mail handler opens the link ($(cat "$work/mail-opened" 2>/dev/null))" \
    test "$(cat "$work/mail-opened" 2>/dev/null)" = "mailto:bugs@kelvarine.example"
check "no error box" test -z "$(xdotool search --onlyvisible --name '^Kelvarine$' | grep -v "$(clock_window)")"
close_settings

# 2. Only a web browser: the fallback hands it the link as one argument after its own.
rm -f "$work/mail-opened" "$XDG_DATA_HOME/applications/fake-mail.desktop"
sed -i '/x-scheme-handler\/mailto/d' "$XDG_CONFIG_HOME/mimeapps.list"
open_settings
click_link test -s "$work/browser-opened"
check "the browser opens the link ($(tr '\n' ' ' <"$work/browser-opened" 2>/dev/null))" \
    test "$(cat "$work/browser-opened" 2>/dev/null)" = "$(printf -- '--new-window\nmailto:bugs@kelvarine.example')"
close_settings

# 3. Nothing at all: a beep and the box that says so.
rm -f "$work/browser-opened" "$XDG_DATA_HOME/applications/fake-browser.desktop"
rm -f "$XDG_CONFIG_HOME/mimeapps.list"
open_settings
click_link error_box_shown
box=$(error_box | tail -n 1)
check "a failed open is reported in a box captioned Kelvarine" test -n "$box"
if [ -n "$box" ]; then
    import -window root "$work/error.png"
    [ -n "${KELVARINE_SHOT_DIR:-}" ] && cp "$work/error.png" "$KELVARINE_SHOT_DIR/link-error.png"
    focus "$box"
    xdotool key Return
    wait_until 3 error_box_gone
fi
check "nothing was started" test ! -e "$work/browser-opened" -a ! -e "$work/mail-opened"
close_settings

# 4. OK without a change keeps the skin; the larger first skin, chosen at the start position,
# keeps the face wholly on the screen.
ini=$XDG_CONFIG_HOME/kelvarine/kelvarine.ini
open_settings
focus "$settings"
xdotool key Return
wait_until 3 window_gone '设置'
check "OK without a change keeps the skin ($(grep Rand "$ini"))" grep -qx 'Rand=1' "$ini"
# Grown, and wholly on the 1280 x 800 screen: moved left to 1072,50 by the clock, or wherever
# else on it a busy window manager put it meanwhile.
clock_grown() {
    local w h x y
    IFS='x+' read -r w h x y <<<"$(geometry_of "$(clock_window)")"
    [ "$w" = 208 ] && [ "$h" = 209 ] && [ "$x" -ge 0 ] && [ "$y" -ge 0 ] &&
        [ $((x + w)) -le 1280 ] && [ $((y + h)) -le 800 ]
}
open_settings
focus "$settings"
xdotool key Home Return
wait_until_settled 5 clock_grown
sleep 1.5  # past the clock's last look after the change, which would move it again
check "the larger skin stays on the screen ($(geometry_of "$(clock_window)"))" clock_grown
[ -n "${KELVARINE_SHOT_DIR:-}" ] && import -window root "$KELVARINE_SHOT_DIR/skin-grown.png"

# 5. Start with the session: tick, OK, and a real autostart runner starts this program.
open_settings
focus "$settings"
xdotool key Tab space Return  # from the skins to the check box, tick it, OK
entry="$XDG_CONFIG_HOME/autostart/kelvarine.desktop"
wait_until 5 test -f "$entry"
check "ticking and OK write the session entry" test -f "$entry"
check "the entry names the program ($(grep ^Exec= "$entry" 2>/dev/null))" \
    grep -qF "Exec=\"$program\"" "$entry"
focus "$(clock_window)"
xdotool key Escape
wait $clock
clock=
dex --autostart --environment none >"$work/dex.log" 2>&1
wait_until 10 clock_shown
check "dex starts the clock from the entry" test -n "$(clock_window)"
autostarted=$(xdotool getwindowpid "$(clock_window)" 2>/dev/null)
check "the program dex started is this one" \
    test -n "$autostarted" -a "$(readlink "/proc/$autostarted/exe" 2>/dev/null)" = "$program"
if [ -n "$autostarted" ]; then
    kill "$autostarted"
    wait_until 5 process_ended "$autostarted"
fi

# 6. An entry as an earlier version wrote it is brought up to date by the next OK; once the
# program is gone, the session's runner skips it quietly.
printf '[Desktop Entry]\nType=Application\nName=Kelvarine\nExec="%s"\n' "$program" >"$entry"
"$program" 2>>"$work/stderr" &
clock=$!
wait_until 10 clock_shown
open_settings
focus "$settings"
xdotool key Return
check "OK gives the earlier entry its TryExec ($(grep ^TryExec= "$entry"))" \
    wait_until 5 grep -qxF "TryExec=$program" "$entry"
focus "$(clock_window)"
xdotool key Escape
wait $clock
clock=
mv "$work/bin/my clock" "$work/bin/removed"
dex --autostart --environment none >"$work/dex.log" 2>&1
dex_status=$?
check "with the program gone, dex runs nothing and says nothing ($dex_status: $(cat "$work/dex.log"))" \
    test "$dex_status" = 0 -a ! -s "$work/dex.log"
sleep 1  # a clock that must not start: nothing to wait for but time
check "and no clock starts" test -z "$(clock_window)"

report
