#include "logic/memo_edits.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <optional>
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

    // Sorted in groups: a memo with the unusable lines after it (a note, a blank line stays
    // with what it belongs to); those before the first memo stay first.
    struct Group {
        std::optional<SortKey> key;
        MemoList lines;
    };
    std::vector<Group> groups;
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
        if (memo.usable()) {
            groups.push_back({KeyOf(line), {}});
        } else if (groups.empty()) {
            groups.push_back({});
        }
        groups.back().lines.push_back(memo);
    }
    for (const ListedMemo& listed : shown) {
        auto added = balance.find(listed.line);
        if (listed.id == 0 && added->second < 0) {
            ++added->second;
            groups.push_back({KeyOf(listed.line), {ParseMemoLine(listed.line)}});
        }
    }
    std::stable_sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) {
        return !a.key ? b.key.has_value() : b.key && KeyLess(*a.key, *b.key);
    });

    MemoList result;
    for (Group& group : groups) {
        std::move(group.lines.begin(), group.lines.end(), std::back_inserter(result));
    }
    return result;
}
