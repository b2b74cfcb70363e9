// The memo file on any bytes: what the reader takes in, the writer gives back byte for byte;
// a memo the clock writes anew reads back as the same minute and text; and a deleted line takes
// nothing else with it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArray>

#include "logic/memo_file.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A zone with summer time, so minutes that repeat or never happen come up.
    setenv("TZ", "Europe/Berlin", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    MemoFileShape shape;
    const MemoList read = ParseMemoFile(bytes, &shape);
    Require(FormatMemoFile(read, shape) == bytes);

    // Every memo written from its minute and text, as after a postponement or an edit.
    MemoList rewritten = read;
    for (MemoEntry& memo : rewritten) {
        if (memo.usable()) {
            memo.DropLine();
        }
    }
    const MemoList again = ParseMemoFile(FormatMemoFile(rewritten, shape));
    Require(again.size() == read.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        Require(again[i].usable() == read[i].usable());
        if (read[i].usable()) {
            Require(again[i].time == read[i].time && again[i].textView() == read[i].textView());
        }
    }

    // The first line deleted: the others stay as they were.
    if (!read.empty()) {
        const MemoList rest(read.begin() + 1, read.end());
        const QByteArray written = FormatMemoFile(rest, shape);
        const qsizetype mark = shape.byteOrderMark ? 3 : 0;  // written first again
        Require(written.startsWith(bytes.left(mark)) && bytes.endsWith(written.mid(mark)) &&
                written.size() == bytes.size() - FormatMemoLine(read.front()).size() -
                                      read.front().lineEnd->size());
    }
    return 0;
}
