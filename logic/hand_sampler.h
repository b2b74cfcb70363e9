#pragma once

#include <cstdint>

// Which of the 60 dial positions each hand takes at a local time.
struct HandPositions {
    int hour = 0;    // moves on every 12 minutes
    int minute = 0;  // jumps once a minute
    int second = 0;  // jumps once a second
    bool pm = false;
};

HandPositions HandPositionsAt(int hour, int minute, int second);

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
    int m_nLastMinute = -1;
};
