#pragma once

#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <glm/vec2.hpp>
#include <nlohmann/json.hpp>

#include "engine/System.h"

/// One named animation: sheet cells in playing order at a frame rate.
struct AnimationClip {
    std::vector<glm::ivec2> frames;
    float frameRate = 10.0f;
    /// Empty: the component's texture.
    std::string texture;
    bool hasDimensions = false;
    glm::vec2 dimensions{1.0f, 1.0f};
    /// Bones that exist or take other values while this clip is current.
    std::unordered_map<std::string, glm::vec2> bones;
};

/// A playback request waiting behind the current clip.
struct AnimationRequest {
    std::string name;
    bool loop = true;
    float delay = 0.0f;
    float speed = 1.0f;

    bool operator==(const AnimationRequest&) const = default;
};

/// An entity's clips, bones and playback state. The file format is in docs/animation.md.
struct ComponentAnimation {
    static constexpr std::string_view kName = "Animation";
    static constexpr std::size_t kMaxQueued = 8;

    std::string texture;
    bool hasDimensions = false;
    glm::vec2 dimensions{1.0f, 1.0f};
    float frameRate = 10.0f;
    std::string start;
    std::unordered_map<std::string, AnimationClip> clips;
    std::unordered_map<std::string, glm::vec2> bones;
    std::string aimBone;

    // Playback; an empty `current` means nothing plays.
    std::string current;
    bool loop = true;
    float speed = 1.0f;
    /// Clip time in seconds, in [0, length) while looping, up to the length otherwise.
    float clock = 0.0f;
    /// The current clip has ended and holds its last cell until the first queued request's
    /// delay has passed.
    bool waiting = false;
    float waited = 0.0f;
    std::vector<AnimationRequest> queue;
    /// The sprite still needs the current clip's texture and sheet size.
    bool spriteDirty = true;
    glm::ivec2 shownCell{-1, -1};

    /// The cell of the current clip to show now; only valid while a clip is current.
    glm::ivec2 CurrentCell() const;
    /// Moves playback on by `dt` seconds of game time.
    void Advance(float dt);
    /// Starts a clip now (the name must be a clip of this component).
    void Start(const AnimationRequest& request);
};

/// Reads the "Animation" component; unplayable data raises a JSON error naming the key.
void from_json(const nlohmann::json& j, ComponentAnimation& animation);

/// Plays sprite-sheet clips, writing the current cell into each entity's ComponentSprite every
/// update, answers MessageSetAnimation and hands out bones through MessageQueryBone.
class SystemAnimation : public System<ComponentAnimation, SystemAnimation> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void Update(float dt);
    bool SetAnimation(const Message& message);
    bool QueryBone(const Message& message);
    void AimSprite(EntityId entity, glm::vec2 direction);

    /// Unknown clip names already warned about.
    std::set<std::string, std::less<>> warned;
};
