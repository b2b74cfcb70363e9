#!/usr/bin/env bash
# The Debian package `cpack -G DEB` makes from a build: everything under /usr, stripped, the
# libraries it needs found by dpkg-shlibdeps, a description, the copyright file and changelog,
# the manual page compressed, nothing from the tests or tools; and lintian finds neither an
# error nor a warning.
# Usage: package_test.sh BUILD_DIR
set -uo pipefail
build=$1
mode=package
source "$(dirname "$0")/desktop_lib.sh"
require_tools cpack dpkg-deb dpkg-shlibdeps lintian file

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Into a folder of its own, so the build folder keeps no packaging leftovers.
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1
status=$?
check "cpack -G DEB succeeds ($(tail -n 3 "$work/cpack.log" | tr '\n' ' '))" test $status = 0
deb=$(find "$work" -maxdepth 1 -name 'kelvarine_*.deb' | head -n 1)
check "it made kelvarine_<version>_<arch>.deb" test -n "$deb"
[ -n "$deb" ] || { report; exit 1; }

dpkg-deb --field "$deb" >"$work/control"
dpkg-deb --contents "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/files"
field() { sed -n "s/^$1: //p" "$work/control"; }
check "Package is kelvarine ($(field Package))" test "$(field Package)" = kelvarine
check "its Depends name Qt 6 and the C library ($(field Depends))" \
    bash -c "grep -q 'libqt6widgets6' <<<'$(field Depends)' && grep -q 'libqt6multimedia6' \
        <<<'$(field Depends)' && grep -q 'libc6' <<<'$(field Depends)'"
check "the description has a body" test "$(sed -n '/^Description:/,$p' "$work/control" | wc -l)" -ge 4
check "every file is under /usr ($(grep -v '^/usr' "$work/files" | grep -v '^/$' | head -n 3))" \
    bash -c "! grep -v -e '^/usr' -e '^/\$' '$work/files'"
for f in /usr/bin/kelvarine /usr/share/man/man1/kelvarine.1.gz \
    /usr/share/doc/kelvarine/copyright /usr/share/doc/kelvarine/changelog.Debian.gz \
    /usr/share/metainfo/example.kelvarine.Clock.metainfo.xml \
    /usr/share/applications/example.kelvarine.Clock.desktop; do
    check "it holds $f" grep -qx "$f" "$work/files"
done
check "it holds the sound module" grep -q '/kelvarine/kelvarine-sound\.so$' "$work/files"
check "nothing from the tests or tools ($(grep -E 'test|make_assets|bench' "$work/files" | head -n 3))" \
    bash -c "! grep -qE 'unit_tests|_test|make_assets|benchmark' '$work/files'"

dpkg-deb -x "$deb" "$work/root"
for f in "$work/root/usr/bin/kelvarine" "$work/root"/usr/lib/*kelvarine*/kelvarine-sound.so \
    "$work"/root/usr/lib/*/kelvarine/kelvarine-sound.so; do
    [ -e "$f" ] || continue
    check "${f#"$work/root"} is stripped" bash -c "file -b '$f' | grep -q ', stripped'"
done
check "the desktop entry starts /usr/bin/kelvarine" \
    grep -qx 'Exec=/usr/bin/kelvarine' "$work/root/usr/share/applications/example.kelvarine.Clock.desktop"
check "the changelog is gzip'd without a name or time stamp" \
    bash -c "gzip -lv '$work/root/usr/share/doc/kelvarine/changelog.Debian.gz' >/dev/null &&
             [ \"\$(od -An -tu1 -j4 -N4 '$work/root/usr/share/doc/kelvarine/changelog.Debian.gz' | tr -d ' ')\" = 0000 ]"

lintian --fail-on error,warning --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1
status=$?
check "lintian finds no error or warning: $(grep -E '^[EW]:' "$work/lintian.log" | head -n 10 | tr '\n' ';')" \
    test $status = 0
grep -E '^[EWIP]:' "$work/lintian.log" | head -n 20

report
