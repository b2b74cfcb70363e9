#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTranslator>

#include "platform/qt_translations.h"
#include "settings/settings_dlg.h"
#include "tests/test_support.h"

namespace {

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

TEST_F(QtTranslationsTest, theClocksOwnTextsStayAsTheyAre) {
    const QStringList before = OwnTexts();
    ASSERT_TRUE(before.contains(QStringLiteral("确定")));
    for (const char* locale : {"de_DE", "zh_CN"}) {
        QTranslator translator;
        ASSERT_TRUE(InstallQtTranslations(translator, QLocale(locale)));
        EXPECT_EQ(OwnTexts(), before) << locale;
    }
}

}  // namespace
