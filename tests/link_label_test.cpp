#include <gtest/gtest.h>
#include <QAbstractEventDispatcher>
#include <QEnterEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "logic/fit_to_text.h"
#include "logic/resource_ids.h"
#include "platform/link_open.h"
#include "settings/link_label.h"
#include "tests/test_support.h"

namespace {

const QColor kBlue(0, 0, 238);
const QColor kPurple(85, 26, 139);
const QColor kRed(255, 0, 0);
const QString kTarget = "mailto:bugs@kelvarine.example";

class LinkLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        services.question = &question;
        services.shell = &shell;
        services.mime = &mime;
        services.launcher = &launcher;
        // Unsmoothed glyphs keep the text's pixels exactly in its colour.
        QFont font = parent.font();
        font.setPointSize(14);
        font.setStyleStrategy(QFont::NoAntialias);
        parent.setFont(font);
        parent.setGeometry(0, 0, 500, 200);
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
        NewLabel();
    }
    // A fresh static as the dialog builder leaves it.
    void NewLabel() {
        delete label;
        label = new CLinkLabel(services, &parent);
        label->setText("Report bugs to me");
        label->setGeometry(20, 20, 300, 60);
        label->show();
    }
    // As the settings dialog sets its link up.
    void MakeLink(int mode = CLinkLabel::UNDERLINE_ALWAYS) {
        label->PreSubclassWindow();
        label->SetLink(kTarget);
        label->SetUnderlineMode(mode);
    }

    // The pointer comes in as Qt reports it: an enter, then moves.
    void Enter() {
        const QPointF at(label->rect().center());
        QEnterEvent enter(at, at, QPointF(label->mapToGlobal(at)));
        QCoreApplication::sendEvent(label, &enter);
        Move();
    }
    void Move() {
        const QPointF at(label->rect().center());
        QMouseEvent move(QEvent::MouseMove, at, QPointF(label->mapToGlobal(at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(label, &move);
    }
    void Leave() {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(label, &leave);
    }
    void Click() { QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center()); }

    // The link colour the text shows, and whether a line of it runs under the whole text.
    struct Look {
        QColor colour;
        bool underlined = false;
        bool operator==(const Look&) const = default;
    };
    Look Shown() const {
        const QImage image = label->grab().toImage();
        Look look;
        for (int y = 0; y < image.height(); ++y) {
            int inRow = 0;
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (!look.colour.isValid() && (c == kBlue || c == kPurple || c == kRed)) {
                    look.colour = c;
                }
                inRow += c == look.colour;
            }
            look.underlined = look.underlined || inRow >= image.width() * 9 / 10;
        }
        return look;
    }
    int Timers() const {
        return QAbstractEventDispatcher::instance()->registeredTimers(label).size();
    }

    QTemporaryDir dir;
    ScriptedQuestion question;
    FakeShellOpener shell;
    FakeMimeDefaults mime;
    RecordingLauncher launcher;
    Services services;
    QWidget parent;
    CLinkLabel* label = nullptr;
};

TEST_F(LinkLabelTest, HoverTurnsRedAndLeavingRestores) {
    const struct {
        int mode;
        bool underlinedAtRest;
    } cases[] = {{CLinkLabel::UNDERLINE_HOVER, false},
                 {CLinkLabel::UNDERLINE_ALWAYS, true},
                 {CLinkLabel::UNDERLINE_NEVER, false}};
    for (const auto& c : cases) {
        NewLabel();
        MakeLink(c.mode);
        EXPECT_EQ(Shown(), (Look{kBlue, c.underlinedAtRest})) << c.mode;
        Enter();
        const bool underlinedHot = c.mode != CLinkLabel::UNDERLINE_NEVER;
        EXPECT_EQ(Shown(), (Look{kRed, underlinedHot})) << c.mode;
        Move();
        EXPECT_EQ(Shown(), (Look{kRed, underlinedHot})) << c.mode;
        EXPECT_EQ(Timers(), 0) << c.mode;  // hover needs no polling
        Leave();
        EXPECT_EQ(Shown(), (Look{kBlue, c.underlinedAtRest})) << c.mode;
    }
}

