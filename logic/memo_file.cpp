#include "logic/memo_file.h"

#include <cstdio>

MemoList ParseMemoFile(const QByteArray& content, QByteArray* fileLineEnd) {
    MemoList list;
    bool endSeen = false;
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        const qsizetype next = end < 0 ? content.size() : end + 1;
        if (end < 0) {
            end = content.size();
        } else if (end > start && content[end - 1] == '\r') {
            --end;
        }
        MemoEntry entry = ParseMemoLine(content.mid(start, end - start));
        entry.lineEnd = content.mid(end, next - end);
        if (!endSeen && !entry.lineEnd->isEmpty()) {
            if (fileLineEnd != nullptr) {
                *fileLineEnd = *entry.lineEnd;
            }
            endSeen = true;
        }
        list.push_back(std::move(entry));
        start = next;
    }
    return list;
}

QByteArray FormatMemoFile(const MemoList& list, const QByteArray& newLineEnd) {
    QByteArray content;
    for (std::size_t i = 0; i < list.size(); ++i) {
        QByteArray lineEnd = list[i].lineEnd.value_or(newLineEnd);
        // A last line without an end gets one once another line follows it.
        if (lineEnd.isEmpty() && i + 1 < list.size()) {
            lineEnd = newLineEnd;
        }
        content += FormatMemoLine(list[i]) + lineEnd;
    }
    return content;
}

void LoadMemoFile(const QString& path, MemoList& list, MemoFileStamp* stamp) {
    const UserFile file = ReadUserFile(path);
    QByteArray lineEnd = "\r\n";
    if (file.bytes) {
        for (MemoEntry& entry : ParseMemoFile(*file.bytes, &lineEnd)) {
            list.push_back(std::move(entry));
        }
    }
    if (stamp != nullptr) {
        *stamp = {file.problem.isEmpty(), file.version(), lineEnd, file.problem};
    }
}

WriteResult SaveMemoFile(const QString& path, const MemoList& list, MemoFileStamp* stamp) {
    const QByteArray content =
        FormatMemoFile(list, stamp != nullptr ? stamp->lineEnd : QByteArray("\r\n"));
    if (stamp == nullptr) {
        return WriteFileAtomically(path, content);
    }
    FileVersion version = stamp->known ? stamp->version : FileVersion{};
    QStringList kept;
    const WriteResult written = ReplaceKeepingOthers(path, content, version, kept);
    for (const QString& copy : kept) {
        std::fprintf(stderr,
                     "kelvarine: %s was changed by another program; that version is kept as %s\n",
                     EncodePath(path).constData(), EncodePath(copy).constData());
    }
    if (written) {
        stamp->known = true;
        stamp->version = version;
    }
    return written;
}
