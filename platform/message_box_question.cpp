#include "platform/message_box_question.h"

#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpacerItem>
#include <QStyle>
#include <QTimer>
#include <QWindow>

namespace {

// The reminder: a question the clock asks by itself, while the user may be typing in another
// program. It comes up in front of everything without taking the keyboard, so a key meant for
// that program never answers it, and its default is No (postpone), which loses nothing. A click,
// or the keyboard once the user gave it the focus, answers it.
//
// Laid out as the toolkit's message box without an icon (same grid, margins and sizes, so a short
// memo looks as it always did), but it never grows past the screen: a long text wraps and
// scrolls inside it, and the buttons stay in view. Esc and the close box answer No; a box ended
// from outside (done(), reject()) answers nothing.
class ReminderBox : public QDialog {
public:
    ReminderBox(QWidget* owner, const QString& caption, const QString& text) : QDialog(owner) {
        setWindowTitle(caption);
        setModal(true);
        // Qt on X11 asks the window manager to activate a modal window as it maps it, whatever
        // WA_ShowWithoutActivating says; a window that does not take the focus (WM_HINTS input
        // false) cannot be given it. The box takes it again once it is on the screen, so a
        // click or Alt+Tab can give it the keyboard (eventFilter, AcceptFocus).
        setAttribute(Qt::WA_ShowWithoutActivating);
        setWindowFlag(Qt::WindowDoesNotAcceptFocus);
        // In front of the window the user works in, although it does not take the focus (a
        // window manager stacks a window it does not focus below the focused one).
        setWindowFlag(Qt::WindowStaysOnTopHint);

        // The user's own words: never markup, and copyable with the mouse. A selectable label
        // that takes the focus selects all of its text, so it never takes it: the box opens
        // with its text unselected and the focus on the default button.
        m_label = new QLabel(text);
        m_label->setObjectName(QStringLiteral("reminder_text"));
        m_label->setTextFormat(Qt::PlainText);
        m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_label->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
        m_label->setFocusPolicy(Qt::NoFocus);
        m_scroll = new QScrollArea;
        m_scroll->setObjectName(QStringLiteral("reminder_scroll"));
        m_scroll->setFrameShape(QFrame::NoFrame);
        m_scroll->setWidgetResizable(true);
        m_scroll->setFocusPolicy(Qt::NoFocus);
        // Any size the box gives it (zero would mean its own, larger, minimum).
        m_scroll->setMinimumSize(1, 1);
        m_scroll->setWidget(m_label);

        m_buttons = new QDialogButtonBox(QDialogButtonBox::Yes | QDialogButtonBox::No);
        m_buttons->setCenterButtons(
            style()->styleHint(QStyle::SH_MessageBox_CenterButtons, nullptr, this));
        // Their own height, always; the text takes the rest.
        m_buttons->setSizePolicy(m_buttons->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
        m_yes = m_buttons->button(QDialogButtonBox::Yes);
        m_no = m_buttons->button(QDialogButtonBox::No);
        connect(m_yes, &QAbstractButton::clicked, this, [this] { Answer(true); });
        connect(m_no, &QAbstractButton::clicked, this, [this] { Answer(false); });

        // QMessageBox's grid: an indent in the first column, the text beside it, the buttons
        // across both below; its size is set from the text (FitScreen), never from the grid.
        auto* grid = new QGridLayout(this);
        grid->addItem(new QSpacerItem(15, 1, QSizePolicy::Fixed, QSizePolicy::Fixed), 0, 0, 2, 1);
        grid->addWidget(m_scroll, 0, 1, 1, 1);
        grid->addWidget(m_buttons, grid->rowCount(), 0, 1, grid->columnCount());
        grid->setSizeConstraint(QLayout::SetNoConstraint);
        // Once in the dialog, which has to know its default button: else the first button in
        // the focus chain becomes its default too. Return, once the box has the keyboard, is No.
        m_no->setDefault(true);
        m_no->setFocus();
    }

    std::optional<bool> answer() const { return m_answer; }

protected:
    void showEvent(QShowEvent* e) override {
        QDialog::showEvent(e);
        // Centred on the screen rather than on the clock: the clock sits at the screen's edge,
        // and its always-on-top hands would otherwise cover part of the box.
        const QScreen* where = parentWidget() != nullptr ? parentWidget()->screen() : screen();
        FitScreen(where->availableGeometry());
        move(where->availableGeometry().center() - rect().center());
        if (windowHandle() != nullptr) {
            windowHandle()->installEventFilter(this);
        }
    }

    // The window's first exposure comes after Qt has sent its request to activate it (on the
    // map notification); a moment later, once the window manager has dealt with that request,
    // the box accepts the focus again.
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == windowHandle() && e->type() == QEvent::Expose &&
            windowHandle()->isExposed()) {
            windowHandle()->removeEventFilter(this);
            QTimer::singleShot(kSettleMs, this, [this] { AcceptFocus(); });
        }
        return QDialog::eventFilter(watched, e);
    }

