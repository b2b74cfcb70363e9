#pragma once

#include <optional>

#include <QString>

// The installed font file that draws `family` best, as fontconfig matches it for the desktop
// ("Arial" may come out as a metric-compatible family); nullopt when there is none. One match
// is a look-up in fontconfig's cache, where Qt's own font matching first lists every installed
// font: on a desktop with a few thousand fonts that is most of a small program's memory.
std::optional<QString> MatchFontFile(const QString& family);
