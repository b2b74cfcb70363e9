#include "logic/memo_edits.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <optional>

namespace {

// Where both lines read the same ASCII letters so far, the first ASCII pair that differs, or
// the end of one of them, decides the order: every decoding of memo bytes (UTF-8, GBK, UTF-8
// with replacements) gives an ASCII byte as that one character, and a line's rest is never
// empty text. Memos begin with their date, so this nearly always answers without decoding.
// Returns <0, 0 or >0 when it answers; nullopt when a byte outside ASCII comes first.
std::optional<int> CompareAsciiPrefix(const QByteArray& a, const QByteArray& b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x >= 0x80 || y >= 0x80) {
            return std::nullopt;
        }
        const int fx = x >= 'A' && x <= 'Z' ? x + ('a' - 'A') : x;
        const int fy = y >= 'A' && y <= 'Z' ? y + ('a' - 'A') : y;
        if (fx != fy) {
            return fx - fy;
        }
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

}  // namespace

bool ListLineLess(const QByteArray& a, const QByteArray& b) {
    std::optional<int> byText = CompareAsciiPrefix(a, b);
    if (!byText) {
        byText = DecodeMemoText(a).compare(DecodeMemoText(b), Qt::CaseInsensitive);
    }
    return *byText != 0 ? *byText < 0 : a < b;
}

MemoList CommitListEdits(const MemoList& current, const std::vector<ListedMemo>& filled,
                         const std::vector<ListedMemo>& shown) {
    // The ids filled in and no longer shown, sorted: a list of any length costs a sort, not a
    // tree node per memo.
    std::vector<MemoId> filledIds;
    std::vector<MemoId> shownIds;
    // Lines without an id as multisets: a duplicate memo deleted once is deleted once.
    std::map<QByteArray, int> balance;
    for (const ListedMemo& listed : filled) {
        if (listed.id != 0) {
            filledIds.push_back(listed.id);
        } else {
            ++balance[listed.line];
        }
    }
    for (const ListedMemo& listed : shown) {
        if (listed.id != 0) {
            shownIds.push_back(listed.id);
        } else {
            --balance[listed.line];
        }
    }
    std::sort(filledIds.begin(), filledIds.end());
    std::sort(shownIds.begin(), shownIds.end());
    std::vector<MemoId> deletedIds;
    std::set_difference(filledIds.begin(), filledIds.end(), shownIds.begin(), shownIds.end(),
                        std::back_inserter(deletedIds));

    // Sorted in groups: a memo with the unusable lines after it (a note, a blank line stays
    // with what it belongs to); those before the first memo stay first. A group is a run of
    // `kept`, keyed by its memo's line.
    struct Group {
        std::optional<QByteArray> key;
        std::size_t begin = 0;
        std::size_t end = 0;
    };
    MemoList kept;
    kept.reserve(current.size());
    std::vector<Group> groups;
    for (const MemoEntry& memo : current) {
        if (std::binary_search(deletedIds.begin(), deletedIds.end(), memo.id)) {
            continue;
        }
        const QByteArray line = FormatMemoLine(memo);
        auto deleted = balance.find(line);
        if (memo.id == 0 && deleted != balance.end() && deleted->second > 0) {
            --deleted->second;
            continue;
        }
        if (memo.usable()) {
            groups.push_back({line, kept.size(), kept.size()});
        } else if (groups.empty()) {
            groups.push_back({std::nullopt, kept.size(), kept.size()});
        }
        kept.push_back(memo);
        groups.back().end = kept.size();
    }
    for (const ListedMemo& listed : shown) {
        auto added = balance.find(listed.line);
        if (listed.id == 0 && added->second < 0) {
            ++added->second;
            groups.push_back({listed.line, kept.size(), kept.size() + 1});
            kept.push_back(ParseMemoLine(listed.line));
        }
    }
    std::stable_sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) {
        return !a.key ? b.key.has_value() : b.key && ListLineLess(*a.key, *b.key);
    });

    MemoList result;
    result.reserve(kept.size());
    for (const Group& group : groups) {
        std::move(kept.begin() + static_cast<std::ptrdiff_t>(group.begin),
                  kept.begin() + static_cast<std::ptrdiff_t>(group.end),
                  std::back_inserter(result));
    }
    return result;
}
