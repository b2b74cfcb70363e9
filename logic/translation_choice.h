#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// Which translation of the clock's own texts a user gets. `uiLanguages` are the user's
// languages, most wanted first, as QLocale::uiLanguages() gives them ("de-DE", "de", "en"; "C"
// where none is set); `available` the languages the program has a translation for ("de", "en").
// The first of the user's languages decides: one with a translation gets it; Chinese, in which
// the texts are written, and the C locale get the texts as written (the empty result). A user
// none of whose languages has a translation reads English.
QString ChooseTranslation(const QStringList& uiLanguages, const QStringList& available);

// The locale the windows follow for what Qt itself writes (the standard buttons, the calendar's
// day and month names), so that each window reads in one language: the language chosen for the
// clock's texts (`chosen`, as ChooseTranslation gives it), in the user's own variant of it when
// the user's locale speaks it (en_GB stays en_GB), else that language's main locale.
QLocale WindowsLocale(const QString& chosen, const QLocale& user);
