#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/KeyCodes.h"
#include "engine/MessageKey.h"
#include "services/graphics/CameraMath.h"
#include "services/graphics/GamepadMapping.h"

using graphics::GamepadMapping;
using graphics::GamepadState;
using nlohmann::json;

namespace {

const std::map<std::string, int> kButtons = {
    {"A", GamepadState::A},
    {"B", GamepadState::B},
    {"X", GamepadState::X},
    {"Y", GamepadState::Y},
    {"LeftBumper", GamepadState::LeftBumper},
    {"RightBumper", GamepadState::RightBumper},
    {"Back", GamepadState::Back},
    {"Start", GamepadState::Start},
    {"Guide", GamepadState::Guide},
    {"LeftThumb", GamepadState::LeftThumb},
    {"RightThumb", GamepadState::RightThumb},
    {"DpadUp", GamepadState::DpadUp},
    {"DpadRight", GamepadState::DpadRight},
    {"DpadDown", GamepadState::DpadDown},
    {"DpadLeft", GamepadState::DpadLeft},
};
const std::map<std::string, int> kAxes = {
    {"LeftX", GamepadState::LeftX},
    {"LeftY", GamepadState::LeftY},
    {"RightX", GamepadState::RightX},
    {"RightY", GamepadState::RightY},
    {"LeftTrigger", GamepadState::LeftTrigger},
    {"RightTrigger", GamepadState::RightTrigger},
};

GamepadState ReadPad(const json& j) {
    GamepadState pad;
    const json buttons = j.value("buttons", json::array());
    const json axes = j.value("axes", json::object());
    for (const json& name : buttons) pad.buttons.at(kButtons.at(name.get<std::string>())) = true;
    for (auto& [name, value] : axes.items()) {
        pad.axes.at(kAxes.at(name)) = value.get<float>();
    }
    return pad;
}

/// "+D" or "-MOUSE_LEFT": a key event as the engine's key names spell it.
std::string Describe(const graphics::InputEvent& event) {
    std::string name = "key " + std::to_string(event.code);
    if (event.code == MessageKey::kMouseFirst) name = "MOUSE_LEFT";
    for (const char* candidate : {"A", "D", "SPACE", "ESCAPE", "UP", "DOWN"}) {
        if (KeyCodeFromName(candidate) == event.code) name = candidate;
    }
    if (event.kind != graphics::InputEvent::Kind::Key || event.mods != 0) return "odd " + name;
    if (event.action == MessageKey::kPressed) return "+" + name;
    if (event.action == MessageKey::kReleased) return "-" + name;
    return "?" + name;
}

glm::vec2 ReadVec(const json& j) {
    return {j.at(0).get<float>(), j.at(1).get<float>()};
}

class GamepadRecording : public testing::TestWithParam<const char*> {};

// Each file is a run of pad readings, one per frame, with the key events and the cursor the
// frame must give.
TEST_P(GamepadRecording, GivesTheRecordedMessages) {
    const std::string path = std::string(GAMEPAD_DATA) + "/" + GetParam() + ".json";
    std::ifstream in(path);
    ASSERT_TRUE(in) << "missing " << path;
    const json file = json::parse(in);
    const float aspect = file.at("aspect").get<float>();
    const json& frames = file.at("frames");
    ASSERT_FALSE(frames.empty());

    GamepadMapping mapping;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const json& frame = frames[i];
        SCOPED_TRACE(path + " frame " + std::to_string(i) + ": " + frame.value("note", ""));
        const glm::vec2 mouse = frame.contains("mouse") ? ReadVec(frame["mouse"]) : glm::vec2(0);
        GamepadState pad;
        if (!frame.at("pad").is_null()) pad = ReadPad(frame["pad"]);
        const graphics::GamepadFrame out =
            mapping.Update(frame["pad"].is_null() ? nullptr : &pad, mouse, aspect);

        std::vector<std::string> keys;
        for (const auto& event : out.keys) keys.push_back(Describe(event));
        EXPECT_EQ(keys, frame.value("expect", std::vector<std::string>{}));

        if (frame.value("cursor", "") == "mouse") {
            EXPECT_EQ(out.cursor, mouse);
        }
        if (frame.contains("aim")) {
            // The world direction of the cursor from the picture's centre; well off the picture.
            const glm::vec2 world(out.cursor.x * aspect, out.cursor.y);
            const float length = std::sqrt(world.x * world.x + world.y * world.y);
            ASSERT_GT(length, 5.0f);
            const glm::vec2 expected = ReadVec(frame["aim"]);
            EXPECT_NEAR(world.x / length, expected.x, 1e-4f);
            EXPECT_NEAR(world.y / length, expected.y, 1e-4f);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Gamepad, GamepadRecording,
                         testing::Values("walk", "buttons", "aim", "dead_zone", "disconnect"));

// The point of a far cursor: a player held well off the picture's centre (the camera stopped
// at a level's edge) still shoots where the stick points.
TEST(GamepadMapping, AimHoldsForAPlayerOffCentre) {
    const float aspect = 16.0f / 9.0f;
    const graphics::CameraView camera = graphics::DefaultCamera();
    const float halfHeight = graphics::WorldHeight(camera) * 0.5f;
    // Near the picture's right edge and a little low.
    const glm::vec2 player(halfHeight * aspect * 0.9f, -halfHeight * 0.5f);
    GamepadMapping mapping;
    for (float degrees = 0.0f; degrees < 360.0f; degrees += 15.0f) {
        const float radians = degrees * 3.14159265f / 180.0f;
        GamepadState pad;
        pad.axes[GamepadState::RightX] = std::cos(radians);
        pad.axes[GamepadState::RightY] = -std::sin(radians);
        const glm::vec2 cursor = mapping.Update(&pad, glm::vec2(0.0f), aspect).cursor;
        const glm::vec2 aim = glm::vec2(cursor.x * aspect, cursor.y) * halfHeight - player;
        const float error =
            std::fabs(std::remainder(std::atan2(aim.y, aim.x) - radians, 2.0f * 3.14159265f));
        EXPECT_LT(error * 180.0f / 3.14159265f, 6.0f) << "stick at " << degrees << " degrees";
    }
}

}  // namespace
