#pragma once

#include "platform/services.h"

// Asks xdg-utils ("xdg-mime query default TYPE"), which knows each desktop's own settings.
class XdgMimeDefaults : public MimeDefaults {
public:
    // A desktop that does not answer within the time counts as one that could not be asked.
    explicit XdgMimeDefaults(int timeoutMs = 5000) : m_timeoutMs(timeoutMs) {}
    std::optional<QString> DefaultApplication(const QString& mimeType) override;

private:
    int m_timeoutMs;
};
