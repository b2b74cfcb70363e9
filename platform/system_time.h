#pragma once

#include <QDateTime>

#include "platform/services.h"

// The system clock.
class SystemTime : public TimeSource {
public:
    std::int64_t NowMs() const override { return QDateTime::currentMSecsSinceEpoch(); }
};
