#pragma once

#include <memory>
#include <string_view>

#include "engine/Manager.h"

class MessageTrigger;

/// How the window opens. The game uses the defaults; benchmarks turn vsync off.
struct WindowOptions {
    int width = 1280;
    int height = 720;
    bool vsync = true;
    /// Off while a recording is played back into the window: the player sends the input,
    /// and only closing the window still reaches the game (as MessageQuit).
    bool liveInput = true;
};

/// The window service: a resizable window with an OpenGL 3.3 core context whose picture keeps
/// a fixed aspect ratio (letter-boxed), fullscreen on demand, and the renderer of every
/// MessageSpriteRender and MessageSpriteRenderBatch of the frame.
///
/// The trigger "Fullscreen" sets the display mode (true: fullscreen on the primary monitor).
/// F11 and the trigger "Toggle Fullscreen" send "Fullscreen" with the other mode, so that
/// everyone hears the change.
///
/// On MessageRender, which reaches it after every system of the current state, it draws the
/// frame's sprites through the cameras the state announced, shows the picture, polls the
/// window and sends the input: MessageKey (mouse buttons as 348 and up; debug mode on the
/// grave-accent key), MessageScroll, the trigger "Window Focus", MessageQuit when the window
/// is closed, and every frame the cursor messages (see engine/MessageCursor.h). The first
/// connected gamepad is read once a frame and speaks through the same key and cursor messages
/// (see services/graphics/GamepadMapping.h).
///
/// Construction throws std::runtime_error starting with "no display" when no window can be
/// opened at all.
class ManagerWindow : public Manager {
public:
    ManagerWindow(std::string_view title, float aspect, const WindowOptions& options = {});
    ~ManagerWindow() override;
    ManagerWindow(const ManagerWindow&) = delete;
    ManagerWindow& operator=(const ManagerWindow&) = delete;

    bool HandleMessage(const Message& message) override;

    /// Draw calls of the last frame.
    std::size_t LastDrawCalls() const;
    bool IsFullscreen() const;

    static constexpr std::string_view kFullscreenTrigger = "Fullscreen";
    static constexpr std::string_view kToggleFullscreenTrigger = "Toggle Fullscreen";

private:
    void OnTrigger(const MessageTrigger& trigger);

    struct Impl;
    std::unique_ptr<Impl> impl;
};
