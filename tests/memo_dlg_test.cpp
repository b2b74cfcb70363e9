#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QAccessible>
#include <QCalendarWidget>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "logic/face_geometry.h"
#include "logic/memo_file.h"
#include "logic/user_file.h"
#include "memo/memo_check.h"
#include "memo/memo_dlg.h"
#include "tests/test_support.h"

namespace {

// The memo dialog on the memos of 2026-12-07 10:10:30, owned by a stand-in for the face at its
// start on the 1920 x 1080 test screen.
class MemoDialogTest : public ::testing::Test {
protected:
    void Start(const QByteArray& memoFile = {}) {
        fakes.time.SetSeconds(LocalSeconds(2026, 12, 7, 10, 10, 30));
        if (!memoFile.isEmpty()) {
            WriteFile(fakes.services.paths.memoFile, memoFile);
        }
        memos = std::make_unique<MemoKeeper>(fakes.services);
        memos->Load();
        face.setGeometry(InitialClockRect(QRect(0, 0, 1920, 1080), QSize(128, 128)));
        face.show();
        dlg = std::make_unique<CMemoDlg>(fakes.services, *memos);
        dlg->Create(&face);
        QCoreApplication::processEvents();
    }
    CMemoDlg& Dlg() { return *dlg; }
    MemoStore& Store() { return memos->store(); }
    QListView* List() { return Dlg().findChild<QListView*>("IDC_MEMO_LIST"); }
    int Count() { return List()->model()->rowCount(); }
    QCalendarWidget* Calendar() { return Dlg().findChild<QCalendarWidget*>("IDC_MEMO_CALENDAR"); }
    void Show() {
        Dlg().show();
        QCoreApplication::processEvents();
    }
    QLineEdit* Field(const char* name) { return Dlg().findChild<QLineEdit*>(name); }
    QPushButton* Button(const char* name) { return Dlg().findChild<QPushButton*>(name); }
    void Type(const char* name, const QString& text) {
        // As typed over the whole field (insert takes what keyClicks cannot: tabs, CJK).
        QLineEdit* field = Field(name);
        field->selectAll();
        field->insert(text);
    }
    void Add(int hour, int minute, const QString& text) {
        Type("IDC_MEMO_HOUR", QString::number(hour));
        Type("IDC_MEMO_MINUTE", QString::number(minute));
        Type("IDC_MEMO_TEXT", text);
        Button("IDC_MEMO_ADD")->click();
    }
    QStringList Shown() {
        QStringList lines;
        for (int i = 0; i < Count(); ++i) {
            lines << List()->model()->index(i, 0).data().toString();
        }
        return lines;
    }
    void SelectLine(int row) {
        QListView& list = *List();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualRect(list.model()->index(row, 0)).center());
    }
    void RunMemoCheck() { ::RunMemoCheck(*memos, inReminder, fakes.services, &face); }

    TestServices fakes;
    QWidget face{nullptr, Qt::Tool | Qt::FramelessWindowHint};
    std::unique_ptr<MemoKeeper> memos;
    std::unique_ptr<CMemoDlg> dlg;  // owned by the face once created: goes first
    bool inReminder = false;
};

TEST_F(MemoDialogTest, isCreatedHiddenAndShowsTodayWithAnEmptyList) {
    Start();
    EXPECT_FALSE(Dlg().isVisible());
    EXPECT_EQ(Dlg().parentWidget(), &face);
    EXPECT_EQ(List(), nullptr);  // built when first needed
    Show();
    EXPECT_TRUE(Dlg().isVisible());
    EXPECT_TRUE(List()->isVisible());
    EXPECT_TRUE(Field("IDC_MEMO_HOUR")->isVisible());
    EXPECT_EQ(Dlg().windowTitle(), QStringLiteral("备忘事件"));
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(Calendar()->selectedDate(), QDate(2026, 12, 7));
    EXPECT_EQ(Calendar()->monthShown(), 12);
    EXPECT_EQ(Field("IDC_MEMO_HOUR")->text(), QStringLiteral("10"));
    EXPECT_EQ(Field("IDC_MEMO_MINUTE")->text(), QStringLiteral("10"));
    EXPECT_EQ(Field("IDC_MEMO_TEXT")->text(), QString());
    // On the clock's screen, clear of the face.
    EXPECT_TRUE(face.screen()->availableGeometry().contains(Dlg().frameGeometry()));
    EXPECT_FALSE(Dlg().frameGeometry().intersects(face.frameGeometry()));
}

