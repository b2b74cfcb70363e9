#pragma once

#include <optional>

#include <QByteArray>

// The INI text with `key=value` in group `[group]`: the key's line replaced where the group has
// it, else added at the end of the group, else the group added at the end. Every other line
// stays as it was, byte for byte. Names and values are written as they are, so they must be
// plain (letters, digits, '.', '_', '-'), which is all the clock stores.
QByteArray SetIniValue(const QByteArray& ini, const QByteArray& group, const QByteArray& key,
                       const QByteArray& value);

// The value of `key` in `[group]` as QSettings reads a plain value (blanks around it dropped, one
// pair of double quotes removed); the first such line counts, as SetIniValue replaces the first.
// nullopt when the group has no such key.
std::optional<QByteArray> GetIniValue(const QByteArray& ini, const QByteArray& group,
                                      const QByteArray& key);
