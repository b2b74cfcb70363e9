#include "platform/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

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
