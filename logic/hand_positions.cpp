#include "logic/hand_positions.h"

HandPositions HandPositionsAt(int hour, int minute, int second) {
    return {(hour % 12) * 5 + minute / 12, minute, second, hour / 12 != 0};
}
