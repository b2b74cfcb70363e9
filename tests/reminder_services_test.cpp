#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "platform/message_box_question.h"
#include "platform/sound_alarm.h"

namespace {

// How long a test waits for what it expects before it fails: no speed target, only a bound.
constexpr int kPatience = 10000;  // ms

QDialog* OpenBox() {
    return qobject_cast<QDialog*>(QApplication::activeModalWidget());
}
QPushButton* ButtonOf(QDialog* box, QDialogButtonBox::StandardButton which) {
    auto* buttons = box->findChild<QDialogButtonBox*>();
    return buttons != nullptr ? buttons->button(which) : nullptr;
}

// Runs AskYesNo; `act` gets the open box once it shows (and may answer it).
std::optional<bool> Ask(QWidget* owner, const QString& text,
                        const std::function<void(QDialog*)>& act) {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QDialog* box = OpenBox(); box != nullptr && box->isVisible()) {
            poll.stop();
            act(box);
        }
    });
    poll.start(10);
    return MessageBoxQuestion().AskYesNo(owner, QStringLiteral("memo"), text);
}

TEST(ReminderBox, asksWithNoTheDefaultWithoutTakingTheKeyboard) {
    QWidget owner;
    for (const bool pressYes : {false, true}) {
        QString text;
        QString title;
        bool noIsDefault = false;
        bool yesIsDefault = true;
        bool focusOnNo = false;
        bool noIcon = false;
        bool ownedByOwner = false;
        bool plainText = false;
        bool selectable = false;
        bool textSelected = true;
        bool showsWithoutActivating = false;
        bool refusesFocusAtFirst = false;
        bool onTop = false;
        // Text that looks like markup is shown as typed.
        const std::optional<bool> answer = Ask(
            &owner, QStringLiteral("2024-05-01 14:30 <b>x</b> - 删除此备忘？"), [&](QDialog* box) {
                const auto labels = box->findChildren<QLabel*>();
                noIcon = true;
                for (const QLabel* label : labels) {
                    noIcon = noIcon && label->pixmap().isNull();
                    textSelected = label->hasSelectedText();
                }
                if (labels.size() == 1) {
                    text = labels.front()->text();
                    plainText = labels.front()->textFormat() == Qt::PlainText;
                    selectable =
                        (labels.front()->textInteractionFlags() & Qt::TextSelectableByMouse) != 0;
                }
                title = box->windowTitle();
                QPushButton* no = ButtonOf(box, QDialogButtonBox::No);
                QPushButton* yes = ButtonOf(box, QDialogButtonBox::Yes);
                noIsDefault = no != nullptr && no->isDefault();
                yesIsDefault = yes == nullptr || yes->isDefault();
                focusOnNo = no != nullptr && box->focusWidget() == no;
                ownedByOwner = box->parentWidget() == &owner;
                showsWithoutActivating = box->testAttribute(Qt::WA_ShowWithoutActivating);
                refusesFocusAtFirst =
                    box->windowHandle() != nullptr &&
                    (box->windowHandle()->flags() & Qt::WindowDoesNotAcceptFocus) != 0;
                onTop = (box->windowFlags() & Qt::WindowStaysOnTopHint) != 0;
                (pressYes ? yes : no)->click();
            });
        EXPECT_EQ(answer, std::optional<bool>(pressYes));
        EXPECT_EQ(text, QStringLiteral("2024-05-01 14:30 <b>x</b> - 删除此备忘？"));
        EXPECT_TRUE(plainText);
        EXPECT_TRUE(selectable);
        EXPECT_FALSE(textSelected);
        EXPECT_EQ(title, QStringLiteral("memo"));
        EXPECT_TRUE(noIsDefault);
        EXPECT_FALSE(yesIsDefault);
        EXPECT_TRUE(focusOnNo);
        EXPECT_TRUE(noIcon);
        EXPECT_TRUE(ownedByOwner);
        EXPECT_TRUE(showsWithoutActivating);
        EXPECT_TRUE(refusesFocusAtFirst);
        EXPECT_TRUE(onTop);
    }
}

TEST(ReminderBox, takesTheFocusOnceShown) {
    QWidget owner;
    bool accepts = false;
    Ask(&owner, QStringLiteral("x"), [&](QDialog* box) {
        accepts = QTest::qWaitFor(
            [&] { return (box->windowHandle()->flags() & Qt::WindowDoesNotAcceptFocus) == 0; },
            kPatience);
        ButtonOf(box, QDialogButtonBox::No)->click();
    });
    EXPECT_TRUE(accepts);
}

TEST(ReminderBox, keysAnswerOnceItHasTheKeyboard) {
    QWidget owner;
    const std::vector<std::pair<int, std::optional<bool>>> cases = {
        {Qt::Key_Return, false}, {Qt::Key_Enter, false}, {Qt::Key_Escape, false},
        {Qt::Key_Y, true},       {Qt::Key_N, false},
    };
    for (const auto& [key, expected] : cases) {
        const std::optional<bool> answer =
            Ask(&owner, QStringLiteral("x"),
                [key = key](QDialog* box) { QTest::keyClick(box, static_cast<Qt::Key>(key)); });
        EXPECT_EQ(answer, expected) << key;
    }
}

