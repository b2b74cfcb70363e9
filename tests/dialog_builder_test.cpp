#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>

#include "logic/resource_ids.h"
#include "ui/dialog_builder.h"

namespace {

TEST(DialogUnits, mapThroughTheFontsAverageWidthAndHeight) {
    const DialogBaseUnits base{8, 15};
    EXPECT_EQ(MapDialogRect(QRect(0, 0, 286, 212), base), QRect(0, 0, 572, 398));
    // Edges round to the nearest pixel: 7 * 15 / 8 = 13.1, (7 + 198) * 15 / 8 = 384.4.
    EXPECT_EQ(MapDialogRect(QRect(7, 7, 92, 198), base), QRect(14, 13, 184, 371));
    EXPECT_EQ(MapDialogRect(QRect(126, 101, 8, 8), base), QRect(252, 189, 16, 15));
    // Measured in whatever font this machine gives: the average width of the 52 letters,
    // rounded with a half up, as the templates expect, and the font's line height.
    QFont font = QApplication::font();
    font.setPixelSize(13);
    const DialogBaseUnits measured = DialogBaseUnitsOf(font);
    const QFontMetrics metrics(font);
    const double average = metrics.horizontalAdvance(QStringLiteral(
                               "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                           52.0;
    EXPECT_GT(measured.avgCharWidth, average - 0.5);
    EXPECT_LE(measured.avgCharWidth, average + 0.5);
    EXPECT_GT(measured.avgCharWidth, 0);
    EXPECT_EQ(measured.charHeight, metrics.height());
    // A larger font makes larger units.
    font.setPixelSize(26);
    const DialogBaseUnits larger = DialogBaseUnitsOf(font);
    EXPECT_GT(larger.avgCharWidth, measured.avgCharWidth);
    EXPECT_GT(larger.charHeight, measured.charHeight);
}

TEST(BuildDialog, onlyADialogWithAGrowingControlCanBeMadeLarger) {
    const struct {
        unsigned id;
        bool resizable;
    } cases[] = {{IDD_MEMO, true}, {IDD_SETTINGS, false}};
    for (const auto& c : cases) {
        QDialog dialog;
        const std::map<int, QWidget*> controls = BuildDialog(dialog, *FindDialogTemplate(c.id));
        // It opens at its least size, the size drawn.
        EXPECT_EQ(dialog.size(), dialog.minimumSize()) << c.id;
        EXPECT_EQ(dialog.maximumSize() != dialog.minimumSize(), c.resizable) << c.id;
        if (!c.resizable) {
            continue;
        }
        // The list takes the room, the text field its height; the calendar keeps its size.
        std::map<int, QRect> before;
        for (const auto& [id, w] : controls) {
            before[id] = w->geometry();
        }
        dialog.resize(dialog.size() + QSize(200, 100));
        dialog.layout()->setGeometry(dialog.rect());
        const QRect list = controls.at(IDC_MEMO_LIST)->geometry();
        EXPECT_EQ(list, before[IDC_MEMO_LIST].adjusted(0, 0, 200, 100));
        EXPECT_EQ(controls.at(IDC_MEMO_CALENDAR)->geometry(),
                  before[IDC_MEMO_CALENDAR].translated(200, 0));
        EXPECT_EQ(controls.at(IDC_MEMO_TEXT)->geometry(),
                  before[IDC_MEMO_TEXT].translated(200, 0).adjusted(0, 0, 0, 100));
        EXPECT_EQ(controls.at(IDC_MEMO_ADD)->geometry(), before[IDC_MEMO_ADD].translated(200, 0));
    }
}

// Text-bearing controls need only their text's width; others their whole rectangle.
QRect InkRect(const QWidget* w) {
    if (qobject_cast<const QLabel*>(w) != nullptr) {
        return QRect(w->pos(), w->sizeHint().boundedTo(w->size()));
    }
    return w->geometry();
}

TEST(BuildDialog, memoTemplateMakesEveryControlReadableInTabOrder) {
    QDialog dialog;
    QListWidget ownList;
    const std::map<int, QWidget*> controls =
        BuildDialog(dialog, *FindDialogTemplate(IDD_MEMO), {{IDC_MEMO_LIST, &ownList}});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("备忘事件"));
    EXPECT_EQ(controls.at(IDC_MEMO_LIST), &ownList);
    EXPECT_EQ(ownList.parentWidget(), &dialog);
    EXPECT_EQ(qobject_cast<QAbstractButton*>(controls.at(IDC_MEMO_ADD))->text(),
              QStringLiteral("<= 添加"));
    EXPECT_NE(qobject_cast<QCalendarWidget*>(controls.at(IDC_MEMO_CALENDAR)), nullptr);
    EXPECT_EQ(controls.at(IDC_MEMO_HOUR)->objectName(), QStringLiteral("IDC_MEMO_HOUR"));

    // Tab goes through the controls in template order and wraps around.
    const std::vector<int> tabOrder = {IDC_MEMO_TEXT,  IDC_MEMO_ADD,      IDC_MEMO_DELETE,
                                       IDC_MEMO_LIST,  IDC_MEMO_CALENDAR, IDC_MEMO_HOUR,
                                       IDC_MEMO_MINUTE};
    for (std::size_t i = 0; i < tabOrder.size(); ++i) {
        QWidget* from = controls.at(tabOrder[i]);
        QWidget* next = from->nextInFocusChain();
        while (next->focusPolicy() != Qt::StrongFocus || next->parentWidget() != &dialog) {
            next = next->nextInFocusChain();
        }
        EXPECT_EQ(next, controls.at(tabOrder[(i + 1) % tabOrder.size()])) << i;
    }

    const QRect client(QPoint(0, 0), dialog.size());
    const QList<QWidget*> children = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    EXPECT_EQ(children.size(), 8);
    for (const QWidget* w : children) {
        EXPECT_TRUE(client.contains(w->geometry())) << qPrintable(w->objectName());
        const QSize needed = qobject_cast<const QCalendarWidget*>(w) != nullptr
                                 ? w->minimumSizeHint()
                                 : w->sizeHint();
        if (qobject_cast<const QLabel*>(w) != nullptr ||
            qobject_cast<const QAbstractButton*>(w) != nullptr ||
            qobject_cast<const QCalendarWidget*>(w) != nullptr) {
            EXPECT_GE(w->width(), needed.width()) << qPrintable(w->objectName());
            EXPECT_GE(w->height(), needed.height()) << qPrintable(w->objectName());
        }
        for (const QWidget* other : children) {
            if (other != w) {
                EXPECT_FALSE(InkRect(w).intersects(InkRect(other)))
                    << qPrintable(w->objectName()) << " and " << qPrintable(other->objectName());
            }
        }
    }
}

TEST(BuildDialog, everyControlIsNamedForAssistiveTechnology) {
    for (const unsigned id : {IDD_MEMO, IDD_SETTINGS}) {
        QDialog dialog;
        BuildDialog(dialog, *FindDialogTemplate(id));
        // Each control the keyboard reaches, and every part of the calendar a user can press.
        for (QWidget* w : dialog.findChildren<QWidget*>()) {
            const bool reachable = w->focusPolicy() == Qt::StrongFocus ||
                                   w->objectName().startsWith(QStringLiteral("qt_calendar_"));
            // Parts of a button or spin box are read as the whole.
            const QWidget* whole = w->parentWidget();
            if (!reachable || qobject_cast<const QAbstractButton*>(whole) != nullptr ||
                qobject_cast<const QAbstractSpinBox*>(whole) != nullptr) {
                continue;
            }
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
            ASSERT_NE(accessible, nullptr);
            EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
                << id << " " << qPrintable(w->objectName());
        }
    }
}

TEST(BuildDialog, growsOnlyAsMuchAsACrampedControlNeeds) {
    // A calendar given far too little room, with a button beside and a field below it.
    const DialogTemplate cramped = {
        999,
        "t",
        {100, 60},
        "System",
        10,
        {
            {10, "IDC_CAL", ControlClass::MonthCalendar, "", {5, 5, 40, 30}, kStyleTabStop},
            {11, "IDC_BESIDE", ControlClass::Button, "OK", {50, 5, 45, 14}, kStylePushButton},
            {12, "IDC_BELOW", ControlClass::Edit, "", {5, 40, 30, 14}, kStyleBorder},
            {13,
             "IDC_HIDDEN",
             ControlClass::Static,
             "",
             {0, 0, 1, 1},
             kStyleBlackRect | kStyleHidden},
        },
        {LayoutBox::kColumn,
         -1,
         {},
         {{LayoutBox::kRow,
           -1,
           {},
           {{LayoutBox::kControl, 0, {}, {}}, {LayoutBox::kControl, 1, {}, {}}}},
          {LayoutBox::kControl, 2, {}, {}}}},
    };
    QDialog dialog;
    const std::map<int, QWidget*> c = BuildDialog(dialog, cramped);
    QWidget* calendar = c.at(10);
    const QSize minimum = calendar->minimumSizeHint();
    EXPECT_EQ(calendar->size(), minimum);
    // The neighbours keep their distance from the calendar and their own size.
    const DialogBaseUnits base = DialogBaseUnitsOf(dialog.font());
    const QRect templateCalendar = MapDialogRect(QRect(5, 5, 40, 30), base);
    const QRect templateBeside = MapDialogRect(QRect(50, 5, 45, 14), base);
    const QRect templateBelow = MapDialogRect(QRect(5, 40, 30, 14), base);
    EXPECT_EQ(c.at(11)->geometry(),
              templateBeside.translated(minimum.width() - templateCalendar.width(), 0));
    EXPECT_EQ(c.at(12)->geometry(),
              templateBelow.translated(0, minimum.height() - templateCalendar.height()));
    const QSize templateClient = MapDialogRect(QRect(0, 0, 100, 60), base).size();
    EXPECT_EQ(dialog.width(), templateClient.width() + minimum.width() - templateCalendar.width());
    EXPECT_EQ(dialog.height(),
              templateClient.height() + minimum.height() - templateCalendar.height());
    EXPECT_FALSE(c.at(13)->isVisibleTo(&dialog));
    EXPECT_EQ(c.at(12)->focusPolicy(), Qt::NoFocus);  // no tab stop
}

}  // namespace