TEST_F(MemoDialogTest, closingWithoutAnEditWritesNothingAndAnEditSortsAroundOddLines) {
    // LF line ends and lines the clock cannot use, as a hand or an editor left them.
    const QByteArray file =
        "note at the top\n"
        "2026-12-24 09:00 presents\n"
        "\n"
        "2027-02-30 10:00 no such day\n"
        "2026-12-08 14:30 call\n"
        "2026-12-08 14:30 Bake";
    Start(file);
    const auto inode = [this] {
        struct stat info = {};
        ::stat(QFile::encodeName(fakes.services.paths.memoFile).constData(), &info);
        return info.st_ino;
    };
    const ino_t before = inode();
    Show();
    EXPECT_EQ(Shown(), (QStringList{"2026-12-08 14:30 Bake", "2026-12-08 14:30 call",
                                    "2026-12-24 09:00 presents", "2027-02-30 10:00 no such day",
                                    "note at the top"}));
    Dlg().close();
    EXPECT_FALSE(Dlg().isVisible());
    EXPECT_EQ(Count(), 0);  // emptied on hiding
    EXPECT_FALSE(Store().dirty());
    EXPECT_EQ(inode(), before);  // not even written again as it was

    // An edit sorts the memos; each line the clock cannot use goes with the memo before it.
    Show();
    Add(8, 0, QStringLiteral("breakfast"));
    Dlg().close();
    EXPECT_EQ(ReadFile(fakes.services.paths.memoFile),
              "note at the top\n2026-12-07 08:00 breakfast\n2026-12-08 14:30 Bake\n"
              "2026-12-08 14:30 call\n2026-12-24 09:00 presents\n\n2027-02-30 10:00 no such day\n");
    EXPECT_FALSE(Store().dirty());
    EXPECT_TRUE(fakes.question.asked.empty());
    EXPECT_TRUE(fakes.question.warnings.empty());
}

TEST_F(MemoDialogTest, addTakesTheCalendarDateAndTheFields) {
    Start();
    Show();
    Calendar()->setSelectedDate(QDate(2027, 1, 15));
    Add(9, 5, QStringLiteral("dentist 牙医"));
    Type("IDC_MEMO_HOUR", QStringLiteral(" +07\t"));  // blanks and a sign, as typed
    Type("IDC_MEMO_TEXT", QString());
    Button("IDC_MEMO_ADD")->click();  // an empty text gives the date, the time and one space
    EXPECT_EQ(Shown(), (QStringList{"2027-01-15 07:05 ", "2027-01-15 09:05 dentist 牙医"}));
    EXPECT_EQ(Field("IDC_MEMO_HOUR")->text(), QStringLiteral(" +07\t"));  // fields keep values
    EXPECT_TRUE(Store().memos().empty());  // only the dialog's lines changed
    Dlg().close();
    EXPECT_EQ(Store().memos(),
              (MemoList{{LocalSeconds(2027, 1, 15, 7, 5), ""},
                        {LocalSeconds(2027, 1, 15, 9, 5), QByteArray("dentist 牙医")}}));
}

TEST_F(MemoDialogTest, aTextIsOneLineWhateverBreaksArePastedOrTyped) {
    Start();
    Show();
    Calendar()->setSelectedDate(QDate(2027, 1, 15));
    Add(9, 0, QStringLiteral("first\n2020-01-01 00:00 injected\r\nthird\rfourth\u2028fifth"));
    Type("IDC_MEMO_TEXT", QString());
    QTest::keyClicks(Field("IDC_MEMO_TEXT"), QStringLiteral("Dentist"));
    QTest::keyClick(Field("IDC_MEMO_TEXT"), Qt::Key_Return);
    QTest::keyClicks(Field("IDC_MEMO_TEXT"), QStringLiteral("bring card"));
    Button("IDC_MEMO_ADD")->click();
    Dlg().close();
    EXPECT_EQ(ReadFile(fakes.services.paths.memoFile),
              "2027-01-15 09:00 Dentist bring card\r\n"
              "2027-01-15 09:00 first 2020-01-01 00:00 injected third fourth fifth\r\n");
}

