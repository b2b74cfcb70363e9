#pragma once

#include "app/services.h"

// Asks with a modal Yes/No message box (Yes the default, no icon). Its event loop keeps
// timers and posted events running while the user thinks.
class MessageBoxQuestion : public Question {
public:
    bool AskYesNo(QWidget* owner, const QString& caption, const QString& text) override;
};
