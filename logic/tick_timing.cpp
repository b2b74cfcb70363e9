#include "logic/tick_timing.h"

int MillisecondsToNextTick(std::int64_t nowMs) {
    constexpr int kLateByMs = 3;  // timers may fire a little early; never sample the old second
    const auto intoSecond = static_cast<int>(((nowMs % 1000) + 1000) % 1000);
    return 1000 - intoSecond + kLateByMs;
}

bool MinuteWatch::IsNewMinute(int minute) {
    if (minute == m_lastMinute) {
        return false;
    }
    m_lastMinute = minute;
    return true;
}
