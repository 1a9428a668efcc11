#include <gtest/gtest.h>

#include "engine/MessageSpriteRender.h"
#include "tests/particle/ParticleBus.h"

using json = nlohmann::json;

namespace {

/// Gives particle i of `pool` the marker i in every array, to follow it through removals.
void Mark(ComponentParticlePool& pool) {
    for (std::size_t i = 0; i < pool.Size(); ++i) {
        const auto f = static_cast<float>(i);
        pool.Transforms[i].translation.x = f;
        pool.Colors[i].r = f;
        pool.Frames[i].x = static_cast<int>(i);
    }
}

}  // namespace

TEST(ParticlePool, AgesUntilTheLifetimeIsExceeded) {
    ParticleBus bus;
    bus.AddJson(1, "Particle Effect", {{"Name", "Spark"}});
    bus.Populate(7, "Spark", 1, 0.5f);

    bus.Update(0.25f);
    bus.Update(0.25f);
    // Age 0.5 is not greater than the lifetime 0.5.
    EXPECT_EQ(bus.Pool("Spark").Size(), 1u);
    bus.Update(0.25f);
    EXPECT_EQ(bus.Pool("Spark").Size(), 0u);
}

TEST(ParticlePool, RemovalSwapsTheLastInAndTheListReplaysOnParallelArrays) {
    ParticleBus bus;
    bus.AddJson(1, "Particle Effect", {{"Name", "Spark"}});
    bus.AddJson(1, "Particle Effect Physics", json::object());
    ComponentParticlePool& pool = bus.Pool("Spark");
    bus.Populate(7, "Spark", 5, 10.0f);
    Mark(pool);
    pool.Ages[1].y = 0.0f;
    pool.Ages[3].y = 0.0f;
    ComponentParticlePoolPhysics& records = bus.physics->components.at(1);
    ASSERT_EQ(records.Particles.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i)
        records.Particles[i].PreviousTranslation.x = static_cast<float>(i);

    std::vector<std::uint64_t> sent;
    bus.recorder.onMessage = [&](const Message& m) {
        if (m.TypeId() != MessageId::DeleteParticlePool) return;
        const auto& deleted = static_cast<const MessageDeleteParticlePool&>(m);
        EXPECT_EQ(deleted.entity, 1);
        sent = deleted.indices;
    };
    bus.Send(MessageUpdate(0.1f));

    EXPECT_EQ(sent, (std::vector<std::uint64_t>{1, 3}));
    // 4 moved into slot 1 and survived; 3 was then last and dropped.
    const std::vector<float> expected{0, 4, 2};
    ASSERT_EQ(pool.Size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(pool.Transforms[i].translation.x, expected[i]);
        EXPECT_EQ(pool.Colors[i].r, expected[i]);
        EXPECT_EQ(pool.Frames[i].x, static_cast<int>(expected[i]));
        EXPECT_FLOAT_EQ(pool.Ages[i].x, 0.1f);
        EXPECT_EQ(records.Particles[i].PreviousTranslation.x, expected[i]);
    }
    EXPECT_EQ(records.Particles.size(), 3u);
}

TEST(ParticlePool, DrawsOneBatchPerNonEmptyPool) {
    ParticleBus bus;
    bus.AddJson(1, "Particle Effect",
                {{"Name", "Spark"}, {"Sprite", {{"Texture", "Fx/spark"}, {"Dimensions", {4, 2}}}}});
    bus.AddJson(2, "Particle Effect", {{"Name", "Smoke"}});
    bus.Populate(7, "Spark", 3, 1.0f);

    std::vector<std::string> textures;
    bus.recorder.onMessage = [&](const Message& m) {
        if (m.TypeId() != MessageId::SpriteRenderBatch) return;
        const auto& batch = static_cast<const MessageSpriteRenderBatch&>(m);
        textures.push_back(batch.sprite.texture);
        EXPECT_EQ(batch.transforms.size(), 3u);
        EXPECT_EQ(batch.colors.size(), 3u);
        EXPECT_EQ(batch.frames.size(), 3u);
        EXPECT_EQ(batch.sprite.dimensions, glm::vec2(4.0f, 2.0f));
    };
    bus.Render();
    EXPECT_EQ(textures, (std::vector<std::string>{"Fx/spark"}));
}

TEST(ParticlePool, NamesKeepTheirFirstLivePool) {
    ParticleBus bus;
    bus.AddJson(1, "Particle Effect", {{"Name", "Spark"}});
    bus.AddJson(2, "Particle Effect", {{"Name", "Spark"}});
    EntityId reached = 0;
    const MessageQueryParticlePool::Callback who = [&](EntityId e, ComponentParticlePool&) {
        reached = e;
    };
    EXPECT_TRUE(bus.Send(MessageQueryParticlePool("Spark", who)));
    EXPECT_EQ(reached, 1);

    // Once the first pool's entity is gone, its name answers nothing...
    bus.Send(MessageDestroyEntity(1));
    reached = 0;
    EXPECT_TRUE(bus.Send(MessageQueryParticlePool("Spark", who)));
    EXPECT_EQ(reached, 0);
    EXPECT_TRUE(bus.Send(MessageQueryParticlePool("Unknown", who)));
    EXPECT_EQ(reached, 0);
    // ...and is free for the next pool that claims it, as an unregistered name would be.
    bus.AddJson(3, "Particle Effect", {{"Name", "Spark"}});
    EXPECT_TRUE(bus.Send(MessageQueryParticlePool("Spark", who)));
    EXPECT_EQ(reached, 3);
}

TEST(ParticlePool, BadDataAddsNoPoolAndClaimsNoName) {
    ParticleBus bus;
    EXPECT_THROW(bus.AddJson(1, "Particle Effect", json::object()), json::out_of_range);
    EXPECT_THROW(bus.AddJson(1, "Particle Effect", {{"Name", 3}}), json::type_error);
    EXPECT_THROW(bus.AddJson(1, "Particle Effect", {{"Name", "Spark"}, {"Sprite", 1}}),
                 json::type_error);
    EXPECT_THROW(
        bus.AddJson(1, "Particle Effect", {{"Name", "Spark"}, {"Sprite", {{"Dimensions", {4}}}}}),
        json::out_of_range);
    EXPECT_TRUE(bus.pool->components.empty());
    EXPECT_TRUE(bus.pool->names.empty());
    bus.AddJson(2, "Particle Effect", {{"Name", "Spark"}});
    EXPECT_EQ(bus.pool->names.at("Spark"), 2);
}
