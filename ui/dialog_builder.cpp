#include "ui/dialog_builder.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

// n * numerator / denominator, rounded to the nearest integer (halves away from zero).
int MulDiv(int n, int numerator, int denominator) {
    const long long product = static_cast<long long>(n) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

// Moves every coordinate at or beyond `cut` by `by`: edges before it stay, edges past it move.
void PushEdges(DialogLayout& layout, bool horizontal, int cut, int by) {
    for (QRect& r : layout.controls) {
        if (horizontal) {
            const int left = r.left() >= cut ? r.left() + by : r.left();
            const int right =
                r.left() + r.width() >= cut ? r.left() + r.width() + by : r.left() + r.width();
            r.setLeft(left);
            r.setWidth(right - left);
        } else {
            const int top = r.top() >= cut ? r.top() + by : r.top();
            const int bottom =
                r.top() + r.height() >= cut ? r.top() + r.height() + by : r.top() + r.height();
            r.setTop(top);
            r.setHeight(bottom - top);
        }
    }
    if (horizontal) {
        layout.client.rwidth() += by;
    } else {
        layout.client.rheight() += by;
    }
}

// A template's text in the user's language.
QString Translated(const char* text) {
    return QCoreApplication::translate(kDialogTextContext, text);
}

// A calendar's own controls, which have no names of their own for assistive technology.
const struct {
    const char* objectName;
    const char* name;
} kCalendarParts[] = {
    {"qt_calendar_navigationbar", QT_TRANSLATE_NOOP("Dialogs", "月份和年份")},
    {"qt_calendar_prevmonth", QT_TRANSLATE_NOOP("Dialogs", "上个月")},
    {"qt_calendar_nextmonth", QT_TRANSLATE_NOOP("Dialogs", "下个月")},
    {"qt_calendar_monthbutton", QT_TRANSLATE_NOOP("Dialogs", "月份")},
    {"qt_calendar_yearbutton", QT_TRANSLATE_NOOP("Dialogs", "年份")},
    {"qt_calendar_yearedit", QT_TRANSLATE_NOOP("Dialogs", "年份")},
    {"qt_calendar_calendarview", QT_TRANSLATE_NOOP("Dialogs", "本月各日")},
};

QWidget* CreateControl(const ControlTemplate& c) {
    const QString text = Translated(c.text);
    switch (c.cls) {
        case ControlClass::Edit: {
            auto* edit = new QLineEdit;
            edit->setFrame((c.styles & kStyleBorder) != 0);
            return edit;
        }
        case ControlClass::Button:
            if (c.styles & kStyleAutoCheckBox) {
                return new QCheckBox(text);
            }
            return new QPushButton(text);
        case ControlClass::ListBox:
            // A few fixed lines; a dialog with a long list binds its own view over a model.
            return new QListWidget;
        case ControlClass::MonthCalendar:
            return new QCalendarWidget;
        case ControlClass::Static:
            return new QLabel(text);
    }
    return new QWidget;
}

// Applies what the template says of a control, whether created here or adopted.
void ApplyTemplate(QWidget* w, const ControlTemplate& c) {
    const QString text = Translated(c.text);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (c.styles & kStyleBlackRect) {
            label->setAutoFillBackground(true);
            QPalette palette = label->palette();
            palette.setColor(QPalette::Window, Qt::black);
            label->setPalette(palette);
        } else if (label->text().isEmpty()) {
            label->setText(text);
        }
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    } else if (auto* list = qobject_cast<QListView*>(w)) {
        list->setFrameShape((c.styles & kStyleBorder) ? QFrame::StyledPanel : QFrame::NoFrame);
        list->setVerticalScrollBarPolicy((c.styles & kStyleVScroll) ? Qt::ScrollBarAsNeeded
                                                                    : Qt::ScrollBarAlwaysOff);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
    } else if (auto* calendar = qobject_cast<QCalendarWidget*>(w)) {
        // The week-number column is not part of this calendar.
        calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        for (const auto& part : kCalendarParts) {
            if (auto* child = calendar->findChild<QWidget*>(QLatin1String(part.objectName))) {
                child->setAccessibleName(Translated(part.name));
            }
        }
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        // A single-line edit keeps its line at the top of however tall a frame it has.
        edit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    if (c.accessibleName != nullptr) {
        w->setAccessibleName(Translated(c.accessibleName));
    }
    if (c.accessibleDescription != nullptr) {
        w->setAccessibleDescription(Translated(c.accessibleDescription));
    }
    w->setFocusPolicy((c.styles & kStyleTabStop) ? Qt::StrongFocus : Qt::NoFocus);
    if (c.styles & kStyleHidden) {
        w->hide();
    }
}

// The least room a control needs: texts shown whole, complex controls at their minimum.
QSize NeededSize(const QWidget* w, const ControlTemplate& c) {
    if (c.styles & kStyleHidden) {
        return {0, 0};
    }
    if (qobject_cast<const QLabel*>(w) != nullptr ||
        qobject_cast<const QAbstractButton*>(w) != nullptr) {
        return w->sizeHint();
    }
    return w->minimumSizeHint();
}

}  // namespace

