#pragma once

// Which of the 60 dial positions each hand takes at a local time.
struct HandPositions {
    int hour = 0;    // moves on every 12 minutes
    int minute = 0;  // jumps once a minute
    int second = 0;  // jumps once a second
    bool pm = false;
};

HandPositions HandPositionsAt(int hour, int minute, int second);