TEST(ReminderBox, theCloseBoxAnswersNoAndABoxEndedFromOutsideAnswersNothing) {
    QWidget owner;
    EXPECT_EQ(Ask(&owner, QStringLiteral("x"), [](QDialog* box) { box->close(); }),
              std::optional<bool>(false));
    // As the program does when it is told to end (CloseModalDialogs).
    EXPECT_EQ(Ask(&owner, QStringLiteral("x"), [](QDialog* box) { box->done(QDialog::Rejected); }),
              std::nullopt);
    EXPECT_EQ(Ask(&owner, QStringLiteral("x"), [](QDialog* box) { box->reject(); }), std::nullopt);
}

void ExpectLaidOutAsMessageBox(const QString& text) {
    QMessageBox old(QMessageBox::NoIcon, QStringLiteral("memo"), text,
                    QMessageBox::Yes | QMessageBox::No);
    old.setTextFormat(Qt::PlainText);
    old.show();
    QCoreApplication::processEvents();
    const QLabel* oldLabel = old.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(oldLabel, nullptr);
    const QRect oldText(oldLabel->mapTo(&old, QPoint()), oldLabel->size());
    const QRect oldYes(old.button(QMessageBox::Yes)->mapTo(&old, QPoint()),
                       old.button(QMessageBox::Yes)->size());
    const QRect oldNo(old.button(QMessageBox::No)->mapTo(&old, QPoint()),
                      old.button(QMessageBox::No)->size());
    const QSize oldSize = old.size();
    old.hide();

    QWidget owner;
    QSize size;
    QRect textRect;
    QRect yes;
    QRect no;
    Ask(&owner, text, [&](QDialog* box) {
        // Its layout settles in the event loop, as the toolkit's box did when shown.
        EXPECT_TRUE(QTest::qWaitFor([&] { return box->size() == oldSize; }, kPatience));
        size = box->size();
        const QLabel* label = box->findChild<QLabel*>();
        textRect = QRect(label->mapTo(box, QPoint()), label->size());
        yes = QRect(ButtonOf(box, QDialogButtonBox::Yes)->mapTo(box, QPoint()),
                    ButtonOf(box, QDialogButtonBox::Yes)->size());
        no = QRect(ButtonOf(box, QDialogButtonBox::No)->mapTo(box, QPoint()),
                   ButtonOf(box, QDialogButtonBox::No)->size());
        box->reject();
    });
    EXPECT_EQ(size, oldSize);
    EXPECT_EQ(textRect, oldText);
    EXPECT_EQ(yes, oldYes);
    EXPECT_EQ(no, oldNo);
}

// A memo that fits the screen gets the box the toolkit's message box was: same size, text and
// buttons in the same places, on one line or wrapped.
TEST(ReminderBox, aMemoThatFitsLooksAsTheMessageBoxDid) {
    QStringList words;
    for (int i = 0; i < 80; ++i) {
        words << QStringLiteral("word%1").arg(i);
    }
    for (const QString& text : {QStringLiteral("2024-05-01 14:30 Water the plants - 删除此备忘？"),
                                words.join(QLatin1Char(' '))}) {
        SCOPED_TRACE(text.size());
        ExpectLaidOutAsMessageBox(text);
    }
}

// A 1,000-word memo made the message box 500 x 1283 pixels, its buttons off an 800-pixel
// screen. The box fits the screen, its text scrolls, and both buttons are in it.
TEST(ReminderBox, aLongMemoFitsTheScreenWithBothButtons) {
    QStringList words;
    for (int i = 0; i < 1000; ++i) {
        words << QStringLiteral("word%1").arg(i);
    }
    const QString text = words.join(QLatin1Char(' '));
    QWidget owner;
    QRect available;
    QRect frame;
    int height = 0;
    QRect yes;
    QRect no;
    bool scrolls = false;
    QString shown;
    Ask(&owner, text, [&](QDialog* box) {
        QCoreApplication::processEvents();
        available = box->screen()->availableGeometry();
        frame = box->frameGeometry();
        height = box->height();
        for (auto [which, rect] :
             {std::pair{QDialogButtonBox::Yes, &yes}, std::pair{QDialogButtonBox::No, &no}}) {
            const QPushButton* button = ButtonOf(box, which);
            *rect = button->isVisible() ? QRect(button->mapToGlobal(QPoint()), button->size())
                                        : QRect();
        }
        const auto* scroll = box->findChild<QScrollArea*>();
        scrolls = scroll != nullptr && scroll->verticalScrollBar()->isVisible();
        shown = box->findChild<QLabel*>()->text();
        box->reject();
    });
    EXPECT_TRUE(available.contains(frame)) << frame.width() << "x" << frame.height();
    EXPECT_LE(height, available.height() * 3 / 4);
    EXPECT_TRUE(frame.contains(yes)) << yes.y();
    EXPECT_TRUE(frame.contains(no)) << no.y();
    EXPECT_FALSE(yes.isEmpty());
    EXPECT_FALSE(no.isEmpty());
    EXPECT_TRUE(scrolls);
    EXPECT_EQ(shown, text);
}

