#include "memo/memo_dlg.h"

#include <algorithm>

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScopedValueRollback>

#include "logic/dialog_data.h"
#include "logic/local_time.h"
#include "logic/memo.h"
#include "logic/resource_ids.h"
#include "ui/dialog_builder.h"
#include "ui/dialog_placement.h"

namespace {

// The dates a memo can hold.
const QDate kFirstDate(kMemoFirstYear, 1, 1);
const QDate kLastDate(kMemoLastYear, 12, 31);

}  // namespace

CMemoDlg::CMemoDlg(const Services& services, MemoKeeper& memos, QWidget* parent)
    : QDialog(parent), m_services(services), m_memos(memos) {
    // The name its owner's tests and tools find the dialog by, as its controls are.
    setObjectName(QStringLiteral("IDD_MEMO"));
}

CMemoDlg::~CMemoDlg() {
    if (m_editsOpen) {
        m_memos.SetOpenEdits(nullptr);
    }
}

void CMemoDlg::Create(QWidget* owner) {
    setParent(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    hide();
}

void CMemoDlg::BuildControls() {
    const DialogTemplate* dialog = FindDialogTemplate(IDD_MEMO);
    if (m_list != nullptr || dialog == nullptr) {
        return;
    }
    // A view over the model: a list of any length opens at the cost of the rows in sight.
    auto* list = new QListView;
    list->setUniformItemSizes(true);  // no row is measured but the first
    list->setModel(&m_lines);
    const std::map<int, QWidget*> controls = BuildDialog(*this, *dialog, {{IDC_MEMO_LIST, list}});
    m_calendar = qobject_cast<QCalendarWidget*>(controls.at(IDC_MEMO_CALENDAR));
    m_list = list;
    m_editHour = qobject_cast<QLineEdit*>(controls.at(IDC_MEMO_HOUR));
    m_editMinute = qobject_cast<QLineEdit*>(controls.at(IDC_MEMO_MINUTE));
    m_editText = qobject_cast<QLineEdit*>(controls.at(IDC_MEMO_TEXT));
    // A memo is one line of the file: a break typed (Return) or pasted becomes a space.
    m_editText->setToolTip(tr("一行文字：换行变成空格"));
    m_editText->installEventFilter(this);
    connect(m_editText, &QLineEdit::textChanged, this, [this](const QString& text) {
        const QString line = OneLineText(text);
        if (line != text) {
            const qsizetype cursor = OneLineText(text.left(m_editText->cursorPosition())).size();
            m_editText->setText(line);
            m_editText->setCursorPosition(static_cast<int>(cursor));
        }
    });
    auto* add = qobject_cast<QPushButton*>(controls.at(IDC_MEMO_ADD));
    auto* remove = qobject_cast<QPushButton*>(controls.at(IDC_MEMO_DELETE));
    // No button takes Enter: it does nothing in this dialog.
    add->setAutoDefault(false);
    remove->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, &CMemoDlg::OnAddMemo);
    connect(remove, &QPushButton::clicked, this, &CMemoDlg::OnDeleteMemo);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_changingList) {
            OnSelchangeMemoList();
        }
    });
    m_calendar->setDateRange(kFirstDate, kLastDate);
    OnInitDialog();
}

bool CMemoDlg::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_editText && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_editText->insert(QStringLiteral(" "));
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

bool CMemoDlg::OnInitDialog() {
    UpdateData(false);
    return true;
}

bool CMemoDlg::UpdateData(bool bSaveAndValidate) {
    if (m_editHour == nullptr || m_editMinute == nullptr || m_editText == nullptr) {
        return false;
    }
    if (!bSaveAndValidate) {
        m_editHour->setText(QString::number(m_nHour));
        m_editMinute->setText(QString::number(m_nMinute));
        m_editText->setText(DecodeMemoText(m_strText));
        return true;
    }
    const IntFieldResult hour = ReadIntField(m_editHour->text(), 0, kMemoLastHour);
    if (!hour.value) {
        return FailField(m_editHour, hour.message);
    }
    m_nHour = *hour.value;
    const IntFieldResult minute = ReadIntField(m_editMinute->text(), 0, kMemoLastMinute);
    if (!minute.value) {
        return FailField(m_editMinute, minute.message);
    }
    m_nMinute = *minute.value;
    // A text left as shown keeps its bytes, whatever encoding they are in.
    const QString text = m_editText->text();
    if (text != DecodeMemoText(m_strText)) {
        m_strText = text.toUtf8();
    }
    return true;
}

bool CMemoDlg::FailField(QLineEdit* field, const QString& message) {
    m_services.question->Warn(this, QLatin1String(kAppTitle), message);
    field->setFocus();
    field->selectAll();
    return false;
}

