#include "platform/message_box_question.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>

namespace {

// Centred on the screen rather than on the clock: the clock sits at the screen's edge, and its
// always-on-top hands would otherwise cover part of the box.
class ReminderBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* e) override {
        QMessageBox::showEvent(e);
        const QScreen* where = parentWidget() != nullptr ? parentWidget()->screen() : screen();
        move(where->availableGeometry().center() - rect().center());
    }
};

// Texts are the user's own words: never markup, and copyable with the mouse. A selectable label
// that takes the focus selects all of its text, so it never takes it: the box opens with its
// text unselected and the focus on the default button.
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
    ReminderBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
    ShowAsPlainText(box);
    box.setDefaultButton(QMessageBox::Yes);
    box.exec();
    // Esc and the close box answer No; a box ended from outside answers nothing.
    if (box.clickedButton() == nullptr) {
        return std::nullopt;
    }
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

void MessageBoxQuestion::Warn(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, owner);
    ShowAsPlainText(box);
    box.exec();
}

void MessageBoxQuestion::Beep() {
    QApplication::beep();
}
