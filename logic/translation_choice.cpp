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
