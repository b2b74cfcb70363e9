#include "logic/memo_file.h"

#include <cstdio>
#include <optional>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Shorter lines cannot hold a date and its separating space.
constexpr qsizetype kMinMemoLine = 17;

QByteArray Digest(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

struct DiskContent {
    bool present = false;             // a regular file is there
    std::optional<QByteArray> bytes;  // unset when it could not be read
};

DiskContent ReadDisk(const QString& path) {
    // Only a regular file: a pipe or device at that path must not block or flood the clock.
    if (!QFileInfo(path).isFile()) {
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {true, std::nullopt};
    }
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return {true, std::nullopt};
    }
    return {true, std::move(content)};
}

// Copies bytes to a new file next to path, named after the time it was last changed.
std::optional<QString> KeepBeside(const QString& path, const QByteArray& bytes) {
    const QString stem = path + QLatin1Char('.') +
                         QFileInfo(path).lastModified().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int n = 1; n < 1000; ++n) {
        const QString name = n == 1 ? stem : stem + QStringLiteral("-%1").arg(n);
        QFile copy(name);
        // NewOnly: an earlier kept copy is never replaced, even by a racing writer.
        if (!copy.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo::exists(name)) {
                continue;
            }
            return std::nullopt;
        }
        if (copy.write(bytes) != bytes.size() || !copy.flush()) {
            copy.remove();
            return std::nullopt;
        }
        return name;
    }
    return std::nullopt;
}

// Keeps the file on disk when it is not what the stamp says the clock last saw, and then
// records it in the stamp, so that a save that fails after this keeps that version only once.
// Fails when the file must not be replaced: it changed but cannot be read or kept.
WriteResult KeepForeignVersion(const QString& path, MemoFileStamp& stamp) {
    const DiskContent disk = ReadDisk(path);
    if (!disk.present) {
        return {};  // nothing there to lose
    }
    if (!disk.bytes) {
        std::fprintf(stderr, "kelvarine: cannot read %s; not replacing it\n", qPrintable(path));
        return {false, QStringLiteral("it cannot be read, so it is not replaced")};
    }
    const QByteArray digest = Digest(*disk.bytes);
    if (stamp.known && stamp.present && stamp.digest == digest) {
        return {};
    }
    const std::optional<QString> kept = KeepBeside(path, *disk.bytes);
    if (!kept) {
        std::fprintf(stderr,
                     "kelvarine: %s was changed by another program and cannot be kept; "
                     "not replacing it\n",
                     qPrintable(path));
        return {false, QStringLiteral("it was changed by another program and that version "
                                      "cannot be kept beside it")};
    }
    std::fprintf(stderr,
                 "kelvarine: %s was changed by another program; that version is kept as %s\n",
                 qPrintable(path), qPrintable(*kept));
    stamp = {true, true, digest};
    return {};
}

}  // namespace

void LoadMemoFile(const QString& path, MemoList& list, MemoFileStamp* stamp) {
    const DiskContent disk = ReadDisk(path);
    if (stamp != nullptr) {
        *stamp = {disk.bytes.has_value() || !disk.present, disk.present,
                  disk.bytes ? Digest(*disk.bytes) : QByteArray()};
    }
    if (!disk.bytes) {
        return;
    }
    const QByteArray& content = *disk.bytes;
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        const qsizetype next = end < 0 ? content.size() : end + 1;
        if (end < 0) {
            end = content.size();
        } else if (end > start && content[end - 1] == '\r') {
            --end;
        }
        if (end - start >= kMinMemoLine) {
            list.push_back(ParseMemoLine(content.mid(start, end - start)));
        }
        start = next;
    }
}

WriteResult SaveMemoFile(const QString& path, const MemoList& list, MemoFileStamp* stamp) {
    if (stamp != nullptr) {
        if (WriteResult kept = KeepForeignVersion(path, *stamp); !kept) {
            return kept;
        }
    }
    QByteArray content;
    for (const MemoEntry& entry : list) {
        content += FormatMemoLine(entry) + "\r\n";
    }
    WriteResult written = WriteFileAtomically(path, content);
    if (written && stamp != nullptr) {
        *stamp = {true, true, Digest(content)};
    }
    return written;
}