    void keyPressEvent(QKeyEvent* e) override {
        const Qt::KeyboardModifiers modifiers = e->modifiers() & ~Qt::KeypadModifier;
        if (modifiers == Qt::NoModifier && e->key() == Qt::Key_Escape) {
            Answer(false);
            return;
        }
        if (e->matches(QKeySequence::Copy)) {
            QApplication::clipboard()->setText(m_label->hasSelectedText() ? m_label->selectedText()
                                                                          : m_label->text());
            return;
        }
        // The text scrolls with the keys that scroll a page; the buttons keep the focus.
        if (modifiers == Qt::NoModifier) {
            QScrollBar* bar = m_scroll->verticalScrollBar();
            switch (e->key()) {
                case Qt::Key_PageUp:
                    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
                    return;
                case Qt::Key_PageDown:
                    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
                    return;
                case Qt::Key_Up:
                    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
                    return;
                case Qt::Key_Down:
                    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
                    return;
                case Qt::Key_Home:
                    bar->triggerAction(QAbstractSlider::SliderToMinimum);
                    return;
                case Qt::Key_End:
                    bar->triggerAction(QAbstractSlider::SliderToMaximum);
                    return;
                default:
                    break;
            }
        }
        // As in QMessageBox, a button's letter alone presses it (Y, N), once the box has the
        // keyboard.
        if ((modifiers & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) == 0) {
            for (QAbstractButton* button : m_buttons->buttons()) {
                const QKeySequence shortcut = button->shortcut();
                if (!shortcut.isEmpty() && e->key() == shortcut[0].key()) {
                    button->animateClick();
                    return;
                }
            }
        }
        QDialog::keyPressEvent(e);
    }

    void closeEvent(QCloseEvent* e) override {
        // The close box: No.
        m_answer = false;
        QDialog::closeEvent(e);
    }

private:
    static constexpr int kSettleMs = 300;

    void AcceptFocus() {
        // Without telling the window system through the widget, which would hide the window to
        // change its flags; its QWindow changes WM_HINTS in place.
        overrideWindowFlags(windowFlags() & ~Qt::WindowDoesNotAcceptFocus);
        if (windowHandle() != nullptr) {
            windowHandle()->setFlag(Qt::WindowDoesNotAcceptFocus, false);
        }
    }

    void Answer(bool yes) {
        m_answer = yes;
        done(yes ? QDialog::Accepted : QDialog::Rejected);
    }

    // QMessageBox's rule for its width (one line up to half the screen or 500 pixels, wrapped
    // beyond), and a height that never passes three quarters of the screen: what does not fit
    // scrolls.
    void FitScreen(const QRect& available) {
        auto* grid = static_cast<QGridLayout*>(layout());
        const QMargins margins = grid->contentsMargins();
        const int indent = 15 + grid->horizontalSpacing();
        const int chromeWidth = margins.left() + indent + margins.right();
        int hardLimit = std::min(available.width() - 480, 1000);
        if (available.width() <= 1024) {
            hardLimit = available.width();
        }
        hardLimit = std::max(1, std::min(hardLimit, available.width() - 2 * margins.left()));
        const int softLimit = std::min(available.width() / 2, 500);
        const int buttonsWidth =
            margins.left() + m_buttons->minimumSizeHint().width() + margins.right();

        m_label->setWordWrap(false);
        int width = std::max(chromeWidth + m_label->sizeHint().width(), buttonsWidth);
        if (width > softLimit) {
            m_label->setWordWrap(true);
            width = std::max(
                {softLimit, chromeWidth + m_label->minimumSizeHint().width(), buttonsWidth});
            width = std::min(width, hardLimit);
        }
        const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
        width = std::max(width, std::min(title.horizontalAdvance(windowTitle()) + 50, hardLimit));

        const int textWidth = width - chromeWidth;
        const int textHeight =
            m_label->wordWrap() ? m_label->heightForWidth(textWidth) : m_label->sizeHint().height();
        // Below the text: the empty row the indent spans, and the buttons.
        const int chromeHeight = margins.top() + 2 * grid->verticalSpacing() +
                                 m_buttons->sizeHint().height() + margins.bottom();
        const int maxHeight =
            std::max(chromeHeight + 3 * fontMetrics().height(), available.height() * 3 / 4);
        const int height = std::min(chromeHeight + textHeight, maxHeight);
        setFixedSize(width, height);
    }

    QLabel* m_label = nullptr;
    QScrollArea* m_scroll = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QPushButton* m_yes = nullptr;
    QPushButton* m_no = nullptr;
    std::optional<bool> m_answer;
};

// Texts are the user's own words: never markup, and copyable with the mouse (see ReminderBox).
void ShowAsPlainText(QMessageBox& box) {
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    for (QLabel* label : box.findChildren<QLabel*>()) {
        label->setFocusPolicy(Qt::NoFocus);
    }
}

}  // namespace

std::optional<bool> MessageBoxQuestion::AskYesNo(QWidget* owner, const QString& caption,
                                                 const QString& text) {
    ReminderBox box(owner, caption, text);
    box.exec();
    return box.answer();
}

void MessageBoxQuestion::Warn(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, owner);
    ShowAsPlainText(box);
    box.exec();
}

void MessageBoxQuestion::Beep() {
    QApplication::beep();
}
