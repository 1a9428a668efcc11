#pragma once

#include <cstddef>

#include "engine/Manager.h"
#include "game/replay/ReplayFile.h"

/// Plays a recording's input back: at the render of each frame, where the window would deliver
/// what it polled, it sends that frame's recorded messages, then the latest recorded cursor
/// (as the window sends the cursor every frame), and after the last frame it stops the loop
/// with MessageQuit. Added after the window, whose own input must be off.
class ManagerReplayPlayer : public Manager {
public:
    /// `replay` must outlive the player.
    explicit ManagerReplayPlayer(const Replay& replay);

    bool HandleMessage(const Message& message) override;

    /// Frames begun so far; less than the recording's count when the game ended first.
    int FramesRun() const { return frame + 1; }

private:
    void Deliver(const ReplayInput& input);
    void SendCursor();

    const Replay& replay;
    std::size_t next = 0;
    int frame = -1;
    bool hasCursor = false;
    ReplayInput cursor;
};
