#!/usr/bin/env bash
# Every shell script of the tree through shellcheck, with the tree's .shellcheckrc: those named
# *.sh and those whose #! line starts a shell. Build trees are left out. Exit 77 when the
# checker is not installed.
# Usage: shellcheck_test.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 1
command -v shellcheck >/dev/null || { echo "skipped: shellcheck is not installed" >&2; exit 77; }
mapfile -t scripts < <(
    find . \( -path ./.git -o -path './build*' -o -path ./out -o -name .cache \) -prune -o \
        -type f -print0 |
        xargs -0 awk 'FNR == 1 && (FILENAME ~ /\.sh$/ || /^#!.*[\/ ](ba|da)?sh( |$)/) {
            print FILENAME } { nextfile }' | sort)
# A finder that found nothing would pass anything.
printf '%s\n' "${scripts[@]}" | grep -qx './test' || { echo "./test was not found" >&2; exit 1; }
echo "${#scripts[@]} scripts"
shellcheck "${scripts[@]}"
