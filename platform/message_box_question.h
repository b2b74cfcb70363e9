#pragma once

#include "platform/services.h"

// The desktop's message boxes. Their event loops keep timers and posted events running while
// the user thinks.
class MessageBoxQuestion : public Question {
public:
    // Yes/No, Yes the default, no icon.
    std::optional<bool> AskYesNo(QWidget* owner, const QString& caption,
                                 const QString& text) override;
    void Warn(QWidget* owner, const QString& caption, const QString& text) override;
    void Beep() override;
};
