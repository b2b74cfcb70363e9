#pragma once

#include <vector>

#include <QAbstractListModel>

#include "logic/memo_edits.h"

// The lines the memo dialog edits, in its sorted order (ListLineLess), as its list view shows
// them. A row's text is decoded only when the view asks for it, so filling costs a sort, and
// showing costs the rows in sight, however many memos there are.
class MemoListModel : public QAbstractListModel {
    Q_OBJECT

public:
    // Each row also gives its bytes under this role.
    static constexpr int kLineRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Replaces the lines: equal lines keep the order they come in.
    void Fill(std::vector<ListedMemo> lines);
    // Inserts a line after the lines it equals; returns its row.
    int Insert(ListedMemo line);
    void Remove(int row);
    const std::vector<ListedMemo>& lines() const { return m_lines; }

private:
    std::vector<ListedMemo> m_lines;
};
