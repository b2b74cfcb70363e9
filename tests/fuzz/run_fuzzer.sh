#!/usr/bin/env bash
# Runs a libFuzzer target for a bounded time from the committed seeds, keeping what it finds
# apart from them; fails on a crash, an abort or a sanitizer report, and keeps that input.
# Usage: run_fuzzer.sh FUZZER SEED_DIR SECONDS ARTIFACT_DIR
set -uo pipefail
fuzzer=$1
seeds=$2
seconds=$3
artifacts=$4
name=$(basename "$fuzzer")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$artifacts"
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/$name-" "$work/corpus" "$seeds" >"$work/log" 2>&1
status=$?
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
echo "$name: ${runs:-?} inputs in $seconds s, $(find "$work/corpus" -type f | wc -l) new in the corpus"
if [ $status != 0 ]; then
    grep -E 'ERROR|runtime error|SUMMARY|Test unit written|Base64' "$work/log" | head -n 20 >&2
    tail -n 40 "$work/log" >&2
    exit 1
fi
