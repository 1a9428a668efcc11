#include <gtest/gtest.h>

#include <cmath>

#include "tests/particle/ParticleBus.h"

using json = nlohmann::json;

namespace {

/// A bus with a pool "Spark" on entity 1 and an emitter on entity 2 at (10, 20, 0).
struct EmitterFixture {
    explicit EmitterFixture(const json& settings, const json& sprite = json::object()) {
        bus.AddJson(1, "Particle Effect", {{"Name", "Spark"}, {"Sprite", sprite}});
        bus.AddJson(2, "Transform", {{"Translation", {10, 20, 0}}});
        bus.AddJson(2, "Particle Emitter", {{"Spark", settings}});
        bus.recorder.onMessage = [this](const Message& m) {
            if (m.TypeId() == MessageId::PopulateParticlePool) {
                populated.push_back(static_cast<const MessagePopulateParticlePool&>(m).count);
            }
        };
    }
    ComponentParticlePool& Pool() { return bus.Pool("Spark"); }
    EmitterSettings& Settings() { return bus.emitter->components.at(2).effects.at("Spark"); }

    ParticleBus bus;
    std::vector<std::uint64_t> populated;
};

}  // namespace

TEST(ParticleEmitter, BurstBornInOneUpdateThenStops) {
    EmitterFixture f(
        {{"Count", 5}, {"Spawn Rate", 0}, {"Lifetime Minimum", 10}, {"Lifetime Maximum", 10}});
    f.bus.Update(0.016f);
    EXPECT_EQ(f.Pool().Size(), 5u);
    EXPECT_EQ(f.populated, (std::vector<std::uint64_t>{5}));
    EXPECT_FALSE(f.Settings().Start);
    f.bus.Update(0.016f);
    EXPECT_EQ(f.Pool().Size(), 5u);

    // A start message restarts the count.
    f.bus.Send(MessageEmitParticle("Spark", true, 2));
    f.bus.Update(0.016f);
    EXPECT_EQ(f.Pool().Size(), 10u);
}

TEST(ParticleEmitter, SpawnRateCarriesTheRemainderAcrossFrames) {
    EmitterFixture f({{"Spawn Rate", 0.1}, {"Lifetime Minimum", 10}, {"Lifetime Maximum", 10}});
    std::vector<std::size_t> sizes;
    for (int frame = 0; frame < 9; ++frame) {
        f.bus.Update(0.033333335f);
        sizes.push_back(f.Pool().Size());
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{0, 0, 1, 1, 1, 2, 2, 2, 3}));

    // Several births in one long frame, and a count that switches the emitter off at the first
    // birth time after the last particle.
    EmitterFixture g(
        {{"Spawn Rate", 0.1}, {"Count", 3}, {"Lifetime Minimum", 10}, {"Lifetime Maximum", 10}});
    g.bus.Update(0.25f);
    EXPECT_EQ(g.populated, (std::vector<std::uint64_t>{2}));
    EXPECT_TRUE(g.Settings().Start);
    g.bus.Update(0.1f);
    EXPECT_EQ(g.Pool().Size(), 3u);
    EXPECT_TRUE(g.Settings().Start);
    g.bus.Update(0.1f);
    EXPECT_FALSE(g.Settings().Start);
    EXPECT_EQ(g.Pool().Size(), 3u);
}

TEST(ParticleEmitter, NothingBornWithoutCountOrRateOrPoolOrTransform) {
    EmitterFixture f(json::object());
    f.bus.AddJson(3, "Particle Emitter", {{"Nowhere", {{"Count", 4}}}});
    f.bus.AddJson(4, "Particle Emitter", {{"Spark", {{"Count", 4}}}});  // no transform
    f.bus.Update(0.5f);
    EXPECT_EQ(f.Pool().Size(), 0u);
    EXPECT_TRUE(f.populated.empty());
    EXPECT_FLOAT_EQ(f.Settings().accumulator, 0.0f);
    EXPECT_FLOAT_EQ(f.bus.emitter->components.at(3).effects.at("Nowhere").accumulator, 0.0f);

    // Settings loaded stopped wait for a start message; other names and entities are ignored.
    EmitterFixture g(json{{"Start", false}, {"Count", 2}});
    g.bus.Send(MessageEmitParticle("Smoke", true, 2));
    g.bus.Send(MessageEmitParticle("Spark", true, 9));
    g.bus.Update(0.1f);
    EXPECT_EQ(g.Pool().Size(), 0u);
    EXPECT_FALSE(g.bus.Send(MessageEmitParticle("Spark", true, 2)));
    g.bus.Update(0.1f);
    EXPECT_EQ(g.Pool().Size(), 2u);
}