TEST_F(MemoDialogTest, invalidNumbersAreRefusedWithTheFrameworksMessage) {
    Start();
    Show();
    const struct {
        const char* hour;
        const char* minute;
        const char* badField;
        const char* message;
    } cases[] = {
        {"24", "0", "IDC_MEMO_HOUR", "Please enter an integer between 0 and 23."},
        {"-1", "0", "IDC_MEMO_HOUR", "Please enter an integer between 0 and 23."},
        {"ten", "0", "IDC_MEMO_HOUR", "Please enter an integer."},
        {"", "0", "IDC_MEMO_HOUR", "Please enter an integer."},
        {"9", "60", "IDC_MEMO_MINUTE", "Please enter an integer between 0 and 59."},
        {"9", "5 5", "IDC_MEMO_MINUTE", "Please enter an integer."},
    };
    for (const auto& c : cases) {
        fakes.question.warnings.clear();
        Type("IDC_MEMO_HOUR", QString::fromLatin1(c.hour));
        Type("IDC_MEMO_MINUTE", QString::fromLatin1(c.minute));
        Field("IDC_MEMO_TEXT")->setFocus();
        Button("IDC_MEMO_ADD")->click();
        EXPECT_EQ(fakes.question.warnings,
                  (std::vector<ScriptedQuestion::Warning>{
                      {QStringLiteral("Kelvarine"), QString::fromLatin1(c.message)}}))
            << c.hour << " " << c.minute;
        EXPECT_EQ(Count(), 0) << c.hour << " " << c.minute;
        QLineEdit* bad = Field(c.badField);
        EXPECT_EQ(Dlg().focusWidget(), bad) << c.hour << " " << c.minute;
        EXPECT_EQ(bad->selectedText(), bad->text()) << c.hour << " " << c.minute;
    }
    // A valid hour before a bad minute is already taken, as the framework does.
    Dlg().UpdateData(false);  // the members back into the fields
    EXPECT_EQ(Field("IDC_MEMO_HOUR")->text(), "9");
}

TEST_F(MemoDialogTest, selectingCopiesALineAndDeleteRemovesOnlyTheSelection) {
    Start("2026-12-08 14:30 call home\r\n2026-12-24 09:00 presents\r\n");
    Show();
    Button("IDC_MEMO_DELETE")->click();  // nothing selected: nothing happens
    EXPECT_EQ(Count(), 2);

    SelectLine(1);
    EXPECT_EQ(Calendar()->selectedDate(), QDate(2026, 12, 24));
    EXPECT_EQ(Field("IDC_MEMO_HOUR")->text(), QStringLiteral("9"));  // plain decimal, not 09
    EXPECT_EQ(Field("IDC_MEMO_MINUTE")->text(), QStringLiteral("0"));
    EXPECT_EQ(Field("IDC_MEMO_TEXT")->text(), QStringLiteral("presents"));
    Button("IDC_MEMO_ADD")->click();  // a copy
    EXPECT_EQ(Shown(), (QStringList{"2026-12-08 14:30 call home", "2026-12-24 09:00 presents",
                                    "2026-12-24 09:00 presents"}));

    SelectLine(0);
    Button("IDC_MEMO_DELETE")->click();
    EXPECT_EQ(Shown(), (QStringList{"2026-12-24 09:00 presents", "2026-12-24 09:00 presents"}));
    EXPECT_TRUE(List()->selectionModel()->selectedIndexes().isEmpty());
    Button("IDC_MEMO_DELETE")->click();  // the deletion left nothing selected
    EXPECT_EQ(Count(), 2);
    // The fields still hold the deleted line's values.
    EXPECT_EQ(Field("IDC_MEMO_TEXT")->text(), QStringLiteral("call home"));
}

