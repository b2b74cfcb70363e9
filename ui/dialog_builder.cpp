#include "ui/dialog_builder.h"

#include <algorithm>

#include <QBoxLayout>
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
        // Still holding its place in the layout: the owner paints there.
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
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

// The pixel rectangle a box covers: its control's, or the union of its children's.
QRect BoxRect(const LayoutBox& box, const std::vector<QRect>& rects) {
    if (box.kind == LayoutBox::kControl) {
        return rects[static_cast<std::size_t>(box.control)];
    }
    QRect united;
    for (const LayoutBox& child : box.children) {
        if (child.kind != LayoutBox::kStretch) {
            united |= BoxRect(child, rects);
        }
    }
    return united;
}

bool Grows(const LayoutBox& box, Qt::Orientation way) {
    if (box.kind == LayoutBox::kControl) {
        return (box.grows & way) != 0;
    }
    return std::any_of(box.children.begin(), box.children.end(),
                       [way](const LayoutBox& child) { return Grows(child, way); });
}

// Whether a box takes all the room its parent has that way: it grows, or spreads its controls
// apart with a stretch.
bool Fills(const LayoutBox& box, Qt::Orientation way) {
    const bool spreads =
        (box.kind == LayoutBox::kRow) == (way == Qt::Horizontal) &&
        std::any_of(box.children.begin(), box.children.end(),
                    [](const LayoutBox& c) { return c.kind == LayoutBox::kStretch; });
    return spreads || Grows(box, way);
}

// Room at a box's end that lets its controls keep their size. It takes only room nothing grows
// into: the memo list, not a spring beside the calendar, gets what a larger memo dialog has.
QSpacerItem* Spring() {
    return new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Minimum);
}

