#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <glm/vec3.hpp>
#include <nlohmann/json.hpp>

#include "engine/SystemTransform.h"
#include "game/Roster.h"
#include "particle/MessageEmitParticle.h"
#include "services/animation/MessageAnimation.h"
#include "tests/game/GameFixture.h"
#include "tests/support/KeptFields.h"
#include "tests/support/MessageSpy.h"

/// A level "Level" built from the game's own roster: a weightless player "Hero" at the origin
/// with three lives (one of them missing) and whatever else a test puts in its scene.
struct GoalsTest : ::testing::Test {
    struct Emit {
        std::string effect;
        bool start;
        EntityId entity;
    };
    struct Animation {
        EntityId entity;
        std::string name;
        bool queued;
        float delay;
        float speed;
    };

    void Start(const nlohmann::json& scene) {
        assets.Entity("Hero", {{"Transform", {{"Translation", {0, 0, 0}}}},
                               {"Box Collider", {{"Size", {0.4, 0.9}}}},
                               {"Physics", nlohmann::json::object()},
                               {"Player Controller", nlohmann::json::object()},
                               {"Player Collision Handler", nlohmann::json::object()},
                               {"Player Health", {{"Max Health", 3}}},
                               {"Audio Listener", nlohmann::json::object()}});
        nlohmann::json full = scene;
        full["Hero"] = "Hero";
        assets.Scene("Level", full);
        assets.Scene("Done", nlohmann::json::object());
        // The spy sees each message before any system can consume it: the animation system
        // takes "set animation" for the entities it animates.
        auto roster = MakeRoster();
        roster.insert(
            roster.begin(), std::make_unique<MessageSpy>([this](const Message& message) {
                if (auto* emit = MessageAs<MessageEmitParticle>(message)) {
                    emits.push_back({std::string(emit->Effect), emit->Start, emit->Entity});
                } else if (auto* set = MessageAs<MessageSetAnimation>(message)) {
                    animations.push_back(
                        {set->entity, std::string(set->name), set->queued, set->delay, set->speed});
                }
            }));
        test = std::make_unique<TestEngine>(std::move(roster));
        test->Enter("Level");
        hero = FindEntity(*test, "Hero");
        ASSERT_NE(hero, 0);
    }

    void Place(EntityId entity, float x, float y) {
        ASSERT_TRUE(test->Query<ComponentTransform>(entity, [&](ComponentTransform& t) {
            t.translation.x = x;
            t.translation.y = y;
        }));
    }
    glm::vec3 Where(EntityId entity) {
        glm::vec3 p{0.0f};
        EXPECT_TRUE(test->Query<ComponentTransform>(
            entity, [&](ComponentTransform& t) { p = t.translation; }));
        return p;
    }
    /// How often a message of type `id` (a trigger, a sound, an audio parameter) reached the
    /// end of the bus with these fields.
    int CountSent(int id, const Sent& fields) { return test->recorder->Count(id, fields); }
    int CountEmits(const std::string& effect, bool start) {
        int n = 0;
        for (const auto& e : emits) n += e.effect == effect && e.start == start;
        return n;
    }
    void ClearRecords() {
        test->recorder->Clear();
        emits.clear();
        animations.clear();
    }

    TempAssets assets;
    std::unique_ptr<TestEngine> test;
    EntityId hero = 0;
    std::vector<Emit> emits;
    std::vector<Animation> animations;
};
