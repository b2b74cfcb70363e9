#include "memo/memo_edits.h"

#include <algorithm>
#include <map>

namespace {

struct SortKey {
    QString shown;
    QByteArray bytes;
};

bool KeyLess(const SortKey& a, const SortKey& b) {
    const int byText = a.shown.compare(b.shown, Qt::CaseInsensitive);
    return byText != 0 ? byText < 0 : a.bytes < b.bytes;
}

SortKey KeyOf(const QByteArray& line) {
    return {DecodeMemoText(line), line};
}

}  // namespace

bool ListLineLess(const QByteArray& a, const QByteArray& b) {
    return KeyLess(KeyOf(a), KeyOf(b));
}

MemoList CommitListEdits(const MemoList& current, const std::vector<QByteArray>& filled,
                         const std::vector<QByteArray>& shown) {
    // Lines as multisets: a duplicate memo deleted once is deleted once.
    std::map<QByteArray, int> balance;
    for (const QByteArray& line : filled) {
        ++balance[line];
    }
    for (const QByteArray& line : shown) {
        --balance[line];
    }

    std::vector<std::pair<SortKey, MemoEntry>> kept;
    for (const MemoEntry& memo : current) {
        const QByteArray line = FormatMemoLine(memo);
        auto deleted = balance.find(line);
        if (deleted != balance.end() && deleted->second > 0) {
            --deleted->second;
            continue;
        }
        kept.emplace_back(KeyOf(line), memo);
    }
    for (const QByteArray& line : shown) {
        auto added = balance.find(line);
        if (added->second < 0) {
            ++added->second;
            kept.emplace_back(KeyOf(line), ParseMemoLine(line));
        }
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const auto& a, const auto& b) { return KeyLess(a.first, b.first); });

    MemoList result;
    result.reserve(kept.size());
    for (auto& [key, memo] : kept) {
        result.push_back(std::move(memo));
    }
    return result;
}