TEST_F(LinkLabelTest, OpenedIsPurpleUntilAFailedOpen) {
    MakeLink();
    shell.result = 42;
    Enter();
    Click();
    EXPECT_EQ(shell.targets, std::vector<QString>{kTarget});
    EXPECT_EQ(Shown().colour, kPurple);  // a click leaves hot at once
    Move();                              // still on the link: the next move is hot again
    EXPECT_EQ(Shown().colour, kRed);
    Leave();
    EXPECT_EQ(Shown(), (Look{kPurple, true}));
    EXPECT_EQ(question.beeps, 0);
    EXPECT_TRUE(question.warnings.empty());

    shell.result = kLaunchNoAssociation;
    Click();
    EXPECT_EQ(question.beeps, 1);
    const ScriptedQuestion::Warning expected = {kAppTitle,
                                                "No mail program is set up to open this link.\n\n"
                                                "You can write to:\nbugs@kelvarine.example"};
    EXPECT_EQ(question.warnings, std::vector<ScriptedQuestion::Warning>{expected});
    EXPECT_EQ(Shown().colour, kBlue);
}

TEST_F(LinkLabelTest, FallsBackToTheWebBrowser) {
    ScopedEnv home{"XDG_DATA_HOME", QFile::encodeName(dir.path())};
    ScopedEnv dirs{"XDG_DATA_DIRS", QFile::encodeName(dir.filePath("none"))};
    WriteFile(dir.filePath("applications/web.desktop"),
              "[Desktop Entry]\nExec=\"/opt/My Web/web\" --new-window %u --after\n");
    MakeLink();
    shell.result = kLaunchNoAssociation;
    mime.defaults["text/html"] = "web.desktop";

    launcher.result = kLaunchAccessDenied;  // the box then names the browser's failure
    Click();
    const QStringList command = {"/opt/My Web/web", "--new-window", kTarget};
    EXPECT_EQ(launcher.started, std::vector<QStringList>{command});
    ASSERT_EQ(question.warnings.size(), 1u);
    EXPECT_EQ(question.warnings[0].text,
              QStringLiteral("Unable to open hyperlink:\n\nThe operating system denied\naccess to "
                             "the specified file.\n\nYou can write to:\nbugs@kelvarine.example"));

    launcher.result = kLaunchStarted;
    Click();
    EXPECT_EQ(launcher.started.size(), 2u);
    EXPECT_EQ(question.warnings.size(), 1u);
    EXPECT_EQ(Shown().colour, kPurple);
}

TEST_F(LinkLabelTest, DoubleClickOpensOnce) {
    MakeLink();
    shell.result = kLaunchStarted;
    Click();
    QTest::mouseDClick(label, Qt::LeftButton, {}, label->rect().center());
    EXPECT_EQ(shell.targets.size(), 1u);
}

TEST_F(LinkLabelTest, TextAndTargetStandInForEachOther) {
    label->setText("");
    label->SetLink(kTarget);
    label->PreSubclassWindow();
    EXPECT_EQ(label->text(), kTarget);
    EXPECT_EQ(label->toolTip(), kTarget);
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);

    NewLabel();
    label->PreSubclassWindow();
    EXPECT_EQ(label->toolTip(), QStringLiteral("Report bugs to me"));
    label->SetLink("mailto:<b>x</b>");  // shown as it stands, never as markup
    EXPECT_TRUE(label->toolTip().contains("&lt;b&gt;x&lt;/b&gt;"));
}

