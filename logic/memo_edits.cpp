#include "logic/memo_edits.h"

#include <algorithm>
#include <map>
#include <set>

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

MemoList CommitListEdits(const MemoList& current, const std::vector<ListedMemo>& filled,
                         const std::vector<ListedMemo>& shown) {
    std::set<MemoId> deletedIds;
    // Lines without an id as multisets: a duplicate memo deleted once is deleted once.
    std::map<QByteArray, int> balance;
    for (const ListedMemo& listed : filled) {
        if (listed.id != 0) {
            deletedIds.insert(listed.id);
        } else {
            ++balance[listed.line];
        }
    }
    for (const ListedMemo& listed : shown) {
        if (listed.id != 0) {
            deletedIds.erase(listed.id);
        } else {
            --balance[listed.line];
        }
    }

    std::vector<std::pair<SortKey, MemoEntry>> kept;
    for (const MemoEntry& memo : current) {
        if (deletedIds.count(memo.id) != 0) {
            continue;
        }
        const QByteArray line = FormatMemoLine(memo);
        auto deleted = balance.find(line);
        if (memo.id == 0 && deleted != balance.end() && deleted->second > 0) {
            --deleted->second;
            continue;
        }
        kept.emplace_back(KeyOf(line), memo);
    }
    for (const ListedMemo& listed : shown) {
        auto added = balance.find(listed.line);
        if (listed.id == 0 && added->second < 0) {
            ++added->second;
            kept.emplace_back(KeyOf(listed.line), ParseMemoLine(listed.line));
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
