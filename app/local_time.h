#pragma once

#include <cstdint>

// Broken-down local time of a seconds count (64-bit, so dates past 2038 work).
struct LocalTime {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

LocalTime ToLocalTime(std::int64_t seconds);
