#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/particle/ParticleBus.h"

using json = nlohmann::json;

namespace {

/// Pool "Fx" on entity 1 (with pool physics), an emitter of `count` particles on entity 2 at
/// (10, 20, 3) with the given companions, after one update.
ComponentParticlePool& Emit(ParticleBus& bus, std::uint64_t count, const json& companions,
                            bool poolPhysics = true) {
    bus.AddJson(1, "Particle Effect", {{"Name", "Fx"}});
    if (poolPhysics) bus.AddJson(1, "Particle Effect Physics", json::object());
    bus.AddJson(2, "Transform", {{"Translation", {10, 20, 3}}});
    bus.AddJson(2, "Particle Emitter",
                {{"Fx", {{"Count", count}, {"Lifetime Minimum", 9}, {"Lifetime Maximum", 9}}}});
    for (const auto& [name, value] : companions.items()) bus.AddJson(2, name, {{"Fx", value}});
    bus.Update(0.0f);
    return bus.Pool("Fx");
}

}  // namespace

TEST(ParticleEmitterRectangle, DefaultsSpreadOverTheWholeArea) {
    ParticleBus bus;
    const ComponentParticlePool& pool =
        Emit(bus, 400, {{"Particle Emitter Rectangle", {{"Spawn Area", {4, 2, 6}}}}});
    ASSERT_EQ(pool.Size(), 400u);
    glm::vec3 low(1e9f), high(-1e9f);
    for (const ComponentTransform& t : pool.Transforms) {
        low = glm::min(low, t.translation);
        high = glm::max(high, t.translation);
    }
    // x and y cover [-half, half) around the emitter; z's single boundary is the unit range.
    EXPECT_GE(low.x, 8.0f);
    EXPECT_LT(high.x, 12.0f);
    EXPECT_LT(low.x, 8.5f);
    EXPECT_GT(high.x, 11.5f);
    EXPECT_GE(low.y, 19.0f);
    EXPECT_LT(high.y, 21.0f);
    EXPECT_GE(low.z, 3.0f);
    EXPECT_LT(high.z, 6.0f);
    EXPECT_GT(high.z, 5.5f);
}

TEST(ParticleEmitterRectangle, WeightsChooseThePieces) {
    ParticleBus bus;
    const ComponentParticlePool& pool = Emit(bus, 200,
                                             {{"Particle Emitter Rectangle",
                                               {{"Spawn Area", {2, 2, 0}},
                                                {"Intervals", {{-1, 0, 0.5, 1}, {-1, 1}, {0}}},
                                                {"Weights", {{0, 0, 1, 7}, {1}, json::array()}}}}});
    for (const ComponentTransform& t : pool.Transforms) {
        EXPECT_GE(t.translation.x, 10.5f);
        EXPECT_EQ(t.translation.z, 3.0f);
    }
}

TEST(ParticleEmitterRectangle, BrokenDistributionsAreRejected) {
    ParticleBus bus;
    auto add = [&](const json& settings) {
        bus.AddJson(2, "Particle Emitter Rectangle", {{"Fx", settings}});
    };
    // Fewer weights than pieces would be read past the end.
    EXPECT_THROW(add({{"Intervals", {{-1, 0, 1, 2}, {-1, 1}, {0}}}}), json::other_error);
    EXPECT_THROW(add({{"Intervals", {{1, -1}, {-1, 1}, {0}}}}), json::other_error);
    EXPECT_THROW(add({{"Weights", {{0, 0}, {1}, {1}}}}), json::other_error);
    EXPECT_THROW(add({{"Weights", {{-1, 2}, {1}, {1}}}}), json::other_error);
    EXPECT_THROW(add({{"Weights", {{1}, {1}}}}), json::out_of_range);
    EXPECT_THROW(add({{"Weights", {1, 2, 3}}}), json::type_error);
    EXPECT_TRUE(bus.rectangle->components.empty());
}