void CMemoDlg::setVisible(bool visible) {
    // Before the window shows, so that the controls show with it.
    if (visible) {
        BuildControls();
    }
    QDialog::setVisible(visible);
}

void CMemoDlg::showEvent(QShowEvent* e) {
    // The window manager mapping the dialog again (after it was minimised) is no new show.
    if (e->spontaneous()) {
        QDialog::showEvent(e);
        return;
    }
    if (!m_placed && parentWidget() != nullptr) {
        m_placed = true;
        PlaceClearOf(*this, *parentWidget());
    }
    QDialog::showEvent(e);
    OnShowWindow(true);
}

void CMemoDlg::hideEvent(QHideEvent* e) {
    QDialog::hideEvent(e);
    if (!e->spontaneous()) {
        OnShowWindow(false);
    }
}

void CMemoDlg::closeEvent(QCloseEvent* e) {
    OnClose();
    e->accept();
}

void CMemoDlg::OnShowWindow(bool bShow) {
    if (m_list == nullptr) {
        return;
    }
    {
        QScopedValueRollback changing(m_changingList, true);
        m_lines.Fill({});
    }
    m_filledLines = std::vector<ListedMemo>();  // its memory too
    m_editsOpen = bShow;
    m_memos.SetOpenEdits(bShow ? std::function<void()>([this] { CommitOpenEdits(); }) : nullptr);
    if (!bShow) {
        return;
    }
    // The file as it is now: what was added or deleted by hand shows.
    m_memos.Refresh(this);
    const MemoStore& store = m_memos.store();
    const std::int64_t now = m_services.time->Now();
    SelectDate(now);
    const LocalTime local = ToLocalTime(now);
    m_nHour = local.hour;
    m_nMinute = local.minute;
    m_filledLines.reserve(store.memos().size());
    for (const MemoEntry& memo : store.memos()) {
        // A blank line in the file is nothing to show; other lines the clock cannot use show as
        // they are written, so they can be seen and deleted.
        if (!memo.usable() && FormatMemoLine(memo).trimmed().isEmpty()) {
            continue;
        }
        m_filledLines.push_back({FormatMemoLine(memo), memo.id});
    }
    {
        QScopedValueRollback changing(m_changingList, true);
        m_lines.Fill(m_filledLines);
    }
    UpdateData(false);
}

void CMemoDlg::OnAddMemo() {
    if (!UpdateData(true)) {
        return;
    }
    const QDate date = m_calendar->selectedDate();
    // As typed: a minute that summer time skips keeps its line and rings when the clocks have
    // moved past it.
    AddListLine(
        {MemoLineAt(date.year(), date.month(), date.day(), m_nHour, m_nMinute, m_strText), 0});
}

void CMemoDlg::OnDeleteMemo() {
    const QModelIndexList selected = m_list->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        return;
    }
    QScopedValueRollback changing(m_changingList, true);
    m_lines.Remove(selected.first().row());
    // As after any deletion, no line is selected.
    m_list->clearSelection();
    m_list->setCurrentIndex({});
}

void CMemoDlg::OnSelchangeMemoList() {
    const QModelIndexList selected = m_list->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        return;
    }
    const QByteArray line = selected.first().data(MemoListModel::kLineRole).toByteArray();
    const MemoEntry memo = ParseMemoLine(line);
    if (memo.usable()) {
        SelectDate(memo.time);  // a date that does not exist is not shown as another one
    }
    const MemoLineFields fields = ReadMemoLineFields(line);
    m_nHour = fields.hour;
    m_nMinute = fields.minute;
    m_strText = memo.text();
    UpdateData(false);
}

void CMemoDlg::OnClose() {
    CommitOpenEdits();
    hide();
    // The user closed it to keep what they did: that reaches the file now, not in a minute.
    m_memos.Save(parentWidget());
}

void CMemoDlg::CommitOpenEdits() {
    if (!m_editsOpen) {
        return;
    }
    m_editsOpen = false;
    m_memos.SetOpenEdits(nullptr);
    // Only a real edit reaches the file: every line filled in is still there and none was added.
    const std::vector<ListedMemo>& shown = m_lines.lines();
    const bool edited =
        shown.size() != m_filledLines.size() ||
        std::any_of(shown.begin(), shown.end(), [](const ListedMemo& l) { return l.id == 0; });
    if (edited) {
        m_memos.store().CommitEdits(m_filledLines, shown);
    }
}

void CMemoDlg::AddListLine(ListedMemo listed) {
    QScopedValueRollback changing(m_changingList, true);
    m_lines.Insert(std::move(listed));
}

void CMemoDlg::SelectDate(std::int64_t time) {
    const LocalTime local = ToLocalTime(time);
    const QDate date = std::clamp(QDate(local.year, local.month, local.day), kFirstDate, kLastDate);
    m_calendar->setSelectedDate(date);
    m_calendar->setCurrentPage(date.year(), date.month());
}
