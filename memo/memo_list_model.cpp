#include "memo/memo_list_model.h"

#include <algorithm>

namespace {

bool RowLess(const ListedMemo& a, const ListedMemo& b) {
    return ListLineLess(a.line, b.line);
}

}  // namespace

int MemoListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

QVariant MemoListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount()) {
        return {};
    }
    const QByteArray& line = m_lines[static_cast<std::size_t>(index.row())].line;
    switch (role) {
        case Qt::DisplayRole:
        // The list is narrow; the whole line is a hover away.
        case Qt::ToolTipRole:
            return DecodeMemoText(line);
        case kLineRole:
            return line;
        default:
            return {};
    }
}

void MemoListModel::Fill(std::vector<ListedMemo> lines) {
    // A list the clock wrote is in this order already: checked in one pass.
    if (!std::is_sorted(lines.begin(), lines.end(), RowLess)) {
        std::stable_sort(lines.begin(), lines.end(), RowLess);
    }
    beginResetModel();
    m_lines = std::move(lines);
    endResetModel();
}

int MemoListModel::Insert(ListedMemo line) {
    const auto at = std::upper_bound(m_lines.begin(), m_lines.end(), line, RowLess);
    const int row = static_cast<int>(at - m_lines.begin());
    beginInsertRows({}, row, row);
    m_lines.insert(at, std::move(line));
    endInsertRows();
    return row;
}

void MemoListModel::Remove(int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    beginRemoveRows({}, row, row);
    m_lines.erase(m_lines.begin() + row);
    endRemoveRows();
}
