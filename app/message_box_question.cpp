#include "app/message_box_question.h"

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

}  // namespace

bool MessageBoxQuestion::AskYesNo(QWidget* owner, const QString& caption, const QString& text) {
    ReminderBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
    // Memo texts are the user's own words: never markup, and copyable.
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}
