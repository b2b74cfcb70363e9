#pragma once

#include <optional>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "platform/services.h"

// What opening a link needs besides the widget: the failure texts and the web-browser fallback.

// The fallback works within fixed buffers: a looked-up value (the browser's desktop-file ID, its
// Exec line) of at most this many bytes...
inline constexpr qsizetype kMaxDefaultValueBytes = 259;
// ...and a command line, blank and target included, of at most this many.
inline constexpr qsizetype kMaxCommandBytes = 519;

// The reason for a launcher result code, as the failure box shows it.
QString OpenErrorText(int code);
// The whole failure text: a header line, an empty line, the reason.
QString OpenErrorMessage(int code);
// What the failure box says when `target` could not be opened: for a mail link, that no mail
// program is set up (when none is, or the one set up is missing) or else the reason, and the
// address to write to by hand; for any other link, OpenErrorMessage.
QString OpenFailureMessage(const QString& target, int code);

// The command that opens `target` with the application the entry describes: its Exec line up to
// the first file or URL code, then the target as one more argument. nullopt when the entry is
// malformed, has no usable Exec, or breaks the size limits.
std::optional<QStringList> FallbackCommandFromEntry(const QByteArray& entryText,
                                                    const QString& entryPath,
                                                    const QString& target);

// The same for the desktop's default application for web pages (text/html), found along
// `applicationDirs`. nullopt when any step of the lookup fails.
std::optional<QStringList> BrowserFallbackCommand(MimeDefaults& mime,
                                                  const QStringList& applicationDirs,
                                                  const QString& target);
