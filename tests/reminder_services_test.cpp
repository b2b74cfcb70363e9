#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSoundEffect>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "platform/message_box_question.h"
#include "platform/sound_alarm.h"

namespace {

TEST(MessageBoxQuestion, AsksWithYesDefaultAndReturnsTheAnswer) {
    QWidget owner;
    for (const bool pressYes : {false, true}) {
        QString text;
        QString title;
        bool yesIsDefault = false;
        bool noIcon = false;
        bool ownedByOwner = false;
        bool plainText = false;
        bool textSelected = true;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            poll.stop();
            text = box->text();
            title = box->windowTitle();
            yesIsDefault = box->defaultButton() == box->button(QMessageBox::Yes);
            noIcon = box->icon() == QMessageBox::NoIcon;
            ownedByOwner = box->parentWidget() == &owner;
            plainText = box->textFormat() == Qt::PlainText;
            textSelected = false;
            for (const QLabel* label : box->findChildren<QLabel*>()) {
                textSelected = textSelected || label->hasSelectedText();
            }
            box->button(pressYes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        poll.start(10);

        MessageBoxQuestion question;
        // Text that looks like markup is shown as typed.
        const std::optional<bool> answer =
            question.AskYesNo(&owner, "memo", "2024-05-01 14:30 <b>x</b> - 删除此备忘？");
        EXPECT_EQ(answer, std::optional<bool>(pressYes));
        EXPECT_EQ(text, QStringLiteral("2024-05-01 14:30 <b>x</b> - 删除此备忘？"));
        EXPECT_TRUE(plainText);
        EXPECT_FALSE(textSelected);
        EXPECT_EQ(title, QStringLiteral("memo"));
        EXPECT_TRUE(yesIsDefault);
        EXPECT_TRUE(noIcon);
        EXPECT_TRUE(ownedByOwner);
    }
}

TEST(MessageBoxQuestion, escapeAnswersNoAndABoxEndedFromOutsideAnswersNothing) {
    QWidget owner;
    for (const bool escape : {true, false}) {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            poll.stop();
            if (escape) {
                QTest::keyClick(box, Qt::Key_Escape);
            } else {
                box->done(QDialog::Rejected);  // as the program does when it is told to end
            }
        });
        poll.start(10);
        const std::optional<bool> answer = MessageBoxQuestion().AskYesNo(&owner, "memo", "x");
        EXPECT_EQ(answer, escape ? std::optional<bool>(false) : std::nullopt) << escape;
    }
}

TEST(SoundAlarm, loadsTheSoundModuleOnlyAtTheFirstAlarm) {
    SoundAlarm alarm({QStringLiteral("/nonexistent/kelvarine-sound.so"),
                      QStringLiteral(KELVARINE_SOUND_MODULE)});
    alarm.Stop();  // before any start: nothing to stop, nothing loaded
    EXPECT_FALSE(alarm.loaded());
    alarm.Start();
    EXPECT_TRUE(alarm.loaded());
    alarm.Start();
    alarm.Stop();
    alarm.Stop();
}

TEST(SoundAlarm, withoutTheModuleOrTheSoundItIsSilent) {
    SoundAlarm missing({QStringLiteral("/nonexistent/kelvarine-sound.so")});
    missing.Start();
    missing.Stop();
    EXPECT_FALSE(missing.loaded());
    // Not a module at all.
    SoundAlarm wrong({QStringLiteral(KELVARINE_SOURCE_DIR "/res/png/129.png")});
    wrong.Start();
    EXPECT_FALSE(wrong.loaded());
    SoundAlarm noSound({QStringLiteral(KELVARINE_SOUND_MODULE)},
                       QStringLiteral("qrc:/wave/does-not-exist"));
    noSound.Start();
    noSound.Stop();
    EXPECT_TRUE(noSound.loaded());
}

}  // namespace

namespace {

TEST(SoundAlarm, embeddedAlarmDecodes) {
    QSoundEffect effect;
    effect.setSource(QUrl(QStringLiteral("qrc:/wave/146")));
    QElapsedTimer waited;
    waited.start();
    while (effect.status() != QSoundEffect::Ready && effect.status() != QSoundEffect::Error &&
           waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_EQ(effect.status(), QSoundEffect::Ready);
}

}  // namespace
