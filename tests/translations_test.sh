#!/usr/bin/env bash
# Every text the program translates is in each .ts file, translated: lupdate run over the
# sources changes no .ts file (no text missing, none left over) and no entry is unfinished.
# Usage: translations_test.sh LUPDATE SOURCE_LIST TS_FILE...
set -uo pipefail
lupdate=$1
sources=$2
shift 2
[ -x "$lupdate" ] || { echo "skipped: $lupdate is not installed" >&2; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
for ts in "$@"; do
    copy=$work/$(basename "$ts")
    cp "$ts" "$copy"
    "$lupdate" -silent -no-obsolete -locations none "@$sources" -ts "$copy" >"$work/log" 2>&1 ||
        { cat "$work/log" >&2; exit 1; }
    if ! diff -u "$ts" "$copy" >"$work/diff"; then
        echo "FAIL: $(basename "$ts") is not what lupdate makes of the sources" \
            "(cmake --build build --target update_translations, then translate):" >&2
        grep '^[-+] *<source>' "$work/diff" >&2
        failures=$((failures + 1))
    fi
    unfinished=$(grep -c 'type="unfinished"' "$copy")
    if [ "$unfinished" != 0 ]; then
        echo "FAIL: $(basename "$ts") has $unfinished unfinished translations" >&2
        failures=$((failures + 1))
    fi
done
[ "$failures" = 0 ] && echo "$# translation files complete"
