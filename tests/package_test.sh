#!/usr/bin/env bash
# The Debian package `cpack -G DEB` makes from a build: everything under /usr, stripped, the
# libraries it needs found by dpkg-shlibdeps, a description, the copyright file and changelog,
# the manual page compressed, nothing from the tests or tools; the programs hardened, without a
# RUNPATH, their debug symbols in a -dbgsym package by build id; lintian finds neither an error
# nor a warning nor a hardening tag; and a second build of the tree in another folder packs the
# same bytes.
# Usage: package_test.sh BUILD_DIR
set -uo pipefail
build=$1
mode=package
source "$(dirname "$0")/desktop_lib.sh"
require_tools cpack dpkg-deb dpkg-shlibdeps lintian file hardening-check readelf

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Into a folder of its own, so the build folder keeps no packaging leftovers.
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1
status=$?
check "cpack -G DEB succeeds ($(tail -n 3 "$work/cpack.log" | tr '\n' ' '))" test $status = 0
deb=$(find "$work" -maxdepth 1 -name 'kelvarine_*.deb' | head -n 1)
check "it made kelvarine_<version>_<arch>.deb" test -n "$deb"
[ -n "$deb" ] || { report; exit 1; }
dbgsym=$(find "$work" -maxdepth 1 -name 'kelvarine-dbgsym_*.ddeb' | head -n 1)
check "and kelvarine-dbgsym_<version>_<arch>.ddeb beside it" test -n "$dbgsym"

dpkg-deb --field "$deb" >"$work/control"
dpkg-deb --contents "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/files"
field() { sed -n "s/^$1: //p" "$work/control"; }
check "Package is kelvarine ($(field Package))" test "$(field Package)" = kelvarine
check "its Depends name Qt 6, PulseAudio's client library and the C library ($(field Depends))" \
    bash -c "grep -q 'libqt6widgets6' <<<'$(field Depends)' && grep -q 'libpulse0' \
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
[ -z "$dbgsym" ] || dpkg-deb -x "$dbgsym" "$work/dbgsym"
build_id() { readelf -n "$1" | sed -n 's/^ *Build ID: //p'; }
for f in "$work/root/usr/bin/kelvarine" "$work/root"/usr/lib/*kelvarine*/kelvarine-sound.so \
    "$work"/root/usr/lib/*/kelvarine/kelvarine-sound.so; do
    [ -e "$f" ] || continue
    name=${f#"$work/root"}
    check "$name is stripped" bash -c "file -b '$f' | grep -q ', stripped'"
    # bookworm's C start files carry no CET marks, so no program linked there has control flow
    # integrity (dpkg's own has none), and its dpkg-buildflags does not ask for it.
    hardening=$(hardening-check --nocfprotection "$f" 2>/dev/null)
    status=$?
    check "hardening-check finds no failure in $name: $(grep -E ': no' <<<"$hardening" | tr '\n' ';')" \
        test $status = 0
    grep -E '^ ' <<<"$hardening" >&2
    check "$name has no RUNPATH or RPATH ($(readelf -d "$f" | grep -E 'R(UN)?PATH'))" \
        bash -c "! readelf -d '$f' | grep -qE 'R(UN)?PATH'"
    id=$(build_id "$f")
    debug=$work/dbgsym/usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug
    check "the -dbgsym package holds $name's symbols under its build id ${id:-(none)}" \
        test -n "$id" -a -f "$debug" -a "$(build_id "$debug" 2>/dev/null)" = "$id"
    check "with its debug information" \
        bash -c "readelf -S '$debug' 2>/dev/null | grep -q ' .debug_info  *PROGBITS'"
done
check "the desktop entry starts /usr/bin/kelvarine" \
    grep -qx 'Exec=/usr/bin/kelvarine' "$work/root/usr/share/applications/example.kelvarine.Clock.desktop"
check "the changelog is gzip'd without a name or time stamp" \
    bash -c "gzip -lv '$work/root/usr/share/doc/kelvarine/changelog.Debian.gz' >/dev/null &&
             [ \"\$(od -An -tu1 -j4 -N4 '$work/root/usr/share/doc/kelvarine/changelog.Debian.gz' | tr -d ' ')\" = 0000 ]"

# With the informational and pedantic tags, where lintian tells most of the hardening it misses.
lintian --fail-on error,warning --display-info --pedantic --tag-display-limit 0 "$deb" ${dbgsym:+"$dbgsym"} \
    >"$work/lintian.log" 2>&1
status=$?
check "lintian finds no error or warning: $(grep -E '^[EW]:' "$work/lintian.log" | head -n 10 | tr '\n' ';')" \
    test $status = 0
check "nor a hardening tag: $(grep -E ' hardening-' "$work/lintian.log" | tr '\n' ';')" \
    bash -c "! grep -q ' hardening-' '$work/lintian.log'"
grep -E '^[EWIP]:' "$work/lintian.log" | head -n 20

# The tree built again with the same settings in a folder of its own, only what the package
# holds: the same bytes (dates, order, and no path of either folder in the debug information
# that the build ids cover). BUILD_DIR must be up to date with the tree, as ./test leaves it.
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
settings=()
for name in CMAKE_BUILD_TYPE CMAKE_CXX_COMPILER CMAKE_CXX_FLAGS KELVARINE_CPPFLAGS \
    KELVARINE_HARDENING CMAKE_EXE_LINKER_FLAGS CMAKE_SHARED_LINKER_FLAGS CMAKE_MODULE_LINKER_FLAGS; do
    grep -q "^$name:" "$build/CMakeCache.txt" && settings+=("-D$name=$(cached "$name")")
done
second=$work/second
{ cmake -S "$(cached CMAKE_HOME_DIRECTORY)" -B "$second/build" -G "$(cached CMAKE_GENERATOR)" \
    "${settings[@]}" -DKELVARINE_TESTS=OFF -DKELVARINE_TOOLS=OFF &&
    cmake --build "$second/build" --parallel "$(nproc)" &&
    cpack --config "$second/build/CPackConfig.cmake" -G DEB -B "$second"; } >"$work/second.log" 2>&1
status=$?
check "a second build in another folder packs ($(tail -n 3 "$work/second.log" | tr '\n' ' '))" \
    test $status = 0
for f in "$deb" ${dbgsym:+"$dbgsym"}; do
    check "$(basename "$f") is the same from both, byte for byte" cmp "$f" "$second/$(basename "$f")"
done

report
