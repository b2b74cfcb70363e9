#pragma once

#include <QStringList>

#include "platform/services.h"

class QWidget;

// Tells the user a problem: in a box over `owner`, and on stderr for a session's log.
void Tell(const Services& services, QWidget* owner, const QString& text);
// The same for problems found while the window is set up: on stderr now, in boxes once the
// event loop runs, so they come over the window as it shows.
void TellOnceShown(const Services& services, QWidget* owner, const QStringList& texts);

// Ends every modal dialog and box open beside `owner`, unanswered, innermost first: each one's
// loop returns once control is back in it.
void CloseModalDialogs(const QWidget* owner);
