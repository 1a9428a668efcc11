#pragma once

#include <memory>

#include "engine/KeyCodes.h"
#include "engine/Manager.h"
#include "services/ui/Font.h"

/// Shows a "DEBUG" badge in the picture's top right corner while debug mode is on, so that the
/// debug keys (level skips, clock changes) never act unnoticed.
///
/// The window service keeps debug mode and tells it only through the flag of MessageKey; the
/// badge follows the same rule the window does (the toggle key's presses switch it) and takes
/// the flag of every other key as the truth, so it cannot drift. Sits between the state manager
/// and the window, so its sprites reach the frame the states just drew.
class ManagerDebugMarker : public Manager {
public:
    static constexpr int kToggleKey = keycode::Grave;
    static constexpr const char* kCamera = "Debug Marker";

    bool HandleMessage(const Message& message) override;

    bool Shown() const { return on; }

private:
    void Draw();

    bool on = false;
    std::shared_ptr<const Font> font;
    bool fontFailed = false;
};