TEST(ParticleEmitterSpread, DefaultsTurnAboutZWithoutSpeed) {
    ParticleBus bus;
    const ComponentParticlePool& pool =
        Emit(bus, 100, {{"Particle Emitter Spread", json::object()}});
    const auto& records = bus.physics->components.at(1).Particles;
    ASSERT_EQ(records.size(), 100u);
    float highest = 0.0f;
    for (std::size_t i = 0; i < pool.Size(); ++i) {
        const glm::vec3& r = pool.Transforms[i].rotation;
        EXPECT_EQ(r.x, 0.0f);
        EXPECT_EQ(r.y, 0.0f);
        EXPECT_GE(r.z, 0.0f);
        EXPECT_LT(r.z, 6.2831855f);
        highest = std::max(highest, r.z);
        EXPECT_EQ(records[i].Velocity, glm::vec3(0.0f));
        EXPECT_EQ(records[i].Acceleration, glm::vec3(0.0f));
    }
    EXPECT_GT(highest, 5.0f);
}

TEST(ParticleEmitterSpread, LaunchesAlongTheNewHeading) {
    ParticleBus bus;
    const ComponentParticlePool& pool =
        Emit(bus, 10,
             {{"Particle Emitter Spread",
               {{"Angle Minimum", {0, 0.5, 1}},
                {"Angle Maximum", {0, 0.5, 1}},
                {"Speed Minimum", 2},
                {"Speed Maximum", 2},
                {"Acceleration Minimum", -1},
                {"Acceleration Maximum", -1},
                {"Directional Acceleration Minimum", {0, -9, 0}},
                {"Directional Acceleration Maximum", {0, -9, 0}}}}});
    const glm::vec3 heading(std::cos(1.0f) * std::cos(0.5f), std::sin(1.0f) * std::cos(0.5f),
                            std::sin(0.5f));
    const auto& records = bus.physics->components.at(1).Particles;
    for (std::size_t i = 0; i < pool.Size(); ++i) {
        EXPECT_EQ(pool.Transforms[i].rotation, glm::vec3(0.0f, 0.5f, 1.0f));
        EXPECT_NEAR(glm::length(records[i].Velocity - 2.0f * heading), 0.0f, 1e-6f);
        const glm::vec3 acceleration = -heading + glm::vec3(0.0f, -9.0f, 0.0f);
        EXPECT_NEAR(glm::length(records[i].Acceleration - acceleration), 0.0f, 1e-6f);
    }
    // The pool physics then moves them.
    bus.Update(0.5f);
    EXPECT_NEAR(pool.Transforms[0].translation.z,
                3.0f + (2.0f * heading.z - 0.5f * heading.z) * 0.5f, 1e-5f);
}

TEST(ParticleEmitterSpread, NeverWritesPastThePhysicsRecords) {
    // Pool physics placed after the spread: its records do not exist yet when the spread runs.
    ParticleBus bus;
    auto& handlers = bus.handlers;
    auto physics = std::find(handlers.begin(), handlers.end(), bus.physics);
    std::rotate(physics, physics + 1, handlers.end());
    const ComponentParticlePool& pool =
        Emit(bus, 10, {{"Particle Emitter Spread", {{"Speed Maximum", 5}}}});
    EXPECT_EQ(pool.Size(), 10u);
    for (const ComponentTransform& t : pool.Transforms) EXPECT_EQ(t.rotation, glm::vec3(0.0f));
    const auto& records = bus.physics->components.at(1).Particles;
    ASSERT_EQ(records.size(), 10u);
    for (const ComponentPhysics& r : records) EXPECT_EQ(r.Velocity, glm::vec3(0.0f));

    // A populate count beyond the pool's size touches only the particles there are.
    ParticleBus over;
    ComponentParticlePool& small = Emit(over, 2, {{"Particle Emitter Spread", json::object()}});
    small.Transforms[0].rotation = glm::vec3(0.0f);
    over.Send(MessagePopulateParticlePool(2, "Fx", 1000));
    EXPECT_NE(small.Transforms[0].rotation.z, 0.0f);
    EXPECT_EQ(over.physics->components.at(1).Particles.size(), 2u);
}
