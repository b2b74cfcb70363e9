#include "logic/failure_streak.h"

FailureStreak::Turn FailureStreak::Record(bool failed) {
    const bool was = m_failing;
    m_failing = failed;
    if (failed == was) {
        return Turn::None;
    }
    return failed ? Turn::Begins : Turn::Ends;
}
