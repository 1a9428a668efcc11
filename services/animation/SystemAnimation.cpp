#include "services/animation/SystemAnimation.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>

#include "engine/ComponentSprite.h"
#include "engine/JsonRead.h"
#include "engine/MessageFrame.h"
#include "engine/SystemTransform.h"
#include "services/animation/MessageAnimation.h"

using json = nlohmann::json;

namespace {

// Keeps floor() of a clock that landed a rounding error short of a cell boundary on that cell.
constexpr float kCellEpsilon = 1e-4f;

[[noreturn]] void Invalid(const json& j, const std::string& what) {
    throw json::other_error::create(501, what, &j);
}

float ReadFrameRate(const json& j, float fallback) {
    float rate = fallback;
    json_read::Key(j, "Frame Rate", rate);
    if (!(rate > 0.0f) || !std::isfinite(rate)) Invalid(j, "\"Frame Rate\" must be above 0");
    return rate;
}

std::unordered_map<std::string, glm::vec2> ReadBones(const json& j) {
    std::unordered_map<std::string, glm::vec2> bones;
    auto it = j.find("Bones");
    if (it == j.end()) return bones;
    json_read::RequireObject(*it);
    if (it->is_null()) return bones;
    for (auto& [name, value] : it->items()) {
        bones[name] = glm::vec2(value.at(0).get<float>(), value.at(1).get<float>());
    }
    return bones;
}

glm::ivec2 ReadCell(const json& j) {
    glm::ivec2 cell(json_read::Integer<int>(j.at(0)), json_read::Integer<int>(j.at(1)));
    if (cell.x < 0 || cell.y < 0) Invalid(j, "sheet cells must not be negative");
    return cell;
}

AnimationClip ReadClip(const json& j, const ComponentAnimation& owner) {
    json_read::RequireObject(j);
    AnimationClip clip;
    clip.frameRate = ReadFrameRate(j, owner.frameRate);
    json_read::Key(j, "Texture", clip.texture);
    clip.hasDimensions = owner.hasDimensions;
    clip.dimensions = owner.dimensions;
    if (j.contains("Dimensions")) {
        json_read::Vec<2>(j, "Dimensions", clip.dimensions);
        clip.hasDimensions = true;
    }
    clip.bones = ReadBones(j);
    if (j.contains("Frames")) {
        for (const json& cell : j.at("Frames")) clip.frames.push_back(ReadCell(cell));
    } else if (j.contains("First") || j.contains("Count")) {
        // Clamped first: a float beyond int's range has no defined conversion.
        const int columns = static_cast<int>(std::clamp(clip.dimensions.x, 0.0f, 1.0e6f));
        if (!clip.hasDimensions || columns < 1) {
            Invalid(j, "\"First\"/\"Count\" need \"Dimensions\" with at least one column");
        }
        glm::ivec2 cell = j.contains("First") ? ReadCell(j.at("First")) : glm::ivec2(0);
        const int count = j.contains("Count") ? json_read::Integer<int>(j.at("Count")) : 0;
        if (count > 100000) Invalid(j, "\"Count\" is too large");
        for (int i = 0; i < count; ++i) {
            clip.frames.push_back(cell);
            if (++cell.x >= columns) {
                if (cell.y == std::numeric_limits<int>::max()) {
                    Invalid(j, "\"Count\" runs past the last sheet row");
                }
                cell.x = 0;
                ++cell.y;
            }
        }
    }
    if (clip.frames.empty()) Invalid(j, "a clip needs at least one cell");
    return clip;
}

float Sanitize(float value) {
    return std::isfinite(value) && value > 0.0f ? value : 0.0f;
}

}  // namespace

void from_json(const json& j, ComponentAnimation& animation) {
    json_read::Key(j, "Texture", animation.texture);
    if (j.contains("Dimensions")) {
        json_read::Vec<2>(j, "Dimensions", animation.dimensions);
        animation.hasDimensions = true;
    }
    animation.frameRate = ReadFrameRate(j, animation.frameRate);
    json_read::Key(j, "Aim Bone", animation.aimBone);
    if (j.contains("Bones")) animation.bones = ReadBones(j);
    if (j.contains("Clips")) {
        const json& clips = j.at("Clips");
        json_read::RequireObject(clips);
        animation.clips.clear();
        if (clips.is_object()) {
            for (auto& [name, clip] : clips.items()) {
                try {
                    animation.clips[name] = ReadClip(clip, animation);
                } catch (const json::exception& e) {
                    // Name the clip: the library's own text only says what was wrong.
                    throw json::other_error::create(501, "\"Clips\"/\"" + name + "\": " + e.what(),
                                                    &clip);
                }
            }
        }
    }
    json_read::Key(j, "Start", animation.start);
    if (!animation.start.empty()) {
        if (!animation.clips.count(animation.start)) {
            Invalid(j, "\"Start\" names no clip: \"" + animation.start + "\"");
        }
        animation.Start({animation.start, true, 0.0f, 1.0f});
    }
}

void ComponentAnimation::Start(const AnimationRequest& request) {
    current = request.name;
    loop = request.loop;
    speed = Sanitize(request.speed);
    clock = 0.0f;
    waiting = false;
    waited = 0.0f;
    spriteDirty = true;
}

