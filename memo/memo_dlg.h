#pragma once

#include <vector>

#include <QByteArray>
#include <QCalendarWidget>
#include <QDialog>

#include "logic/memo.h"
#include "logic/memo_edits.h"
#include "memo/memo_keeper.h"
#include "memo/memo_list_model.h"
#include "platform/services.h"

class QLineEdit;
class QListView;

// The memo dialog. It edits a copy of the memos: every show fills the list from the memo file as
// it is then, "<= 添加" and "删除" change only the dialog's lines, and the close box commits them
// and saves at once when the user changed any, as does the clock's end while it is open. Esc
// hides it without that.
class CMemoDlg : public QDialog {
    Q_OBJECT

public:
    CMemoDlg(const Services& services, MemoKeeper& memos, QWidget* parent = nullptr);
    ~CMemoDlg() override;

    // Makes the dialog's window, owned by `owner`, and leaves it hidden. Its controls are
    // built when it is first shown: a clock that is never asked for its memos never pays for
    // a calendar and the fonts of its texts.
    void Create(QWidget* owner);
    // Moves the fields between the controls and the members; false (after telling the user)
    // when a number field does not validate.
    bool UpdateData(bool bSaveAndValidate = true);

    void setVisible(bool visible) override;
    // Enter never ends this dialog: a user confirming with it would lose their edits.
    void accept() override {}

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void BuildControls();
    bool OnInitDialog();
    void OnShowWindow(bool bShow);
    void OnAddMemo();
    void OnDeleteMemo();
    void OnSelchangeMemoList();
    void OnClose();
    // What the user changed since the show, into the store (once).
    void CommitOpenEdits();

    void AddListLine(ListedMemo listed);
    void SelectDate(std::int64_t time);
    bool FailField(QLineEdit* field, const QString& message);

    QCalendarWidget* m_calendar = nullptr;  // the dialog's controls, once built
    QListView* m_list = nullptr;
    MemoListModel m_lines;  // what the list shows: the dialog's edited copy
    int m_nHour = 0;
    int m_nMinute = 0;
    QByteArray m_strText;  // the memo text as bytes (see DecodeMemoText)
    const Services& m_services;
    MemoKeeper& m_memos;
    QLineEdit* m_editHour = nullptr;
    QLineEdit* m_editMinute = nullptr;
    QLineEdit* m_editText = nullptr;
    std::vector<ListedMemo> m_filledLines;  // what the last show put in the list
    bool m_editsOpen = false;               // shown, and its edits not committed yet
    bool m_changingList = false;            // list changes made by the dialog itself, not the user
    bool m_placed = false;
};
