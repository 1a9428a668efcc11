#include "game/presentation/SystemTransitionSlide.h"

#include "engine/ComponentSprite.h"
#include "engine/JsonRead.h"
#include "engine/KeyCodes.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageState.h"
#include "engine/MessageTrigger.h"
#include "engine/TriggerNames.h"
#include "game/player/MessagePlayTransitionReloadCheckpoint.h"
#include "game/presentation/MessagePlayTransitionState.h"

namespace {

using json = nlohmann::json;

constexpr float kFadeInSnap = 0.9f;
constexpr float kFadeOutSnap = 0.05f;

bool IsSkipKey(int key) {
    return key == keycode::Space || key == keycode::Escape || key == keycode::Enter ||
           key == MessageKey::kMouseFirst || key == MessageKey::kMouseSecond;
}

TransitionEffectType ParseEffect(const json& value) {
    const auto name = value.get<std::string>();
    if (name == "NONE") return TransitionEffectType::NONE;
    if (name == "FADE_IN") return TransitionEffectType::FADE_IN;
    if (name == "FADE_OUT") return TransitionEffectType::FADE_OUT;
    throw json::other_error::create(
        501, "unknown \"Effect\" \"" + name + "\" (expected NONE, FADE_IN or FADE_OUT)", &value);
}

}  // namespace

void from_json(const json& j, Transition& transition) {
    if (!j.is_object()) return;
    auto effect = j.find("Effect");
    if (effect != j.end()) transition.TransitionEffect = ParseEffect(*effect);
    json_read::Key(j, "Time", transition.Duration);
}

void from_json(const json& j, ComponentTransitionSlide& slide) {
    if (j.is_object()) {
        auto steps = j.find("Transitions");
        if (steps != j.end()) {
            if (!steps->is_array()) {
                throw json::type_error::create(
                    302, std::string("type must be array, but is ") + steps->type_name(), &*steps);
            }
            slide.Transitions.clear();
            for (const auto& step : *steps) slide.Transitions.push_back(step.get<Transition>());
        }
    }
    json_read::Key(j, "Start Time", slide.StartTime);
    json_read::Key(j, "Skippable", slide.Skippable);
    json_read::Key(j, "Activate On Change To State", slide.ActivateOnChangeToState);
    json_read::Key(j, "Activate On Reload Checkpoint", slide.ActivateOnReloadCheckpoint);
    json_read::Key(j, "Activate On Restore Checkpoint", slide.ActivateOnRestoreCheckpoint);
    json_read::Key(j, "Next State", slide.NextState);

    float begin = 0.0f;
    for (auto& step : slide.Transitions) {
        step.Begin = begin;
        step.End = begin + step.Duration;
        begin = step.End;
    }
    slide.TotalTime = begin;
}

float SystemTransitionSlide::StepAlpha(const Transition& step, float startTime, float time) {
    switch (step.TransitionEffect) {
        case TransitionEffectType::FADE_IN: {
            // A step without duration is a single instant: it lands on its final alpha.
            if (step.Duration <= 0.0f) return 1.0f;
            const float alpha = (time - startTime - step.Begin) / step.Duration;
            return alpha >= kFadeInSnap ? 1.0f : alpha;
        }
        case TransitionEffectType::FADE_OUT: {
            if (step.Duration <= 0.0f) return 0.0f;
            const float alpha = (step.End + startTime - time) / step.Duration;
            return alpha <= kFadeOutSnap ? 0.0f : alpha;
        }
        case TransitionEffectType::NONE:
        default:
            return -1.0f;
    }
}

bool SystemTransitionSlide::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            Update(static_cast<const MessageUpdate&>(message).dt);
            return false;
        case MessageId::Key:
            Skip(message);
            return false;
        case MessageId::Trigger:
            if (static_cast<const MessageTrigger&>(message).name == trigger::CheckpointRestore) {
                for (auto& [entity, slide] : components) {
                    if (slide.ActivateOnRestoreCheckpoint) slide.Playing = true;
                }
            }
            return false;
        case MessageId::PlayTransitionState:
            OnPlayTransitionState(static_cast<const MessagePlayTransitionState&>(message).name);
            return false;
        case MessageId::PlayTransitionReloadCheckpoint:
            OnReloadCheckpoint();
            return false;
        default:
            return System::HandleMessage(message);
    }
}

void SystemTransitionSlide::Update(float dt) {
    for (auto& [entity, slide] : components) {
        if (slide.Automatic()) {
            slide.Time += dt;
            if (slide.Time > slide.StartTime) slide.Playing = true;
        } else if (slide.Playing) {
            slide.Time += dt;
        }
        if (!slide.Playing) continue;

        Play(entity, slide);
        if (slide.Time > slide.TotalTime + slide.StartTime) {
            if (!slide.NextState.empty()) ChangeState(slide.NextState);
            if (slide.ActivateOnReloadCheckpoint)
                SendMessage(MessageTrigger(trigger::Checkpoint, false));
        }
    }
}

void SystemTransitionSlide::Play(EntityId entity, const ComponentTransitionSlide& slide) {
    for (const auto& step : slide.Transitions) {
        if (slide.Time < slide.StartTime + step.Begin || slide.Time > slide.StartTime + step.End) {
            continue;
        }
        const float alpha = StepAlpha(step, slide.StartTime, slide.Time);
        if (alpha < 0.0f) continue;
        SendMessage(MessageQuery<ComponentSprite>(
            entity, [alpha](ComponentSprite& sprite) { sprite.color.a = alpha; }));
    }
}

void SystemTransitionSlide::Skip(const Message& message) {
    auto& key = static_cast<const MessageKey&>(message);
    if (key.action != MessageKey::kPressed || !IsSkipKey(key.key)) return;
    for (auto& [entity, slide] : components) {
        if (slide.Skippable) slide.Time = slide.TotalTime + slide.StartTime;
    }
}

void SystemTransitionSlide::OnPlayTransitionState(std::string_view state) {
    bool any = false;
    for (auto& [entity, slide] : components) {
        if (!slide.ActivateOnChangeToState) continue;
        slide.NextState = state;
        slide.Playing = true;
        any = true;
    }
    if (!any) ChangeState(state);
}

void SystemTransitionSlide::OnReloadCheckpoint() {
    bool any = false;
    for (auto& [entity, slide] : components) {
        if (!slide.ActivateOnReloadCheckpoint) continue;
        slide.Playing = true;
        any = true;
    }
    if (!any) SendMessage(MessageTrigger(trigger::Checkpoint, false));
}

void SystemTransitionSlide::ChangeState(std::string_view state) {
    LeaveStateFor(SendMessage, state);
}
