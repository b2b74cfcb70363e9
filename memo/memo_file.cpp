#include "memo/memo_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Shorter lines cannot hold a date and its separating space.
constexpr qsizetype kMinMemoLine = 17;

}  // namespace

void LoadMemoFile(const QString& path, MemoList& list) {
    // Only a regular file: a pipe or device at that path must not block or flood start-up.
    if (!QFileInfo(path).isFile()) {
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return;
    }
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

bool SaveMemoFile(const QString& path, const MemoList& list) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    for (const MemoEntry& entry : list) {
        file.write(FormatMemoLine(entry) + "\r\n");
    }
    return file.commit();
}
