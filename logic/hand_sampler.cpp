#include "logic/hand_sampler.h"

HandPositions HandPositionsAt(int hour, int minute, int second) {
    return {(hour % 12) * 5 + minute / 12, minute, second, hour / 12 != 0};
}

int MillisecondsToNextTick(std::int64_t nowMs) {
    constexpr int kLateByMs = 3;  // timers may fire a little early; never sample the old second
    const auto intoSecond = static_cast<int>(((nowMs % 1000) + 1000) % 1000);
    return 1000 - intoSecond + kLateByMs;
}

bool MinuteWatch::IsNewMinute(int minute) {
    if (minute == m_nLastMinute) {
        return false;
    }
    m_nLastMinute = minute;
    return true;
}