TEST_F(LinkLabelTest, FitsToTheUnderlinedTextAndFrame) {
    // The label starts at (20, 20), 300 x 60; the text plus a 3-pixel frame is cx x cy.
    const struct {
        Qt::Alignment alignment;
        std::function<QPoint(int cx, int cy)> topLeft;
    } cases[] = {
        {Qt::AlignLeft | Qt::AlignTop, [](int, int) { return QPoint(20, 20); }},
        {Qt::AlignRight | Qt::AlignTop, [](int cx, int) { return QPoint(320 - cx, 20); }},
        {Qt::AlignHCenter | Qt::AlignTop,
         [](int cx, int) { return QPoint(20 + (300 - cx) / 2, 20); }},
        {Qt::AlignCenter,
         [](int cx, int cy) { return QPoint(20 + (300 - cx) / 2, 20 + (60 - cy) / 2); }},
    };
    for (const auto& c : cases) {
        NewLabel();
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setLineWidth(3);
        label->setAlignment(c.alignment);
        QFont underlined = label->font();
        underlined.setUnderline(true);
        const QFontMetrics metrics(underlined, label);
        const int cx = metrics.horizontalAdvance(label->text()) + 6;
        const int cy = metrics.height() + 6;
        MakeLink(CLinkLabel::UNDERLINE_NEVER);
        EXPECT_EQ(label->geometry().topLeft(), c.topLeft(cx, cy)) << int(c.alignment);
        // Centring moves both edges by the same whole number, so an odd difference leaves one.
        EXPECT_LE(std::abs(label->width() - cx), 1) << int(c.alignment);
        EXPECT_LE(std::abs(label->height() - cy), 1) << int(c.alignment);
    }
    // A layout the label stands in keeps it that size, not the room it has.
    NewLabel();
    MakeLink();
    const QSize fitted = label->size();
    auto* layout = new QHBoxLayout(&parent);
    layout->addWidget(label);
    layout->activate();
    EXPECT_EQ(label->size(), fitted);
    // Halves round toward zero, so growing works as shrinking does.
    EXPECT_EQ(FitWindowToText({10, 10, 5, 5}, {8, 8}, Qt::AlignCenter), QRect(9, 9, 7, 7));
}

TEST(OpenErrorTest, TextsFollowTheCodeAndAMailLinkGivesItsAddress) {
    const QString web = "https://kelvarine.example/";
    const QString header = "Unable to open hyperlink:\n\n";
    const QString noMail = "No mail program is set up to open this link.";
    const QString address = "\n\nYou can write to:\nbugs@kelvarine.example";
    const struct {
        QString target;
        int code;
        QString text;
    } cases[] = {
        {web, 31,
         header + "There is no application associated\nwith the given filename extension."},
        {web, 0, header + "The operating system is out\nof memory or resources."},
        {web, 26, header + "A sharing violation occurred. "},
        {web, 32, header + "The specified dynamic-link library was not found."},
        {web, 1, header + "Unknown Error (1) occurred."},
        {web, 12, header + "Unknown Error (12) occurred."},
        {web, 25, header + "Unknown Error (25) occurred."},
        {web, 33, header + "Unknown Error (33) occurred."},
        {web, -7, header + "Unknown Error (-7) occurred."},
        // No mail program, or the one set up is missing: said so, with the address to copy.
        {kTarget, kLaunchNoAssociation, noMail + address},
        {kTarget, kLaunchFileNotFound, noMail + address},
        {kTarget, kLaunchAssocIncomplete, noMail + address},
        {"MAILTO:bugs@kelvarine.example?subject=Clock", 31, noMail + address},
        {kTarget, kLaunchAccessDenied,
         header + "The operating system denied\naccess to the specified file." + address},
        {"mailto:", 31,
         header + "There is no application associated\nwith the given filename extension."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OpenFailureMessage(c.target, c.code), c.text) << c.target.toStdString() << c.code;
    }
    EXPECT_EQ(OpenErrorMessage(31), OpenFailureMessage(web, 31));
}

}  // namespace