TEST_F(MemoDialogTest, aCommitThatCannotBeSavedIsToldOnceAndSavedByALaterCheck) {
    // A plain file where the memo folder should be makes every save fail, even for root.
    const QString blocker = QDir(fakes.dir.path()).filePath("blocked");
    WriteFile(blocker, "");
    fakes.services.paths.memoFile = blocker + "/memo.txt";
    Start();
    ::testing::internal::CaptureStderr();
    for (const char* text : {"first", "second"}) {
        Show();
        Add(23, 0, QString::fromLatin1(text));
        Dlg().close();
    }
    const std::string failed = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(Store().dirty());
    ASSERT_EQ(fakes.question.warnings.size(), 1u) << failed;
    EXPECT_EQ(fakes.question.warnings[0].caption, QStringLiteral("Kelvarine"));
    EXPECT_TRUE(fakes.question.warnings[0].text.contains(fakes.services.paths.memoFile));
    EXPECT_TRUE(fakes.question.warnings[0].text.contains(QStringLiteral("Not a directory")))
        << fakes.question.warnings[0].text.toStdString();
    EXPECT_EQ(QString::fromStdString(failed).count(QStringLiteral("could not save")), 1) << failed;

    ASSERT_TRUE(QFile::remove(blocker));
    ::testing::internal::CaptureStderr();
    RunMemoCheck();
    const std::string recovered = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(Store().dirty());
    EXPECT_EQ(ReadFile(fakes.services.paths.memoFile),
              "2026-12-07 23:00 first\r\n2026-12-07 23:00 second\r\n");
    EXPECT_NE(recovered.find("saved"), std::string::npos) << recovered;
    EXPECT_EQ(fakes.question.warnings.size(), 1u);
}

TEST_F(MemoDialogTest, aMemoTheUserDeletedIsGoneEvenIfAReminderMovedIt) {
    Start("2026-12-07 10:20 tea\r\n2026-12-24 09:00 presents\r\n");
    Show();
    // The reminder postpones tea to 10:25 while the dialog still shows it at 10:20 ...
    fakes.time.SetSeconds(LocalSeconds(2026, 12, 7, 10, 20));
    fakes.question.script = {{false, {}}};
    RunMemoCheck();
    ASSERT_EQ(fakes.question.asked.size(), 1u);
    // ... and the user deletes that line.
    SelectLine(0);
    Button("IDC_MEMO_DELETE")->click();
    Dlg().close();
    EXPECT_EQ(Store().memos(), (MemoList{{LocalSeconds(2026, 12, 24, 9, 0), "presents"}}));
    EXPECT_EQ(ReadFile(fakes.services.paths.memoFile), "2026-12-24 09:00 presents\r\n");
}

TEST_F(MemoDialogTest, escapeCancelsTheEditsAndEnterKeepsThem) {
    Start("2026-12-24 09:00 presents\r\n");
    Show();
    Add(8, 0, QStringLiteral("lost"));
    QTest::keyClick(&Dlg(), Qt::Key_Escape);
    EXPECT_FALSE(Dlg().isVisible());
    EXPECT_FALSE(Store().dirty());
    Show();
    EXPECT_EQ(Shown(), QStringList{"2026-12-24 09:00 presents"});

    Add(8, 0, QStringLiteral("kept"));
    // Enter from wherever the user typed: the fields and a focused button alike.
    for (const char* name : {"IDC_MEMO_TEXT", "IDC_MEMO_HOUR"}) {
        QTest::keyClick(Field(name), Qt::Key_Return);
        QTest::keyClick(Field(name), Qt::Key_Enter, Qt::KeypadModifier);
    }
    Button("IDC_MEMO_ADD")->setFocus();
    QTest::keyClick(Button("IDC_MEMO_ADD"), Qt::Key_Return);
    EXPECT_TRUE(Dlg().isVisible());
    EXPECT_EQ(Shown(), (QStringList{"2026-12-07 08:00 kept", "2026-12-24 09:00 presents"}));
    Dlg().close();
    EXPECT_EQ(Store().memos().size(), 2u);
}

