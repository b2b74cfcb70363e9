#!/usr/bin/env bash
# The layer check passes the project and refuses every way an include can break the layers:
# either include form pointing up or sideways, a path through "./" or ".." that leads there, a
# ".." out of the layer, a file in a subfolder or a header, a Qt module the layer does not link
# (named with or without its folder), an include behind a comment or through a macro.
set -euo pipefail
source_dir=$1
check=$source_dir/cmake/check_layers.cmake
qt=()
[ -n "${2:-}" ] && qt=(-DQT_INCLUDE_DIR="$2")
cmake -DSOURCE_DIR="$source_dir" "${qt[@]}" -P "$check"

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
status=0
while IFS='|' read -r file include expected; do
    rm -rf "${tree:?}"/*
    mkdir -p "$tree/$(dirname "$file")"
    printf '%s\n' "$include" >"$tree/$file"
    if output=$(cmake -DSOURCE_DIR="$tree" "${qt[@]}" -P "$check" 2>&1); then
        [ -z "$expected" ] && continue
        echo "not refused: $file: $include"
        status=1
    elif [ -z "$expected" ]; then
        echo "refused, though allowed: $file: $include"$'\n'"$output"
        status=1
    # The line is shown as the compiler reads it, comments gone.
    elif ! grep -F "  $file: " <<<"$output" | grep -qF ": $expected"; then
        echo "refused without saying why: $file: $include"$'\n'"$output"
        status=1
    fi
done <<'TABLE'
logic/a.cpp|#include "platform/services.h"|platform/ is not below logic/
logic/a.cpp|#include <platform/services.h>|platform/ is not below logic/
memo/a.h|#include "settings/settings_dlg.h"|settings/ is not below memo/
logic/a.cpp|#include "../platform/services.h"|climbs out with ".."
clock/a.cpp|#include "memo/../app/clock_app.h"|app/ is not below clock/
logic/a.cpp|#include "./platform/services.h"|platform/ is not below logic/
logic/a.cpp|#include <./logic/.././platform/services.h>|platform/ is not below logic/
logic/more/deeper/a.cpp|#include "../../../platform/services.h"|climbs out with ".."
logic/a.cpp|#include "../../outside.h"|climbs out with ".."
platform/a.cpp|#include "./logic/skins.h"|
logic/more/a.cpp|#include "clock/clock_dlg.h"|clock/ is not below logic/
logic/a.cpp|#include <QtGui/QImage>|QtGui is not among this layer's Qt modules (Core)
ui/a.cpp|#include <QtDBus>|QtDBus is not among this layer's Qt modules (Core, Gui, Widgets)
logic/a.cpp|#include <QImage>|QtGui is not among this layer's Qt modules (Core)
logic/a.cpp|#include "qwidget.h"|QtWidgets is not among this layer's Qt modules (Core)
ui/a.cpp|#include <QDBusConnection>|QtDBus is not among this layer's Qt modules (Core, Gui, Widgets)
logic/a.h|#include <QImage>|QtGui is not among this layer's Qt modules (Core)
logic/a.cpp|/* x */ #include <QImage>|QtGui is not among this layer's Qt modules (Core)
logic/a.cpp|#include <QImage> // needed for the icon|QtGui is not among this layer's Qt modules (Core)
logic/a.cpp|# /* x */ include /* y */ "platform/services.h"|platform/ is not below logic/
logic/a.cpp|#define HEADER <QImage>|
logic/a.cpp|#include HEADER|names its header through a macro, which this check cannot follow
logic/a.cpp|// #include <QImage>|
logic/a.cpp|auto url = "http://a/*"; // #include <QImage>|
logic/a.cpp|#include <QtCore/QString>|
logic/a.cpp|#include <QString>|
logic/a.cpp|#include <vector>|
logic/a.cpp|#include <QtGlobal>|
clock/a.cpp|#include "memo/memo_dlg.h"|
TABLE

# A link is followed to the file it names: a header of a higher layer behind a link in logic/.
rm -rf "${tree:?}"/*
mkdir -p "$tree/logic" "$tree/platform"
touch "$tree/platform/services.h"
ln -s ../platform/services.h "$tree/logic/services.h"
printf '#include "services.h"\n' >"$tree/logic/a.cpp"
output=$(cmake -DSOURCE_DIR="$tree" "${qt[@]}" -P "$check" 2>&1) || true
if ! grep -qF 'logic/a.cpp: #include "services.h": platform/ is not below logic/' <<<"$output"; then
    echo "not refused: an include through a link in logic/ to platform/"
    status=1
fi
exit $status