TEST(ParticleEmitter, NewbornsTakePlacementScaleColourAndFrame) {
    EmitterFixture f({{"Count", 20},
                      {"Lifetime Minimum", 1},
                      {"Lifetime Maximum", 2},
                      {"Scale", {2, 4, 1}},
                      {"Scale Minimum", 0.5},
                      {"Scale Maximum", 1.5},
                      {"Color Minimum", {0, 0.5, 1, 0}},
                      {"Color Maximum", {0, 1, 1, 0.5}},
                      {"Translation Offset", {1, -1, 0.5}},
                      {"Index Minimum", 2},
                      {"Index Maximum", 2}},
                     {{"Dimensions", {4, 1}}});
    f.bus.Update(0.016f);
    const ComponentParticlePool& pool = f.Pool();
    ASSERT_EQ(pool.Size(), 20u);
    for (std::size_t i = 0; i < pool.Size(); ++i) {
        EXPECT_EQ(pool.Ages[i].x, 0.0f);
        EXPECT_GE(pool.Ages[i].y, 1.0f);
        EXPECT_LT(pool.Ages[i].y, 2.0f);
        const ComponentTransform& t = pool.Transforms[i];
        EXPECT_EQ(t.translation, glm::vec3(11.0f, 19.0f, 0.5f));
        const float size = t.scale.x / 2.0f;
        EXPECT_GE(size, 0.5f);
        EXPECT_LT(size, 1.5f);
        EXPECT_FLOAT_EQ(t.scale.y, 4.0f * size);
        EXPECT_FLOAT_EQ(t.scale.z, size);
        EXPECT_EQ(pool.Colors[i].r, 0.0f);
        EXPECT_GE(pool.Colors[i].g, 0.5f);
        EXPECT_EQ(pool.Colors[i].b, 1.0f);
        EXPECT_LT(pool.Colors[i].a, 0.5f);
        EXPECT_EQ(pool.Frames[i], glm::ivec2(2, 0));
    }
}

TEST(ParticleEmitter, FramesSplitByCellsPerRowAndSurviveAnEmptySheet) {
    EmitterFixture f({{"Count", 200}, {"Index Minimum", 0}, {"Index Maximum", 11}},
                     {{"Dimensions", {4, 3}}});
    f.bus.Update(0.016f);
    for (const glm::ivec2& frame : f.Pool().Frames) {
        EXPECT_GE(frame.x, 0);
        EXPECT_LT(frame.x, 4);
        EXPECT_GE(frame.y, 0);
        EXPECT_LT(frame.y, 3);
    }
    // A sheet whose row holds no cells counts as one cell per row: frame i is row i.
    EmitterFixture g({{"Count", 3}, {"Index Minimum", 5}, {"Index Maximum", 5}},
                     {{"Dimensions", {0.5, 1}}});
    g.bus.Update(0.016f);
    ASSERT_EQ(g.Pool().Size(), 3u);
    EXPECT_EQ(g.Pool().Frames[0], glm::ivec2(0, 5));
}

TEST(ParticleEmitter, SameSettingsGiveTheSameParticlesEveryRun) {
    const json settings{
        {"Spawn Rate", 0.01},   {"Lifetime Minimum", 0.2},       {"Lifetime Maximum", 0.9},
        {"Scale Minimum", 0.5}, {"Color Minimum", {0, 0, 0, 0}}, {"Index Maximum", 7}};
    auto run = [&] {
        EmitterFixture f(settings, {{"Dimensions", {4, 2}}});
        f.bus.AddJson(1, "Particle Effect Physics",
                      {{"Velocity", {{{0, 1}}, json::array(), json::array()}}});
        f.bus.AddJson(2, "Particle Emitter Spread", {{"Spark", {{"Speed Maximum", 3}}}});
        f.bus.AddJson(2, "Particle Emitter Rectangle", {{"Spark", {{"Spawn Area", {2, 2, 0}}}}});
        for (int frame = 0; frame < 30; ++frame) f.bus.Update(1.0f / 30.0f);
        return f.Pool();
    };
    const ComponentParticlePool a = run();
    const ComponentParticlePool b = run();
    ASSERT_GT(a.Size(), 10u);
    ASSERT_EQ(a.Size(), b.Size());
    for (std::size_t i = 0; i < a.Size(); ++i) {
        EXPECT_EQ(a.Ages[i], b.Ages[i]);
        EXPECT_EQ(a.Transforms[i].translation, b.Transforms[i].translation);
        EXPECT_EQ(a.Transforms[i].rotation, b.Transforms[i].rotation);
        EXPECT_EQ(a.Transforms[i].scale, b.Transforms[i].scale);
        EXPECT_EQ(a.Colors[i], b.Colors[i]);
        EXPECT_EQ(a.Frames[i], b.Frames[i]);
    }
}

