#include "logic/memo_file.h"
#include "logic/log_line.h"

#include <algorithm>
#include <iterator>

namespace {

// What Notepad and files synced from Windows begin with; the first memo starts after it.
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

}  // namespace

MemoList ParseMemoFile(const QByteArray& content, MemoFileShape* shape) {
    // The usual line ends are shared by every line that has them, not one allocation each.
    static const QByteArray kLf("\n");
    static const QByteArray kCrLf(kMemoLineEnd);
    MemoList list;
    list.reserve(static_cast<std::size_t>(content.count('\n') + 1));
    bool endSeen = false;
    const bool marked = content.startsWith(kByteOrderMark);
    if (shape != nullptr) {
        shape->byteOrderMark = marked;
    }
    qsizetype start = marked ? qsizetype(sizeof kByteOrderMark - 1) : 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        const qsizetype next = end < 0 ? content.size() : end + 1;
        if (end < 0) {
            end = content.size();
        } else if (end > start && content[end - 1] == '\r') {
            --end;
        }
        MemoEntry entry = ParseMemoLine(content.mid(start, end - start));
        const qsizetype endLength = next - end;
        entry.lineEnd = endLength == 1 ? kLf : endLength == 2 ? kCrLf : QByteArray();
        if (!endSeen && !entry.lineEnd->isEmpty()) {
            if (shape != nullptr) {
                shape->lineEnd = *entry.lineEnd;
            }
            endSeen = true;
        }
        list.push_back(std::move(entry));
        start = next;
    }
    return list;
}

QByteArray FormatMemoFile(const MemoList& list, const MemoFileShape& shape) {
    const QByteArray& newLineEnd = shape.lineEnd;
    QByteArray content;
    // Sized first (a byte a line over at most): the bytes are kept as the version written, so
    // they should not carry the slack of growing.
    qsizetype size = shape.byteOrderMark ? qsizetype(sizeof kByteOrderMark - 1) : 0;
    for (const MemoEntry& entry : list) {
        size += FormatMemoLine(entry).size() +
                std::max(entry.lineEnd.value_or(newLineEnd).size(), newLineEnd.size());
    }
    content.reserve(size);
    if (shape.byteOrderMark) {
        content += kByteOrderMark;
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        const QByteArray& lineEnd = list[i].lineEnd.value_or(newLineEnd);
        content += FormatMemoLine(list[i]);
        // A last line without an end gets one once another line follows it.
        content += lineEnd.isEmpty() && i + 1 < list.size() ? newLineEnd : lineEnd;
    }
    return content;
}

void LoadMemoFile(const QString& path, MemoList& list, MemoFileStamp* stamp) {
    const UserFile file = ReadUserFile(path, kMaxMemoFileBytes);
    MemoFileShape shape;
    if (file.bytes) {
        MemoList read = ParseMemoFile(*file.bytes, &shape);
        if (list.empty()) {
            list = std::move(read);
        } else {
            std::move(read.begin(), read.end(), std::back_inserter(list));
        }
    }
    if (stamp != nullptr) {
        *stamp = {file.problem.isEmpty(), file.version(), shape, file.problem};
    }
}

WriteResult SaveMemoFile(const QString& path, const MemoList& list, MemoFileStamp* stamp) {
    const QByteArray content =
        FormatMemoFile(list, stamp != nullptr ? stamp->shape : MemoFileShape{});
    if (stamp == nullptr) {
        return WriteFileAtomically(path, content);
    }
    // Nothing to write: the clock's changes were already made there (by hand, say).
    if (stamp->known && stamp->version.present && stamp->version.bytes == content &&
        LooksUnchanged(path, stamp->version)) {
        return {};
    }
    FileVersion version = stamp->known ? stamp->version : FileVersion{};
    QStringList kept;
    const WriteResult written = ReplaceKeepingOthers(path, content, version, kept);
    for (const QString& copy : kept) {
        LogLine("%s was changed by another program; that version is kept as %s",
                EncodePath(path).constData(), EncodePath(copy).constData());
    }
    if (written) {
        stamp->known = true;
        stamp->version = version;
    }
    return written;
}
