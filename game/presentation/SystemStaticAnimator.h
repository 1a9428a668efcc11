#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// Starts one looping animation on its entity at the entity's first update (torches, flags,
/// water).
struct ComponentStaticAnimator {
    static constexpr std::string_view kName = "Static Animator";

    std::string AnimationToPlay;
    /// The request has been made.
    bool AnimationStarted = false;
};

void from_json(const nlohmann::json& j, ComponentStaticAnimator& animator);

class SystemStaticAnimator : public System<ComponentStaticAnimator, SystemStaticAnimator> {
public:
    bool HandleMessage(const Message& message) override;
};
