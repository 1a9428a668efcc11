#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <glm/vec2.hpp>
#include <nlohmann/json.hpp>

/// One input message of a recording, delivered during the render of frame `frame` (counted
/// from 0), as the window delivers the input it polled.
struct ReplayInput {
    enum class Kind { Key, Scroll, Focus, Cursor };
    struct CursorOffset {
        std::string camera;
        glm::vec2 offset{0.0f};

        bool operator==(const CursorOffset&) const = default;
    };

    int frame = 0;
    Kind kind = Kind::Key;
    /// Key: code, action, modifier bits and debug flag, as in MessageKey.
    int key = 0;
    int action = 0;
    int mods = 0;
    bool debug = false;
    /// Scroll: the wheel steps; Cursor: the cursor position.
    glm::vec2 value{0.0f};
    /// Focus: gained (true) or lost.
    bool focused = false;
    /// Cursor: the world offsets, main camera (empty name) first.
    std::vector<CursorOffset> offsets;

    bool operator==(const ReplayInput&) const = default;
};

/// A recording: where it starts, where it should end, how long a frame is, the seed of every
/// random draw and the input of each frame. The file format is described in docs/replays.md.
struct Replay {
    static constexpr const char* kFormat = "Halvex replay";
    static constexpr int kVersion = 1;

    std::string start;
    std::string expect;
    float step = 1.0f / 60.0f;
    std::uint32_t seed = 1;
    int frames = 0;
    std::vector<ReplayInput> input;

    bool operator==(const Replay&) const = default;
};

nlohmann::json ReplayToJson(const Replay& replay);
/// Raises DataError naming `file` and the offending key when the description is not a valid
/// recording.
Replay ReplayFromJson(const nlohmann::json& j, const std::string& file);

/// Reads a recording; a missing, truncated or malformed file raises DataError naming it.
Replay ReadReplayFile(const std::string& path);
/// Writes a recording; raises DataError when the file cannot be written.
void WriteReplayFile(const std::string& path, const Replay& replay);
