#pragma once

#include <QLocale>
#include <QString>

class QTranslator;

// Where this Qt keeps its translations.
QString QtTranslationsFolder();

// Qt's own texts (the standard Yes/No buttons among them) in the user's language,
// from the translations Qt ships (qtbase_<lang>.qm). The clock's own texts are not translated
// and stay as they are. True when a translation was found and installed; `translator` must
// outlive its use.
bool InstallQtTranslations(QTranslator& translator, const QLocale& locale = QLocale::system(),
                           const QString& folder = QtTranslationsFolder());
