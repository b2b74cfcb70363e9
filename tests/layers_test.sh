#!/usr/bin/env bash
# The layer check passes the project and refuses every way an include can break the layers:
# either include form pointing up or sideways, "..", a file in a subfolder, a Qt module the
# layer does not link.
set -euo pipefail
source_dir=$1
check=$source_dir/cmake/check_layers.cmake
cmake -DSOURCE_DIR="$source_dir" -P "$check"

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
status=0
while IFS='|' read -r file include expected; do
    rm -rf "${tree:?}"/*
    mkdir -p "$tree/$(dirname "$file")"
    printf '%s\n' "$include" >"$tree/$file"
    if output=$(cmake -DSOURCE_DIR="$tree" -P "$check" 2>&1); then
        [ -z "$expected" ] && continue
        echo "not refused: $file: $include"
        status=1
    elif [ -z "$expected" ]; then
        echo "refused, though allowed: $file: $include"$'\n'"$output"
        status=1
    elif ! grep -qF "$file: $include: $expected" <<<"$output"; then
        echo "refused without saying why: $file: $include"$'\n'"$output"
        status=1
    fi
done <<'TABLE'
logic/a.cpp|#include "platform/services.h"|platform/ is not below logic/
logic/a.cpp|#include <platform/services.h>|platform/ is not below logic/
memo/a.h|#include "settings/settings_dlg.h"|settings/ is not below memo/
logic/a.cpp|#include "../platform/services.h"|climbs out with ".."
clock/a.cpp|#include "memo/../app/clock_app.h"|climbs out with ".."
logic/more/a.cpp|#include "clock/clock_dlg.h"|clock/ is not below logic/
logic/a.cpp|#include <QtGui/QImage>|QtGui is not among this layer's Qt modules (Core)
ui/a.cpp|#include <QtDBus>|QtDBus is not among this layer's Qt modules (Core, Gui, Widgets)
logic/a.cpp|#include <QtCore/QString>|
logic/a.cpp|#include <QtGlobal>|
clock/a.cpp|#include "memo/memo_dlg.h"|
TABLE
exit $status