TEST(ReminderSound, loadsTheSoundModuleOnlyAtTheFirstAlarm) {
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

TEST(ReminderSound, withoutTheModuleOrTheSoundItIsSilent) {
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

// Whatever the program writes to stderr meanwhile, in a file that can be read at any time.
class StderrFile {
public:
    StderrFile() {
        std::fflush(stderr);
        m_saved = dup(STDERR_FILENO);
        const int fd = open(qPrintable(m_dir.filePath(QStringLiteral("stderr"))),
                            O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, STDERR_FILENO);
        close(fd);
    }
    ~StderrFile() {
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
    }
    StderrFile(const StderrFile&) = delete;
    StderrFile& operator=(const StderrFile&) = delete;
    QString Text() const {
        std::fflush(stderr);
        QFile file(m_dir.filePath(QStringLiteral("stderr")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    // Until `what` has been written.
    bool WaitFor(const QString& what) const {
        return QTest::qWaitFor([&] { return Text().contains(what); }, kPatience);
    }

private:
    QTemporaryDir m_dir;
    int m_saved = -1;
};

// The sound server named by PULSE_SERVER while the object lives.
class SoundServerAt {
public:
    explicit SoundServerAt(const QByteArray& address)
        : m_old(qgetenv("PULSE_SERVER")), m_had(qEnvironmentVariableIsSet("PULSE_SERVER")) {
        qputenv("PULSE_SERVER", address);
    }
    ~SoundServerAt() {
        if (m_had) {
            qputenv("PULSE_SERVER", m_old);
        } else {
            qunsetenv("PULSE_SERVER");
        }
    }
    SoundServerAt(const SoundServerAt&) = delete;
    SoundServerAt& operator=(const SoundServerAt&) = delete;

private:
    QByteArray m_old;
    bool m_had;
};

// A socket where a sound server would listen, that hangs up on every caller and counts them:
// the alarm's tries to reach a server, seen as they happen.
class HangingUpServer {
public:
    HangingUpServer() {
        m_path = m_dir.filePath(QStringLiteral("native"));
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(m_path);
        std::memcpy(address.sun_path, path.constData(),
                    std::min<std::size_t>(path.size(), sizeof address.sun_path - 1));
        m_listening = m_fd >= 0 &&
                      ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                      ::listen(m_fd, 8) == 0;
        m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
            const int caller = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (caller >= 0) {
                ::close(caller);
                ++m_callers;
            }
        });
    }
    ~HangingUpServer() {
        m_notifier.reset();
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    HangingUpServer(const HangingUpServer&) = delete;
    HangingUpServer& operator=(const HangingUpServer&) = delete;

    bool listening() const { return m_listening; }
    QByteArray address() const { return "unix:" + QFile::encodeName(m_path); }
    int callers() const { return m_callers; }

private:
    QTemporaryDir m_dir;
    QString m_path;
    int m_fd = -1;
    bool m_listening = false;
    std::unique_ptr<QSocketNotifier> m_notifier;
    int m_callers = 0;
};

// No server to play to: said once, however often the alarm rings and tries again, and the
// embedded alarm itself is a sound the module can play.
TEST(ReminderSound, aMissingSoundServerIsToldOnce) {
    HangingUpServer server;
    ASSERT_TRUE(server.listening());
    const SoundServerAt nowhere(server.address());
    const StderrFile err;
    SoundAlarm alarm({QStringLiteral(KELVARINE_SOUND_MODULE)});
    alarm.Start();
    EXPECT_TRUE(err.WaitFor(QStringLiteral("no sound server"))) << qPrintable(err.Text());
    // Tries again while it rings: the third call comes only once the second has failed.
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.callers() >= 3; }, kPatience));
    alarm.Stop();
    // A new alarm tries anew, and has failed once it tries again.
    const int before = server.callers();
    alarm.Start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.callers() >= before + 2; }, kPatience));
    alarm.Stop();
    EXPECT_EQ(err.Text().count(QStringLiteral("no sound server")), 1) << qPrintable(err.Text());
    EXPECT_FALSE(err.Text().contains(QStringLiteral("cannot be played"))) << qPrintable(err.Text());
}

TEST(ReminderSound, aSoundItCannotPlayIsToldOnce) {
    const SoundServerAt nowhere("unix:/nonexistent/kelvarine-test/native");
    for (const char* source :
         {"qrc:/wave/does-not-exist", KELVARINE_SOURCE_DIR "/res/png/129.png"}) {
        const StderrFile err;
        SoundAlarm alarm({QStringLiteral(KELVARINE_SOUND_MODULE)}, QString::fromUtf8(source));
        alarm.Start();
        alarm.Stop();
        alarm.Start();
        alarm.Stop();
        EXPECT_EQ(err.Text().count(QStringLiteral("cannot be played")), 1)
            << qPrintable(err.Text());
        EXPECT_FALSE(err.Text().contains(QStringLiteral("no sound server")))
            << qPrintable(err.Text());
    }
}

}  // namespace