// Qt's layout for a row or column of the template, its gaps those between the rectangles. A
// control drawn across the whole box follows the box's size that way (marked in `follows`), as
// the calendar and the text field below it keep a common right edge; a place painted on keeps
// its shape.
QBoxLayout* MakeBox(const LayoutBox& box, const std::vector<QRect>& rects,
                    const std::vector<QWidget*>& widgets, std::vector<Qt::Orientations>& follows) {
    const bool row = box.kind == LayoutBox::kRow;
    auto* layout = new QBoxLayout(row ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    const QRect whole = BoxRect(box, rects);
    int end = row ? whole.left() : whole.top();  // where the last child ended
    bool stretched = Grows(box, row ? Qt::Horizontal : Qt::Vertical);
    for (const LayoutBox& child : box.children) {
        if (child.kind == LayoutBox::kStretch) {
            layout->addStretch();  // before anything else that could take the room
            stretched = true;
            continue;
        }
        const QRect r = BoxRect(child, rects);
        layout->addSpacing(std::max(0, (row ? r.left() : r.top()) - end));
        end = row ? r.left() + r.width() : r.top() + r.height();
        // Its offset across the box, kept as a margin; what does not grow that way keeps to the
        // start rather than being centred.
        const int across = row ? r.top() - whole.top() : r.left() - whole.left();
        const QMargins margins = row ? QMargins(0, across, 0, 0) : QMargins(across, 0, 0, 0);
        const Qt::Orientation acrossWay = row ? Qt::Vertical : Qt::Horizontal;
        // Only what grows shares a larger dialog's room; the rest keeps its size.
        const int share = Grows(child, row ? Qt::Horizontal : Qt::Vertical) ? 1 : 0;
        Qt::Alignment start =
            Fills(child, acrossWay) ? Qt::Alignment() : (row ? Qt::AlignTop : Qt::AlignLeft);
        QBoxLayout* inner = nullptr;
        if (child.kind == LayoutBox::kControl) {
            const auto i = static_cast<std::size_t>(child.control);
            QWidget* w = widgets[i];
            const bool spans = row ? r.top() == whole.top() && r.bottom() == whole.bottom()
                                   : r.left() == whole.left() && r.right() == whole.right();
            if (spans && !w->isHidden()) {
                follows[i] |= acrossWay;
                start = {};
            }
            if (across == 0) {
                layout->addWidget(w, share, start);
                continue;
            }
            inner = new QBoxLayout(layout->direction());
            inner->setSpacing(0);
            inner->addWidget(w, 0, start);
        } else {
            inner = MakeBox(child, rects, widgets, follows);
        }
        inner->setContentsMargins(margins);
        layout->addLayout(inner, share);
        layout->setAlignment(inner, start);
    }
    if (!stretched) {
        layout->addItem(Spring());
    }
    return layout;
}

void MarkGrowth(const LayoutBox& box, std::vector<Qt::Orientations>& grows) {
    if (box.kind == LayoutBox::kControl) {
        grows[static_cast<std::size_t>(box.control)] = box.grows;
    }
    for (const LayoutBox& child : box.children) {
        MarkGrowth(child, grows);
    }
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

std::map<int, QWidget*> BuildDialog(QDialog& dialog, const DialogTemplate& t,
                                    const std::map<int, QWidget*>& bound) {
    dialog.setWindowTitle(Translated(t.caption));
    QFont font(QString::fromUtf8(t.fontFamily));
    font.setPointSize(t.fontPoints);
    font.setStyleHint(QFont::SansSerif);
    dialog.setFont(font);
    const DialogBaseUnits base = DialogBaseUnitsOf(dialog.font());

    std::vector<QWidget*> widgets;
    std::vector<QRect> rects;
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
        rects.push_back(MapDialogRect(c.rect, base));
        if (c.id != IDC_STATIC) {
            byId[c.id] = w;
        }
    }

    std::vector<Qt::Orientations> follows(widgets.size());
    QBoxLayout* layout = MakeBox(t.layout, rects, widgets, follows);
    std::vector<Qt::Orientations> grows(widgets.size());
    MarkGrowth(t.layout, grows);
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        QWidget* w = widgets[i];
        // Never smaller than drawn, nor larger where it neither grows nor follows its box; its
        // own preferred size plays no part.
        const QSize size = rects[i].size().expandedTo(NeededSize(w, t.controls[i]));
        w->setMinimumSize(size);
        QSizePolicy policy = w->sizePolicy();
        for (const Qt::Orientation way : {Qt::Horizontal, Qt::Vertical}) {
            const QSizePolicy::Policy p = (grows[i] & way)     ? QSizePolicy::Expanding
                                          : (follows[i] & way) ? QSizePolicy::Ignored
                                                               : QSizePolicy::Fixed;
            if (way == Qt::Horizontal) {
                policy.setHorizontalPolicy(p);
            } else {
                policy.setVerticalPolicy(p);
            }
            if (p == QSizePolicy::Fixed) {
                way == Qt::Horizontal ? w->setFixedWidth(size.width())
                                      : w->setFixedHeight(size.height());
            }
        }
        w->setSizePolicy(policy);
        w->setGeometry(rects[i]);  // controls the layout leaves out stay where drawn
    }

    const QSize client = MapDialogRect(QRect(QPoint(0, 0), t.size), base).size();
    const QRect whole = BoxRect(t.layout, rects);
    layout->setContentsMargins(whole.left(), whole.top(),
                               std::max(0, client.width() - whole.left() - whole.width()),
                               std::max(0, client.height() - whole.top() - whole.height()));
    const bool resizable = Grows(t.layout, Qt::Horizontal) || Grows(t.layout, Qt::Vertical);
    layout->setSizeConstraint(resizable ? QLayout::SetMinimumSize : QLayout::SetFixedSize);
    dialog.setLayout(layout);
    layout->activate();
    // A dialog opens at its least size, the one drawn where every text fits.
    dialog.resize(layout->minimumSize());
    layout->setGeometry(dialog.rect());
    return byId;
}
