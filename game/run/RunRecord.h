#pragma once

#include <string>

/// What the game remembers about the current run across its states: the play time summed
/// over the levels played since the run began, and the level to retry after a loss. One record
/// is shared by every clone of the systems that feed and read it, so it outlives the states.
struct RunRecord {
    /// Seconds of frame time during which a level clock was counting.
    float playTime = 0.0f;
    /// The state being played (empty until a change of state has been seen).
    std::string state;
    /// The state asked for and not yet entered.
    std::string nextState;
    /// The clone of the run clock that heard the request: the state being left.
    unsigned long long askedIn = 0;
    /// Clones of the run clock made so far, for their serial numbers.
    unsigned long long clones = 0;
    /// The last state that had a level clock; empty until a level has been played.
    std::string lastLevel;

    /// A new run: the time starts again from zero.
    void Start() { playTime = 0.0f; }

    /// "m:ss.t", with hours in front ("h:mm:ss.t") from one hour on; tenths are cut, not
    /// rounded, so the time shown never exceeds the time taken.
    static std::string FormatTime(float seconds);
};
