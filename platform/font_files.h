#pragma once

#include <optional>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The installed font files that draw `families` best, in their order, as fontconfig matches them
// for the desktop ("Arial" may come out as a metric-compatible family); nullopt where there is
// none. Qt's own font matching first lists every installed font, which on a desktop with a few
// thousand fonts is most of a small program's memory; this is one look-up each in fontconfig's
// caches.
QList<std::optional<QString>> MatchFontFiles(const QStringList& families);

// A font file's bytes, mapped rather than read: only the parts drawn from take memory, in pages
// shared with every other program drawing from the same file. The mapping lasts as long as the
// process. Empty when the file cannot be mapped.
QByteArray MapFontFile(const QString& path);
