#pragma once

#include "platform/services.h"

// The desktop's message boxes. Their event loops keep timers and posted events running while
// the user thinks.
class MessageBoxQuestion : public Question {
public:
    // Yes/No, No the default, no icon; shown in front without taking the keyboard, and never
    // taller than the screen (a long text scrolls).
    std::optional<bool> AskYesNo(QWidget* owner, const QString& caption,
                                 const QString& text) override;
    void Warn(QWidget* owner, const QString& caption, const QString& text) override;
    void Beep() override;
};
