#!/usr/bin/env bash
# `cmake --install` into a staging folder: the program, its sound module, a valid desktop entry
# whose Exec and Icon name what was installed, icons in several sizes, AppStream metadata the
# validator accepts without a warning, a manual page that renders cleanly; and the installed
# program starts, finds its sound module and ends cleanly.
# Usage: install_test.sh BUILD_DIR
set -uo pipefail
build=$1
mode=install
source "$(dirname "$0")/desktop_lib.sh"
require_tools cmake desktop-file-validate appstreamcli man readelf

stage=$(mktemp -d)
trap 'kill $clock 2>/dev/null; rm -rf "$stage"' EXIT
clock=
DESTDIR=$stage cmake --install "$build" >"$stage/install.log" 2>&1
check "cmake --install succeeds" test $? = 0
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
root=$stage$prefix
app_id=example.kelvarine.Clock
entry=$root/share/applications/$app_id.desktop
metainfo=$root/share/metainfo/$app_id.metainfo.xml

check "the program is in bin/" test -x "$root/bin/kelvarine"
check "the sound module is in lib/kelvarine/" \
    test -n "$(find "$root" -path '*/kelvarine/kelvarine-sound.so' -type f)"
for f in "$root/bin/kelvarine" $(find "$root" -path '*/kelvarine/kelvarine-sound.so'); do
    check "${f#"$root/"} has no RUNPATH or RPATH" bash -c "! readelf -d '$f' | grep -qE 'R(UN)?PATH'"
done
check "the desktop entry is in share/applications/" test -f "$entry"
check "the desktop entry is named after the application id" \
    test "$(ls "$root/share/applications")" = "$app_id.desktop"
check "desktop-file-validate accepts it ($(desktop-file-validate "$entry" 2>&1))" \
    desktop-file-validate "$entry"
exec_line=$(sed -n 's/^Exec=//p' "$entry" | head -n 1)
exec_path=${exec_line#\"}
exec_path=${exec_path%\"}
check "its Exec ($exec_line) is the installed program" test "$exec_path" = "$prefix/bin/kelvarine"
check "its actions open the memos and the settings in it" \
    test "$(sed -n 's/^Exec=//p' "$entry" | tail -n +2)" = "$(printf '%s --memos\n%s --settings' "$exec_line" "$exec_line")"
for key in Name GenericName Comment Keywords; do
    check "its $key is there in German and Chinese" \
        test "$(sed '/^\[Desktop Action/,$d' "$entry" | grep -cE "^$key\[(de|zh_CN)\]=.")" = 2
done
icon=$(sed -n 's/^Icon=//p' "$entry")
sizes=$(find "$root/share/icons/hicolor" -path "*/apps/$icon.png" | wc -l)
check "its Icon ($icon) is installed in hicolor in $sizes sizes" test "$sizes" -ge 2
for f in "$root"/share/icons/hicolor/*/apps/"$icon".png; do
    dir=$(basename "$(dirname "$(dirname "$f")")")
    check "icon $dir has that size" test "$(identify -format '%wx%h' "$f" 2>/dev/null || echo "$dir")" = "$dir"
done

# AppStream: the metadata, the desktop entry it launches and the icon, as a software centre
# sees them. Neither an error nor a warning; the log keeps the infos and pedantic remarks (the
# reserved .example top-level domain is unknown to the validator, which --strict would fail).
no_warnings() { ! grep -qE '^[EW]:' "$1"; }
remarks() { grep -E '^[EWIP]:' "$1" | head -n 5 | tr '\n' ';'; }
check "the AppStream metadata is in share/metainfo/" test -f "$metainfo"
appstreamcli validate --no-net --pedantic "$metainfo" >"$stage/validate.log" 2>&1
status=$?
check "appstreamcli validate accepts it (status $status): $(remarks "$stage/validate.log")" \
    test $status = 0
check "without a warning" no_warnings "$stage/validate.log"
appstreamcli validate-tree --no-net --pedantic "$root" >"$stage/tree.log" 2>&1
status=$?
check "appstreamcli validate-tree accepts the install (status $status): $(remarks "$stage/tree.log")" \
    test $status = 0
check "without a warning" no_warnings "$stage/tree.log"
check "it names the languages the program speaks" \
    test "$(grep -oE '<lang>[a-zA-Z_]+</lang>' "$metainfo" | sort | tr -d '\n')" = \
    "<lang>de</lang><lang>en</lang><lang>zh_CN</lang>"
check "its launchable is the installed desktop entry" \
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo"

# The manual page, compressed, renders without a warning and names the options and files
# (one line per paragraph, so no word is hyphenated).
page=$root/share/man/man1/kelvarine.1.gz
check "the manual page is in share/man/man1/, compressed" test -f "$page"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=1000 man --warnings -l "$page" 2>&1 >"$stage/man.txt")
check "man --warnings renders it silently ($warnings)" test -z "$warnings"
for word in --help --version memo.txt kelvarine.ini autostart/kelvarine.desktop XDG_DATA_HOME \
    WAYLAND_DISPLAY QT_QPA_PLATFORM; do
    check "it mentions $word" grep -q -- "$word" "$stage/man.txt"
done
check "the copyright file is in share/doc/kelvarine/" \
    grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    "$root/share/doc/kelvarine/copyright"

# The installed program runs, rings a memo that is due (the sound module must load) and ends
# on SIGTERM with status 0.
home=$stage/home
export XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_DATA_HOME/kelvarine" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
printf '2001-01-01 00:00 due\r\n' >"$XDG_DATA_HOME/kelvarine/memo.txt"
QT_QPA_PLATFORM=offscreen "$root/bin/kelvarine" 2>"$stage/stderr" &
clock=$!
# Until the alarm has rung: the module is mapped, or the program said it found none.
alarm_tried() {
    grep -q kelvarine-sound "/proc/$clock/maps" 2>/dev/null || grep -q 'no sound module' "$stage/stderr"
}
wait_until 10 alarm_tried
check "the installed program runs" kill -0 $clock
kill -TERM $clock
wait $clock
check "and ends on SIGTERM with status 0" test $? = 0
clock=
check "it found its sound module ($(tr '\n' ' ' <"$stage/stderr"))" \
    bash -c "! grep -q 'no sound module' '$stage/stderr'"

report
