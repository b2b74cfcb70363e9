#pragma once

#include <QDialog>

#include "memo/memo.h"

// The memo dialog. It owns the memo list for the whole run, whether or not it is shown; the
// clock window loads the list into it and the memo check reads and changes it directly.
class CMemoDlg : public QDialog {
    Q_OBJECT

public:
    explicit CMemoDlg(QWidget* parent = nullptr);

    MemoList m_memos;
    bool m_bDirty = false;  // the list has changes the memo file does not have yet
};
