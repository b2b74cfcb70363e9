#include "platform/qt_translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include "logic/translation_choice.h"

namespace {

const QString kOwnFolder = QStringLiteral(":/i18n");
const QString kOwnPrefix = QStringLiteral("kelvarine_");

}  // namespace

QString QtTranslationsFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool InstallQtTranslations(QTranslator& translator, const QLocale& locale, const QString& folder) {
    // Tries each of the user's languages in order (LANGUAGE, then LC_ALL, LC_MESSAGES, LANG),
    // each from the most to the least specific name: qtbase_zh_CN, then qtbase_zh.
    if (!translator.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        return false;
    }
    return QCoreApplication::installTranslator(&translator);
}

QStringList OwnTranslations() {
    QStringList languages;
    // No name filter: Qt matches one through a regular expression, which costs half a
    // megabyte at every start for a folder of a few files.
    for (const QString& file : QDir(kOwnFolder).entryList(QDir::Files)) {
        if (file.startsWith(kOwnPrefix) && file.endsWith(QLatin1String(".qm"))) {
            languages << file.mid(kOwnPrefix.size()).section(QLatin1Char('.'), 0, 0);
        }
    }
    return languages;
}

QString InstallOwnTranslations(QTranslator& translator, const QLocale& locale) {
    const QString language = ChooseTranslation(locale.uiLanguages(), OwnTranslations());
    if (language.isEmpty() || !translator.load(kOwnPrefix + language, kOwnFolder) ||
        !QCoreApplication::installTranslator(&translator)) {
        return {};
    }
    return language;
}

QLocale InstallTranslations(QTranslator& own, QTranslator& qt, const QLocale& user,
                            const QString& qtFolder) {
    const QLocale windows = WindowsLocale(InstallOwnTranslations(own, user), user);
    InstallQtTranslations(qt, windows, qtFolder);
    QLocale::setDefault(windows);
    return windows;
}
