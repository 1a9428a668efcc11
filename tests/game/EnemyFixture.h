#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <glm/vec3.hpp>
#include <nlohmann/json.hpp>

#include "engine/SystemTransform.h"
#include "physics2d/SystemPhysics.h"
#include "tests/game/GameFixture.h"

/// A state built from the game's own roster, with what enemies ask of the outside services
/// (animations, sounds, effects) written down as it passes.
struct EnemyTest : ::testing::Test {
    struct AnimationRequest {
        EntityId entity;
        std::string name;
        bool loop;
        float speed;
    };
    struct Effect {
        EntityId entity;
        std::string name;
    };

    /// Writes scene "Level" and enters it.
    void Start(const nlohmann::json& scene);
    /// A patrolling enemy file "Walker": box half size (0.4, 0.45), no gravity.
    void WriteWalker(const nlohmann::json& behavior, const nlohmann::json& collider = {});
    /// A player bullet file "Pellet"; scenes give its place and velocity.
    void WritePellet();

    /// Entities made from `file` that still have a transform.
    std::vector<EntityId> Live(const std::string& file);
    bool Alive(EntityId entity);
    ComponentTransform Transform(EntityId entity);
    ComponentPhysics Body(EntityId entity);
    std::vector<AnimationRequest> AnimationsOf(EntityId entity) const;
    int Count(const std::vector<std::string>& names, const std::string& name) const;
    /// Writes down the requests of interest as the state offers them to its systems.
    void See(const Message& message);

    TempAssets assets;
    std::unique_ptr<TestEngine> test;
    std::vector<AnimationRequest> animations;
    std::vector<std::string> sounds;
    std::vector<Effect> effects;
    /// Names of the triggers sent with the value true.
    std::vector<std::string> triggers;
};
