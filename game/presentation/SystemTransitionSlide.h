#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/System.h"

enum class TransitionEffectType { NONE = 0, FADE_IN = 1, FADE_OUT = 2 };

/// One step of a slide. `Begin` and `End` are offsets from the slide's start time.
struct Transition {
    TransitionEffectType TransitionEffect = TransitionEffectType::NONE;
    float Duration = 0.0f;
    float Begin = 0.0f;
    float End = 0.0f;
};

/// An unknown "Effect" name raises a JSON error naming it, so the component is not added.
void from_json(const nlohmann::json& j, Transition& transition);

/// A timed run of fades on the entity's sprite: a splash that runs by itself, or the fade
/// played before a door's state change, a checkpoint reload, or after a restore.
struct ComponentTransitionSlide {
    static constexpr std::string_view kName = "Transition Slide";

    std::vector<Transition> Transitions;
    /// Slide time before the first step begins.
    float StartTime = 0.0f;
    float TotalTime = 0.0f;
    bool Skippable = false;
    bool ActivateOnChangeToState = false;
    bool ActivateOnReloadCheckpoint = false;
    bool ActivateOnRestoreCheckpoint = false;
    std::string NextState;
    float Time = 0.0f;
    bool Playing = false;

    /// Without an activation flag the slide starts by itself.
    bool Automatic() const {
        return !ActivateOnChangeToState && !ActivateOnReloadCheckpoint &&
               !ActivateOnRestoreCheckpoint;
    }
};

void from_json(const nlohmann::json& j, ComponentTransitionSlide& slide);

class SystemTransitionSlide : public System<ComponentTransitionSlide, SystemTransitionSlide> {
public:
    bool HandleMessage(const Message& message) override;

    /// The sprite alpha of `step` at slide time `time`, or a negative value for a step that
    /// leaves the sprite alone.
    static float StepAlpha(const Transition& step, float startTime, float time);

private:
    void Update(float dt);
    void Play(EntityId entity, const ComponentTransitionSlide& slide);
    void Skip(const Message& message);
    void OnPlayTransitionState(std::string_view state);
    void OnReloadCheckpoint();
    void ChangeState(std::string_view state);
};
