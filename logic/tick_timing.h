#pragma once

#include <cstdint>

// How long to wait from `nowMs` so the next tick lands just after the next second boundary;
// a plain 1000 ms period drifts and now and then skips a second.
int MillisecondsToNextTick(std::int64_t nowMs);

// Notices the first sample of each new minute of the hour. The first sample ever counts as new,
// so memos that fell due while the clock was not running are checked at once.
class MinuteWatch {
public:
    // True when `minute` differs from the minute of the previous sample.
    bool IsNewMinute(int minute);

private:
    int m_lastMinute = -1;
};