DialogBaseUnits DialogBaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect MapDialogRect(const QRect& du, DialogBaseUnits base) {
    const int left = MulDiv(du.left(), base.avgCharWidth, 4);
    const int top = MulDiv(du.top(), base.charHeight, 8);
    const int right = MulDiv(du.left() + du.width(), base.avgCharWidth, 4);
    const int bottom = MulDiv(du.top() + du.height(), base.charHeight, 8);
    return {left, top, right - left, bottom - top};
}

DialogLayout GrowToFit(DialogLayout layout, const std::vector<QSize>& minimums) {
    // Each push only ever widens, so this settles; the bound is a guard, not a tuning knob.
    const std::size_t n = std::min(layout.controls.size(), minimums.size());
    for (std::size_t pass = 0; pass <= 2 * n; ++pass) {
        bool pushed = false;
        for (std::size_t i = 0; i < n; ++i) {
            const QRect r = layout.controls[i];
            if (r.width() < minimums[i].width()) {
                PushEdges(layout, true, r.left() + r.width(), minimums[i].width() - r.width());
                pushed = true;
            }
            if (r.height() < minimums[i].height()) {
                PushEdges(layout, false, r.top() + r.height(), minimums[i].height() - r.height());
                pushed = true;
            }
        }
        if (!pushed) {
            break;
        }
    }
    return layout;
}

std::map<int, QWidget*> BuildDialog(QDialog& dialog, const DialogTemplate& t,
                                    const std::map<int, QWidget*>& bound) {
    dialog.setWindowTitle(Translated(t.caption));
    QFont font(QString::fromUtf8(t.fontFamily));
    font.setPointSize(t.fontPoints);
    font.setStyleHint(QFont::SansSerif);
    dialog.setFont(font);
    const DialogBaseUnits base = DialogBaseUnitsOf(dialog.font());

    std::vector<QWidget*> widgets;
    DialogLayout layout;
    layout.client = MapDialogRect(QRect(QPoint(0, 0), t.size), base).size();
    std::vector<QSize> minimums;
    std::map<int, QWidget*> byId;
    QWidget* previousTabStop = nullptr;
    for (const ControlTemplate& c : t.controls) {
        const auto adopted = bound.find(c.id);
        QWidget* w = adopted != bound.end() ? adopted->second : CreateControl(c);
        w->setParent(&dialog);
        w->setObjectName(QString::fromLatin1(c.name));
        ApplyTemplate(w, c);
        if (c.styles & kStyleTabStop) {
            if (previousTabStop != nullptr) {
                QWidget::setTabOrder(previousTabStop, w);
            }
            previousTabStop = w;
        }
        widgets.push_back(w);
        layout.controls.push_back(MapDialogRect(c.rect, base));
        minimums.push_back(NeededSize(w, c));
        if (c.id != IDC_STATIC) {
            byId[c.id] = w;
        }
    }
    layout = GrowToFit(std::move(layout), minimums);
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        widgets[i]->setGeometry(layout.controls[i]);
    }
    dialog.setFixedSize(layout.client);
    return byId;
}
