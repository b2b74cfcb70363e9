#!/usr/bin/env bash
# The real program in the user's language on a virtual X desktop: under German and English
# locales the reminder, the memo dialog and the settings are titled in that language, no Chinese
# left; where no language is asked for they are titled as written.
# Usage: languages_test.sh KELVARINE_BINARY SOURCE_DIR
set -uo pipefail
binary=$1
source_dir=$2
mode=languages
# shellcheck source=desktop_lib.sh
source "$source_dir/tests/desktop_lib.sh"
require_tools Xvfb openbox xdotool xwininfo xprop

work=$(mktemp -d)
clock=
trap 'kill $clock 2>/dev/null; stop_virtual_desktop; rm -rf "$work"' EXIT
export KELVARINE_COMPOSITOR=none
start_virtual_desktop 1280x800
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run TZ=UTC
mkdir -p "$XDG_CONFIG_HOME/kelvarine" "$XDG_DATA_HOME/kelvarine" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# Skin 1: a 128 x 128 face, its centre 64 pixels in.
printf '[Kelvarine]\nRand=1\n' >"$XDG_CONFIG_HOME/kelvarine/kelvarine.ini"

# The title of the clock's one visible window besides the face and the overlay (both named
# after the program); nothing while there is none.
dialog_title() {
    local w name
    for w in $(xdotool search --onlyvisible --pid "$clock" 2>/dev/null); do
        name=$(xdotool getwindowname "$w" 2>/dev/null)
        [ -n "$name" ] && [ "${name,,}" != kelvarine ] && { echo "$name"; return; }
    done
}
has_dialog() { [ -n "$(dialog_title)" ]; }
no_dialog() { [ -z "$(dialog_title)" ]; }
# The reminder never takes the keyboard by itself, and lets it be given once it is on the screen.
# Waits for a dialog, prints its title and closes it with Esc.
take_dialog() {
    wait_until 10 has_dialog || return
    local title window
    title=$(dialog_title)
    window=$(xdotool search --onlyvisible --name "^$title\$" | head -n 1)
    wait_until 3 accepts_focus "$window"
    focus "$window"
    xdotool key Escape
    wait_until 3 no_dialog
    echo "$title"
}
double_click_face() {  # double_click_face X Y: a point of the face, from its top-left corner
    local fx fy
    read -r fx fy < <(origin_of "$(clock_window)")
    xdotool mousemove $((fx + $1)) $((fy + $2)) click --repeat 2 --delay 60 1
}
# Runs the clock under `env ARGS`, with a memo due; prints the titles of the reminder, the memo
# dialog and the settings, one per line.
titles_under() {
    printf '%s Call home\r\n' "$(date -u -d '-1 min' '+%Y-%m-%d %H:%M')" \
        >"$XDG_DATA_HOME/kelvarine/memo.txt"
    env "$@" "$binary" 2>>"$work/stderr" &
    clock=$!
    wait_until 10 clock_shown || return
    take_dialog
    double_click_face 20 64
    take_dialog
    double_click_face 64 64
    take_dialog
    kill "$clock"
    wait "$clock" 2>/dev/null
    clock=
}
has_chinese() { grep -qP '[\x{3000}-\x{9fff}\x{ff00}-\x{ffef}]' <<<"$1"; }
lacks_chinese() { ! has_chinese "$1"; }

# LC_CTYPE as every machine has it, so that only the language differs.
german=$(titles_under LANG=de_DE.UTF-8 LC_CTYPE=C.UTF-8)
english=$(titles_under LANG=en_US.UTF-8 LC_CTYPE=C.UTF-8)
# A language the clock's texts have no translation into: the first of these nobody has added.
for untranslated in fr eo ia la; do
    [ -e "$source_dir/res/translations/kelvarine_$untranslated.ts" ] || break
done
other=$(titles_under LANG="$untranslated.UTF-8" LC_CTYPE=C.UTF-8)
chosen=$(titles_under LANG="$untranslated.UTF-8" LANGUAGE=de:en LC_CTYPE=C.UTF-8)
as_written=$(titles_under LANG=C)
unset_lang=$(titles_under -u LANG)
echo "German: ${german//$'\n'/ } / English: ${english//$'\n'/ } / as written: ${as_written//$'\n'/ }" >&2

for language in german english; do
    titles=${!language}
    check "three titles under $language (${titles//$'\n'/ })" test "$(wc -l <<<"$titles")" = 3
    check "no Chinese under $language" lacks_chinese "$titles"
done
check "German and English differ in every title" \
    test -z "$(comm -12 <(sort <<<"$german") <(sort <<<"$english"))"
check "a language without a translation ($untranslated) reads English" test "$other" = "$english"
check "LANGUAGE=de:en picks German" test "$chosen" = "$german"
check "LANG=C shows the titles as written" \
    test "$as_written" = "$(printf 'memo\n备忘事件\n设置')"
check "no LANG at all shows them as written" test "$unset_lang" = "$as_written"

report