glm::ivec2 ComponentAnimation::CurrentCell() const {
    const AnimationClip& clip = clips.at(current);
    const int count = static_cast<int>(clip.frames.size());
    if (waiting) return clip.frames.back();
    int index = static_cast<int>(std::floor(clock * clip.frameRate + kCellEpsilon));
    index = loop ? index % count : std::min(index, count - 1);
    return clip.frames[static_cast<std::size_t>(std::max(index, 0))];
}

void ComponentAnimation::Advance(float dt) {
    dt = Sanitize(dt);
    // Each pass either returns or starts a queued clip, so the queue's length bounds the passes.
    for (std::size_t pass = 0; pass <= kMaxQueued + 1; ++pass) {
        if (current.empty() || waiting) {
            if (queue.empty()) return;
            waited += dt;
            const float delay = Sanitize(queue.front().delay);
            if (waited < delay) return;
            dt = waited - delay;
            Start(queue.front());
            queue.erase(queue.begin());
            continue;
        }
        const AnimationClip& clip = clips.at(current);
        const float length = static_cast<float>(clip.frames.size()) / clip.frameRate;
        const float step = dt * speed;
        if (queue.empty()) {
            clock = loop ? std::fmod(clock + step, length) : std::min(clock + step, length);
            return;
        }
        // A request waits: it starts when the one-shot clip or the running cycle ends.
        if (clock < length) {
            if (speed <= 0.0f || clock + step < length) {
                clock += step;
                return;
            }
            dt -= (length - clock) / speed;
        }
        clock = length;
        waiting = true;
        waited = 0.0f;
    }
}

bool SystemAnimation::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            Update(static_cast<const MessageUpdate&>(message).dt);
            return false;
        case MessageId::SetAnimation:
            return SetAnimation(message);
        case MessageId::QueryBone:
            return QueryBone(message);
        default:
            return System::HandleMessage(message);
    }
}

void SystemAnimation::Update(float dt) {
    for (auto& [entity, animation] : components) {
        if (animation.current.empty()) continue;
        animation.Advance(dt);
        const glm::ivec2 cell = animation.CurrentCell();
        if (!animation.spriteDirty && cell == animation.shownCell) continue;
        const AnimationClip& clip = animation.clips.at(animation.current);
        bool written = false;
        SendMessage(MessageQuery<ComponentSprite>(
            entity, [&, &animation = animation](ComponentSprite& sprite) {
                if (animation.spriteDirty) {
                    const std::string& texture =
                        clip.texture.empty() ? animation.texture : clip.texture;
                    if (!texture.empty()) sprite.texture = texture;
                    if (clip.hasDimensions) sprite.dimensions = clip.dimensions;
                }
                sprite.index = cell;
                written = true;
            }));
        // Without a sprite yet (it may arrive later) the write is tried again next update.
        if (written) {
            animation.spriteDirty = false;
            animation.shownCell = cell;
        }
    }
}

bool SystemAnimation::SetAnimation(const Message& message) {
    auto& set = static_cast<const MessageSetAnimation&>(message);
    auto it = components.find(set.entity);
    if (it == components.end()) return false;
    ComponentAnimation& animation = it->second;
    if (!animation.clips.count(std::string(set.name))) {
        if (warned.insert(std::string(set.name)).second) {
            std::cerr << "Halvex: warning: entity " << set.entity << " has no animation clip \""
                      << set.name << "\"\n";
        }
        return true;
    }
    AnimationRequest request{std::string(set.name), set.loop, Sanitize(set.delay),
                             Sanitize(set.speed)};
    if (set.queued) {
        if (!animation.queue.empty() && animation.queue.back() == request) return true;
        if (animation.queue.size() >= ComponentAnimation::kMaxQueued) return true;
        animation.queue.push_back(std::move(request));
        return true;
    }
    animation.queue.clear();
    if (animation.current == request.name) {
        animation.loop = request.loop;
        animation.speed = request.speed;
        animation.waiting = false;
        return true;
    }
    animation.Start(request);
    return true;
}

bool SystemAnimation::QueryBone(const Message& message) {
    auto& query = static_cast<const MessageQueryBone&>(message);
    const std::string name(query.bone);
    auto find = [&]() -> glm::vec2* {
        auto it = components.find(query.entity);
        if (it == components.end()) return nullptr;
        ComponentAnimation& animation = it->second;
        if (!animation.current.empty()) {
            auto& clipBones = animation.clips.at(animation.current).bones;
            auto bone = clipBones.find(name);
            if (bone != clipBones.end()) return &bone->second;
        }
        auto bone = animation.bones.find(name);
        return bone == animation.bones.end() ? nullptr : &bone->second;
    };
    glm::vec2* bone = find();
    if (!bone) return false;
    // The callback may send messages that change this table, so it works on a copy that is
    // stored back afterwards.
    glm::vec2 value = *bone;
    query.callback(value);
    bone = find();
    if (!bone) return true;
    *bone = value;
    const std::string& aim = components.at(query.entity).aimBone;
    if (!aim.empty() && aim == name) AimSprite(query.entity, value);
    return true;
}

void SystemAnimation::AimSprite(EntityId entity, glm::vec2 direction) {
    if (direction.x == 0.0f && direction.y == 0.0f) return;
    const float angle = std::atan2(direction.y, direction.x);
    SendMessage(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& transform) {
        transform.rotation.z = transform.scale.x < 0.0f ? -angle : angle;
    }));
}
