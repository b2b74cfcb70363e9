#include "logic/translation_choice.h"

namespace {

// "de" of "de-DE", "de_DE.UTF-8" or "de@euro".
QString LanguageOf(const QString& name) {
    qsizetype end = 0;
    while (end < name.size() && name[end].isLetter()) {
        ++end;
    }
    return name.left(end).toLower();
}

}  // namespace

QString ChooseTranslation(const QStringList& uiLanguages, const QStringList& available) {
    bool askedForAny = false;
    for (const QString& name : uiLanguages) {
        const QString language = LanguageOf(name);
        if (language.isEmpty() || language == u"c" || language == u"posix") {
            return {};
        }
        askedForAny = true;
        if (language == u"zh") {
            return {};
        }
        if (available.contains(language)) {
            return language;
        }
    }
    const QString fallback = QStringLiteral("en");
    return askedForAny && available.contains(fallback) ? fallback : QString();
}

QLocale WindowsLocale(const QString& chosen, const QLocale& user) {
    // The texts as written are Chinese.
    const QLocale language = chosen.isEmpty() ? QLocale(QLocale::Chinese, QLocale::China)
                                              : QLocale(chosen);
    // By name, never the system locale itself: that one answers month and day names from
    // LC_TIME, which may name yet another language than the texts.
    return user.language() == language.language() ? QLocale(user.name()) : language;
}
