#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

class QTranslator;

// Where this Qt keeps its translations.
QString QtTranslationsFolder();

// Qt's own texts (the standard Yes/No buttons, the calendar's) in the user's language, from the
// translations Qt ships (qtbase_<lang>.qm). True when a translation was found and installed;
// `translator` must outlive its use.
bool InstallQtTranslations(QTranslator& translator, const QLocale& locale = QLocale::system(),
                           const QString& folder = QtTranslationsFolder());

// The languages the clock's own texts are translated into, from the translations built into
// the program (":/i18n/kelvarine_<lang>.qm").
QStringList OwnTranslations();

// The clock's own texts in the user's language (see ChooseTranslation); the language installed,
// or empty when the texts stay as written. `translator` must outlive its use.
QString InstallOwnTranslations(QTranslator& translator, const QLocale& locale = QLocale::system());

// Every window in one language: the clock's own texts in the user's language (as
// InstallOwnTranslations), and Qt's in that same language, also where the user's locale names
// another. The default locale becomes WindowsLocale's, so the calendar's names follow; the
// user's time format stays QLocale::system()'s. Both translators must outlive their use.
QLocale InstallTranslations(QTranslator& own, QTranslator& qt,
                            const QLocale& user = QLocale::system(),
                            const QString& qtFolder = QtTranslationsFolder());
