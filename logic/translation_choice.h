#pragma once

#include <QString>
#include <QStringList>

// Which translation of the clock's own texts a user gets. `uiLanguages` are the user's
// languages, most wanted first, as QLocale::uiLanguages() gives them ("de-DE", "de", "en"; "C"
// where none is set); `available` the languages the program has a translation for ("de", "en").
// The first of the user's languages decides: one with a translation gets it; Chinese, in which
// the texts are written, and the C locale get the texts as written (the empty result). A user
// none of whose languages has a translation reads English.
QString ChooseTranslation(const QStringList& uiLanguages, const QStringList& available);