TEST_F(MemoDialogTest, aMemoAddedByHandShowsWhenTheDialogOpens) {
    Start("2026-12-24 09:00 presents\r\n");
    WriteFile(fakes.services.paths.memoFile,
              "2026-12-24 09:00 presents\r\n2026-12-08 07:00 added by hand\n");
    Show();
    EXPECT_EQ(Shown(),
              (QStringList{"2026-12-08 07:00 added by hand", "2026-12-24 09:00 presents"}));
}

TEST_F(MemoDialogTest, showingAgainWhileShownDoesNotRefill) {
    Start("2026-12-24 09:00 presents\r\n");
    Show();
    Add(8, 0, QStringLiteral("unsaved"));
    WriteFile(fakes.services.paths.memoFile, "");  // the memos in the file changed meanwhile
    Show();
    EXPECT_EQ(Count(), 2);
}

TEST_F(MemoDialogTest, aReminderAnsweredWhileTheDialogIsOpenIsNotUndoneByTheCommit) {
    Start("2026-12-07 10:20 tea\r\n2026-12-07 10:30 meeting\r\n2026-12-24 09:00 presents\r\n");
    Show();
    Add(12, 0, QStringLiteral("lunch"));
    // At 10:30 both memos ring: tea is deleted (Yes), the meeting postponed (No).
    fakes.time.SetSeconds(LocalSeconds(2026, 12, 7, 10, 30));
    fakes.question.script = {{true, {}}, {false, {}}};
    RunMemoCheck();
    ASSERT_EQ(fakes.question.asked.size(), 2u);
    Dlg().close();
    EXPECT_EQ(Store().memos(), (MemoList{{LocalSeconds(2026, 12, 7, 10, 35), "meeting"},
                                         {LocalSeconds(2026, 12, 7, 12, 0), "lunch"},
                                         {LocalSeconds(2026, 12, 24, 9, 0), "presents"}}));
}

TEST_F(MemoDialogTest, gbkTextsShowDecodedAndAnUntouchedLineKeepsItsBytes) {
    // "年底" (year end) as written by a GBK system, next to UTF-8 and undecodable bytes.
    const QByteArray file =
        "2026-12-30 18:00 \xc4\xea\xb5\xd7\r\n"
        "2026-12-31 09:00 \xe5\xb9\xb4\xe5\xba\x95 utf-8\r\n"
        "2026-12-31 10:00 \xff\xfe\r\n";
    Start(file);
    Show();
    EXPECT_EQ(Shown(), (QStringList{"2026-12-30 18:00 年底", "2026-12-31 09:00 年底 utf-8",
                                    QStringLiteral("2026-12-31 10:00 \uFFFD\uFFFD")}));
    // However narrow the list, a memo's whole line is its tip.
    EXPECT_EQ(List()->model()->index(1, 0).data(Qt::ToolTipRole).toString(), Shown()[1]);
    SelectLine(0);
    EXPECT_EQ(Field("IDC_MEMO_TEXT")->text(), QStringLiteral("年底"));
    Calendar()->setSelectedDate(QDate(2027, 1, 1));
    Button("IDC_MEMO_ADD")->click();  // a copy of the unchanged text keeps the GBK bytes
    Dlg().close();
    RunMemoCheck();
    EXPECT_EQ(ReadFile(fakes.services.paths.memoFile),
              file + "2027-01-01 18:00 \xc4\xea\xb5\xd7\r\n");
}

