#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QCalendarWidget>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include "logic/translation_choice.h"
#include "platform/qt_translations.h"
#include "settings/settings_dlg.h"
#include "tests/test_support.h"

namespace {

// A language the clock's texts are not translated into: the first of these nobody has added.
QString Untranslated() {
    for (const char* language : {"fr", "eo", "ia", "la"}) {
        if (!OwnTranslations().contains(language)) {
            return language;
        }
    }
    return {};
}

class QtTranslationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFile::exists(QtTranslationsFolder() + "/qtbase_de.qm")) {
            GTEST_SKIP() << "Qt's translations (qt6-translations-l10n) are not installed";
        }
    }
    // The reminder's buttons as the user sees them.
    static std::pair<QString, QString> YesNo() {
        QMessageBox box(QMessageBox::NoIcon, "Kelvarine", "memo",
                        QMessageBox::Yes | QMessageBox::No);
        return {box.button(QMessageBox::Yes)->text(), box.button(QMessageBox::No)->text()};
    }
    // Every text of a dialog built from our own templates.
    static QStringList OwnTexts() {
        TestServices fakes;
        CSettingsDlg dlg(fakes.services);
        QStringList texts = {dlg.windowTitle()};
        for (const QAbstractButton* b : dlg.findChildren<QAbstractButton*>()) {
            texts << b->text();
        }
        for (const QLabel* l : dlg.findChildren<QLabel*>()) {
            texts << l->text();
        }
        return texts;
    }
};

TEST_F(QtTranslationsTest, standardButtonsFollowTheUsersLanguage) {
    const auto english = YesNo();
    ASSERT_EQ(english, std::make_pair(QString("&Yes"), QString("&No")));
    const struct {
        const char* locale;
        QString yes, no;
    } cases[] = {
        {"de_DE", "&Ja", "&Nein"},
        {"de_AT", "&Ja", "&Nein"},  // no qtbase_de_AT: the language's file
        {"zh_CN", "是(&Y)", "否(&N)"},
    };
    for (const auto& c : cases) {
        QTranslator translator;
        ASSERT_TRUE(InstallQtTranslations(translator, QLocale(c.locale))) << c.locale;
        EXPECT_EQ(YesNo(), std::make_pair(c.yes, c.no)) << c.locale;
    }
    // Each translator leaves with its scope.
    EXPECT_EQ(YesNo(), english);
}

TEST_F(QtTranslationsTest, languagesQtDoesNotSpeakKeepItsEnglish) {
    for (const char* locale : {"C", "en_US", "eo"}) {
        QTranslator translator;
        InstallQtTranslations(translator, QLocale(locale));
        EXPECT_EQ(YesNo(), std::make_pair(QString("&Yes"), QString("&No"))) << locale;
    }
    QTranslator translator;
    EXPECT_FALSE(InstallQtTranslations(translator, QLocale("de_DE"), "/nonexistent"));
    EXPECT_EQ(YesNo().first, "&Yes");
}

TEST(OwnTranslations, theUsersFirstLanguageDecidesAndEnglishIsTheFallback) {
    const QStringList available = {"de", "en"};
    const struct {
        QStringList uiLanguages;
        QString chosen;  // empty: the texts as written
    } cases[] = {
        {{"C"}, ""},
        {{}, ""},
        {{"zh-CN", "zh-Hans-CN", "zh"}, ""},
        {{"zh-TW", "zh-Hant-TW"}, ""},
        {{"de-DE", "de-Latn-DE", "de"}, "de"},
        {{"de-AT", "de"}, "de"},
        {{"en-US", "en"}, "en"},
        {{Untranslated() + "-XX", Untranslated()}, "en"},
        {{Untranslated(), "de", "en"}, "de"},  // LANGUAGE=xx:de:en
        {{Untranslated(), "zh-CN", "de"}, ""},
        {{"pt_BR.UTF-8", "pt", "en"}, "en"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseTranslation(c.uiLanguages, available), c.chosen)
            << c.uiLanguages.join(',').toStdString();
    }
    EXPECT_EQ(ChooseTranslation({Untranslated()}, {"de"}), "");  // no English to fall back on
    EXPECT_EQ(OwnTranslations(), available);
}

TEST_F(QtTranslationsTest, theClocksOwnTextsFollowTheUsersLanguage) {
    const QStringList written = OwnTexts();
    for (const char* text : {"设置", "确定", "开机自动启动", "Report bugs to me"}) {
        ASSERT_TRUE(written.contains(QString::fromUtf8(text))) << text;
    }
    const struct {
        QString locale;
        QString title;
        QString ok;
        QString firstSkin;
    } cases[] = {
        {"C", "设置", "确定", "标准版"},
        {"zh_CN", "设置", "确定", "标准版"},
        {"de_DE", "Einstellungen", "OK", "Standard"},
        {"en_GB", "Settings", "OK", "Standard"},
        {Untranslated() + "_XX", "Settings", "OK", "Standard"},
    };
    for (const auto& c : cases) {
        QTranslator own;
        InstallOwnTranslations(own, QLocale(c.locale));
        TestServices fakes;
        CSettingsDlg dlg(fakes.services);
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), c.title) << c.locale.toStdString();
        EXPECT_EQ(dlg.findChild<QPushButton*>("IDOK")->text(), c.ok) << c.locale.toStdString();
        EXPECT_EQ(dlg.findChild<QListWidget*>("IDC_SKIN_LIST")->item(0)->text(), c.firstSkin)
            << c.locale.toStdString();
        const QStringList texts = OwnTexts();
        EXPECT_EQ(texts == written, c.title == written.first()) << c.locale.toStdString();
    }
    // Each translator leaves with its scope: the texts are as written again.
    EXPECT_EQ(OwnTexts(), written);
}

TEST_F(QtTranslationsTest, everyWindowReadsInTheLanguageOfTheClocksTexts) {
    const struct {
        QString locale;
        QString title, yes, monday;
    } cases[] = {
        {"C", "设置", "是(&Y)", "星期一"},
        {"zh_TW", "设置", "是(&Y)", "星期一"},
        {"de_AT", "Einstellungen", "&Ja", "Montag"},
        {"en_GB", "Settings", "&Yes", "Monday"},
        {Untranslated() + "_XX", "Settings", "&Yes", "Monday"},
    };
    for (const auto& c : cases) {
        QTranslator own;
        QTranslator qt;
        InstallTranslations(own, qt, QLocale(c.locale));
        TestServices fakes;
        const std::string what = c.locale.toStdString();
        EXPECT_EQ(CSettingsDlg(fakes.services).windowTitle(), c.title) << what;
        EXPECT_EQ(YesNo().first, c.yes) << what;
        EXPECT_EQ(QCalendarWidget().locale().dayName(1), c.monday) << what;
        QLocale::setDefault(QLocale::system());
    }
}

}  // namespace
