#pragma once

#include "engine/Manager.h"
#include "game/replay/ReplayFile.h"

/// Writes down every input message the window delivers, by the frame it arrives in: keys and
/// mouse buttons, scroll steps, focus changes, and the cursor (only on frames where it
/// differs from the frame before). Added after the window; consumes nothing.
class ManagerReplayRecorder : public Manager {
public:
    /// Appends to `replay.input` and keeps `replay.frames` at the number of frames begun.
    explicit ManagerReplayRecorder(Replay& replay);

    bool HandleMessage(const Message& message) override;
    /// Takes in the cursor of the last frame; call once the loop has ended.
    void Finish();

private:
    void FlushCursor();

    Replay& replay;
    int frame = 0;
    bool cursorPending = false;
    ReplayInput cursor;
    bool hasLastCursor = false;
    ReplayInput lastCursor;
};