TEST_F(MemoDialogTest, theCalendarReadsAsDatesUnderTheDaysNames) {
    Start();
    Show();
    auto* view = Calendar()->findChild<QTableView*>("qt_calendar_calendarview");
    ASSERT_NE(view, nullptr);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(view);
    ASSERT_EQ(table->role(), QAccessible::Table);
    QAccessibleTableInterface* grid = table->tableInterface();
    ASSERT_EQ(QSize(grid->columnCount(), grid->rowCount()), QSize(7, 6));
    // Every way a reader asks for a column's name, and every child where the table says it is.
    const QStringList days{"Monday", "Tuesday",  "Wednesday", "Thursday",
                           "Friday", "Saturday", "Sunday"};
    QStringList headers, descriptions;
    for (int i = 0; i < table->childCount(); ++i) {
        if (QAccessibleInterface* child = table->child(i)) {
            EXPECT_EQ(table->indexOfChild(child), i);
            if (child->role() == QAccessible::ColumnHeader) {
                headers << child->text(QAccessible::Name);
            }
        }
    }
    for (int column = 0; column < 7; ++column) {
        descriptions << grid->columnDescription(column);
        for (int row = 0; row < 6; ++row) {
            QAccessibleInterface* cell = grid->cellAt(row, column);
            ASSERT_EQ(cell->role(), QAccessible::Cell);
            EXPECT_EQ(table->child(table->indexOfChild(cell)), cell);
            EXPECT_EQ(cell->tableCellInterface()->rowIndex(), row);
            const auto header = cell->tableCellInterface()->columnHeaderCells();
            ASSERT_EQ(header.size(), 1);
            EXPECT_EQ(header[0]->text(QAccessible::Name), days[column]);
        }
    }
    EXPECT_EQ(headers, days);
    EXPECT_EQ(descriptions, days);

    // The view's focus events number its current cell as Qt's tables do, over the model's rows
    // and columns after the hidden headers; that child is the selected, focused date.
    Dlg().activateWindow();
    view->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Dlg()));
    const QModelIndex current = view->currentIndex();
    QAccessibleInterface* today = table->child(
        (current.row() + 1) * (view->model()->columnCount() + 1) + current.column() + 1);
    ASSERT_NE(today, nullptr);
    EXPECT_EQ(today->text(QAccessible::Name), QStringLiteral("Monday, 7 December 2026"));
    EXPECT_TRUE(today->state().selected);
    EXPECT_TRUE(today->state().focused);
    EXPECT_EQ(table->focusChild(), today);
    EXPECT_EQ(grid->selectedCells(), QList<QAccessibleInterface*>{today});
    EXPECT_EQ(table->childAt(today->rect().center().x(), today->rect().center().y()), today);

    // The month before and after, and a press on a day of the next month, which shows it: the
    // same cells read its dates.
    QAccessibleInterface* first = grid->cellAt(0, 0);
    QAccessibleInterface* newYear = grid->cellAt(4, 4);
    EXPECT_EQ(first->text(QAccessible::Name), QStringLiteral("Monday, 30 November 2026"));
    EXPECT_EQ(newYear->text(QAccessible::Name), QStringLiteral("Friday, 1 January 2027"));
    newYear->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(Calendar()->selectedDate(), QDate(2027, 1, 1));
    EXPECT_EQ(grid->cellAt(4, 4), newYear);
    EXPECT_EQ(newYear->text(QAccessible::Name), QStringLiteral("Friday, 29 January 2027"));
    EXPECT_EQ(first->text(QAccessible::Name), QStringLiteral("Monday, 28 December 2026"));
    EXPECT_TRUE(grid->cellAt(0, 4)->state().selected);
    Calendar()->setFirstDayOfWeek(Qt::Sunday);
    EXPECT_EQ(grid->columnDescription(0), QStringLiteral("Sunday"));
    EXPECT_EQ(first->text(QAccessible::Name), QStringLiteral("Sunday, 27 December 2026"));
    // A day before the first a memo can have cannot be chosen.
    Calendar()->setSelectedDate(Calendar()->minimumDate());
    EXPECT_EQ(first->text(QAccessible::Name), QStringLiteral("Sunday, 28 December 1969"));
    EXPECT_TRUE(first->state().disabled);
    EXPECT_TRUE(first->actionInterface()->actionNames().isEmpty());

    // The cells go with the view.
    const QAccessible::Id cell = QAccessible::uniqueId(newYear);
    dlg.reset();
    EXPECT_EQ(QAccessible::accessibleInterface(cell), nullptr);
}

}  // namespace