TEST(ParticleEmitter, FirstDrawsFollowTheDefaultSeed) {
    // Lifetime, size, r, g, b, a, frame: the first draws of a generator seeded 5489.
    EmitterFixture f({{"Count", 1},
                      {"Lifetime Maximum", 1},
                      {"Scale Minimum", 0},
                      {"Color Minimum", {0, 0, 0, 0}},
                      {"Index Maximum", 100}});
    f.bus.Update(0.0f);
    std::mt19937 reference(5489u);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const float lifetime = unit(reference);
    const float size = unit(reference);
    glm::vec4 color;
    for (int c = 0; c < 4; ++c) color[c] = unit(reference);
    const int frame = std::uniform_int_distribution<int>(0, 100)(reference);
    const ComponentParticlePool& pool = f.Pool();
    ASSERT_EQ(pool.Size(), 1u);
    EXPECT_EQ(pool.Ages[0].y, lifetime);
    EXPECT_EQ(pool.Transforms[0].scale.x, size);
    EXPECT_EQ(pool.Colors[0], color);
    EXPECT_EQ(pool.Frames[0], glm::ivec2(0, frame));
}

TEST(ParticleEmitter, BadSettingsAreRejected) {
    ParticleBus bus;
    auto add = [&](const json& settings) {
        bus.AddJson(2, "Particle Emitter", {{"Spark", settings}});
    };
    EXPECT_THROW(add({{"Count", true}}), json::type_error);
    EXPECT_THROW(add({{"Count", -1}}), json::out_of_range);
    EXPECT_THROW(add({{"Count", -0.5}}), json::out_of_range);
    EXPECT_THROW(add({{"Spawn Rate", -0.1}}), json::out_of_range);
    EXPECT_THROW(add({{"Start", 1}}), json::type_error);
    EXPECT_THROW(add(3), json::type_error);
    EXPECT_TRUE(bus.emitter->components.empty());
    add({{"Count", 2.7}});
    EXPECT_EQ(bus.emitter->components.at(2).effects.at("Spark").Count, 2u);
}

TEST(ParticleEmitter, RunawayRatesAreBounded) {
    // A rate too small for a float accumulator to ever drain would otherwise never return.
    EmitterFixture f({{"Spawn Rate", 1e-12}, {"Lifetime Minimum", 0.5}, {"Lifetime Maximum", 0.5}});
    f.bus.Update(0.1f);
    ASSERT_EQ(f.populated.size(), 1u);
    EXPECT_GT(f.populated[0], 1000u);
    EXPECT_LE(f.populated[0], 1000000u);
    f.bus.Update(0.1f);
    EXPECT_EQ(f.populated.size(), 2u);

    // Settings built in code with a negative rate act as a burst, so without a count: nothing.
    EmitterFixture g(json{{"Count", 0}});
    g.Settings().SpawnRate = -1.0f;
    g.bus.Update(0.1f);
    EXPECT_TRUE(g.populated.empty());
    g.Settings().Count = 3;
    g.bus.Update(0.1f);
    EXPECT_EQ(g.populated, (std::vector<std::uint64_t>{3}));
}

// An effect started for an entity that is destroyed before the emitter's next birth pass (the
// destruction reaches every system at the start of the next update, transform first) is still
// born, where the entity last was, and still shaped by the entity's own spread settings.
TEST(ParticleEmitter, AStartedBurstOutlivesItsDestroyedEmitter) {
    EmitterFixture f(json{{"Start", false},
                          {"Count", 4},
                          {"Lifetime Minimum", 10},
                          {"Lifetime Maximum", 10},
                          {"Translation Offset", {1, 0, 0}}});
    f.bus.AddJson(2, "Particle Emitter Spread",
                  {{"Spark", {{"Speed Minimum", 3}, {"Speed Maximum", 3}}}});
    f.bus.AddJson(1, "Particle Effect Physics", json::object());
    f.bus.Update(0.016f);
    ASSERT_EQ(f.Pool().Size(), 0u);

    f.bus.Send(MessageEmitParticle("Spark", true, 2));
    f.bus.Send(MessageDestroyEntity(2));
    EXPECT_EQ(f.Pool().Size(), 4u);
    EXPECT_EQ(f.populated, (std::vector<std::uint64_t>{4}));
    EXPECT_EQ(f.bus.emitter->components.count(2), 0u);
    for (const ComponentTransform& t : f.Pool().Transforms) {
        EXPECT_FLOAT_EQ(t.translation.x, 11.0f);
        EXPECT_FLOAT_EQ(t.translation.y, 20.0f);
    }
    ASSERT_EQ(f.bus.physics->components.at(1).Particles.size(), 4u);
    for (const auto& particle : f.bus.physics->components.at(1).Particles) {
        EXPECT_NEAR(glm::length(glm::vec2(particle.Velocity)), 3.0f, 1e-4f);
    }
    f.bus.Update(0.016f);
    EXPECT_EQ(f.Pool().Size(), 4u) << "the particles live on after the emitter";

    // An effect that was not started, or already finished, gives nothing at destruction.
    EmitterFixture quiet(json{{"Start", false}, {"Count", 4}});
    quiet.bus.Send(MessageDestroyEntity(2));
    EmitterFixture spent(json{{"Count", 2}, {"Lifetime Minimum", 10}, {"Lifetime Maximum", 10}});
    spent.bus.Update(0.016f);
    spent.bus.Send(MessageDestroyEntity(2));
    EXPECT_EQ(quiet.Pool().Size(), 0u);
    EXPECT_EQ(spent.Pool().Size(), 2u);
}
