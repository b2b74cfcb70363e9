#pragma once

// What the user hears of a run of failures of the same try (a save, storing a setting, reaching
// the sound server): a failure is told once, when the run begins, and the run's end once, when a
// try works again; the tries between say nothing. Window-free, Qt-free: also used by the sound
// module, which links Qt Core only.
class FailureStreak {
public:
    enum class Turn {
        None,    // as the try before: still working, or still failing
        Begins,  // failed, and the try before had not
        Ends,    // worked, and the try before had failed
    };

    // Records one try and says whether a run of failures begins or ends with it.
    Turn Record(bool failed);
    // The last try recorded failed.
    bool failing() const { return m_failing; }

private:
    bool m_failing = false;
};
