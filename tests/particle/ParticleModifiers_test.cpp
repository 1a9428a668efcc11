#include <gtest/gtest.h>

#include "tests/particle/ParticleBus.h"

using json = nlohmann::json;

namespace {

/// Entity 1 holds the pool "Fx" with the given sprite and modifiers.
ComponentParticlePool& MakePool(ParticleBus& bus, const json& modifiers,
                                const json& sprite = json::object()) {
    bus.AddJson(1, "Particle Effect", {{"Name", "Fx"}, {"Sprite", sprite}});
    for (const auto& [name, value] : modifiers.items()) bus.AddJson(1, name, value);
    return bus.Pool("Fx");
}

}  // namespace

TEST(ParticlePoolColor, CurvesSetChannelsOverLife) {
    ParticleBus bus;
    ComponentParticlePool& pool = MakePool(
        bus, {{"Particle Effect Color",
               {{"Color", {json::array(), {{0.5, 0.2}}, json::array(), {{0, 1}, {1, 0}}}}}}});
    bus.Populate(7, "Fx", 1, 1.0f);
    pool.Colors[0] = {0.3f, 0.9f, 0.4f, 1.0f};
    bus.Update(0.25f);
    EXPECT_EQ(pool.Colors[0], glm::vec4(0.3f, 0.2f, 0.4f, 0.75f));
    bus.Update(0.5f);
    EXPECT_FLOAT_EQ(pool.Colors[0].a, 0.25f);
    EXPECT_FLOAT_EQ(pool.Colors[0].g, 0.2f);
}

TEST(ParticlePoolAnimation, LoopsOrHoldsTheLastFrame) {
    ParticleBus bus;
    ComponentParticlePool& pool = MakePool(
        bus, {{"Particle Effect Animation", {{"FPS", 10}, {"Frames", 4}, {"Looping", false}}}},
        {{"Dimensions", {2, 2}}});
    bus.Populate(7, "Fx", 1, 10.0f);
    bus.Update(0.35f);
    EXPECT_EQ(pool.Frames[0], glm::ivec2(1, 1));  // frame 3
    bus.Update(1.65f);
    EXPECT_EQ(pool.Frames[0], glm::ivec2(1, 1));  // age 2: still frame 3

    ParticleBus looping;
    ComponentParticlePool& loop =
        MakePool(looping, {{"Particle Effect Animation", {{"FPS", 10}, {"Frames", 4}}}},
                 {{"Dimensions", {2, 2}}});
    looping.Populate(7, "Fx", 1, 10.0f);
    looping.Update(0.45f);
    EXPECT_EQ(loop.Frames[0], glm::ivec2(0, 0));  // frame 4 wraps to 0
    looping.Update(0.1f);
    EXPECT_EQ(loop.Frames[0], glm::ivec2(1, 0));
}

TEST(ParticlePoolAnimation, NoFramesOrNoColumnsHoldTheFirstCells) {
    ParticleBus bus;
    ComponentParticlePool& pool =
        MakePool(bus, {{"Particle Effect Animation", {{"FPS", 10}, {"Frames", 0}}}});
    bus.Populate(7, "Fx", 1, 10.0f);
    bus.Update(0.55f);
    EXPECT_EQ(pool.Frames[0], glm::ivec2(0, 0));

    // A sheet without cells in a row: one cell per row, so frame k is row k.
    ParticleBus flat;
    ComponentParticlePool& column =
        MakePool(flat, {{"Particle Effect Animation", {{"FPS", 10}, {"Frames", 8}}}},
                 {{"Dimensions", {0, 4}}});
    flat.Populate(7, "Fx", 1, 10.0f);
    flat.Update(0.55f);
    EXPECT_EQ(column.Frames[0], glm::ivec2(0, 5));

    // Frame numbers beyond int neither overflow nor go negative; a backwards rate holds still.
    for (const auto& [settings, expected] :
         {std::pair{json{{"FPS", 1e9}, {"Frames", 4}}, glm::ivec2(0, 0)},
          std::pair{json{{"FPS", 1e9}, {"Frames", 4}, {"Looping", false}}, glm::ivec2(1, 1)},
          std::pair{json{{"FPS", -10}, {"Frames", 4}}, glm::ivec2(0, 0)},
          // Age times rate beyond a float: infinity, which has no whole frame number.
          std::pair{json{{"FPS", 3e38}, {"Frames", 4}}, glm::ivec2(0, 0)},
          std::pair{json{{"FPS", 3e38}, {"Frames", 4}, {"Looping", false}}, glm::ivec2(1, 1)}}) {
        ParticleBus fast;
        ComponentParticlePool& p =
            MakePool(fast, {{"Particle Effect Animation", settings}}, {{"Dimensions", {2, 2}}});
        fast.Populate(7, "Fx", 1, 100.0f);
        fast.Update(10.0f);
        EXPECT_EQ(p.Frames[0], expected) << settings.dump();
    }
}

TEST(ParticlePoolPhysics, MovesByRecordAndCurvesAndScales) {
    ParticleBus bus;
    const json physics{{"Velocity", {{{0, 2}}, json::array(), json::array()}},
                       {"Scale", {json::array(), {{0, 1}, {1, 3}}, json::array()}}};
    ComponentParticlePool& pool = MakePool(bus, {{"Particle Effect Physics", physics}});
    bus.Populate(7, "Fx", 1, 2.0f);
    pool.Transforms[0].scale = {5.0f, 5.0f, 5.0f};
    ComponentPhysics& record = bus.physics->components.at(1).Particles.at(0);
    record.Velocity = {0.0f, 1.0f, 0.0f};
    record.Acceleration = {0.0f, 0.0f, -4.0f};

    bus.Update(0.5f);
    // The new velocity is used: z moves by (-4 * 0.5) * 0.5.
    EXPECT_EQ(pool.Transforms[0].translation, glm::vec3(1.0f, 0.5f, -1.0f));
    EXPECT_EQ(record.Velocity, glm::vec3(0.0f, 1.0f, -2.0f));
    EXPECT_EQ(pool.Transforms[0].scale, glm::vec3(5.0f, 1.5f, 5.0f));
}

TEST(ParticlePoolPhysics, FollowsTheEntityOrItsParent) {
    ParticleBus bus;
    ComponentParticlePool& pool = MakePool(bus, {{"Particle Effect Physics", {{"Follow", true}}},
                                                 {"Physics", {{"Velocity", {3, 0, 0}}}}});
    bus.Populate(7, "Fx", 1, 10.0f);
    bus.Update(0.5f);
    EXPECT_EQ(pool.Transforms[0].translation, glm::vec3(1.5f, 0.0f, 0.0f));

    // A still entity rides on its moving parent.
    ParticleBus riding;
    riding.AddJson(5, "Physics", {{"Velocity", {0, -2, 0}}});
    riding.AddJson(5, "Transform", json::object());
    ComponentParticlePool& carried =
        MakePool(riding, {{"Particle Effect Physics", {{"Follow", true}}},
                          {"Physics", json::object()},
                          {"Transform", {{"Parent", 5}}}});
    riding.Populate(7, "Fx", 1, 10.0f);
    riding.Update(0.5f);
    EXPECT_EQ(carried.Transforms[0].translation, glm::vec3(0.0f, -1.0f, 0.0f));

    // Without "Follow" the entity's motion is ignored.
    ParticleBus still;
    ComponentParticlePool& alone = MakePool(still, {{"Particle Effect Physics", json::object()},
                                                    {"Physics", {{"Velocity", {3, 0, 0}}}}});
    still.Populate(7, "Fx", 1, 10.0f);
    still.Update(0.5f);
    EXPECT_EQ(alone.Transforms[0].translation, glm::vec3(0.0f));
}

TEST(ParticlePoolPhysics, RecordsAddedLateNeverIndexPastEitherArray) {
    ParticleBus bus;
    ComponentParticlePool& pool = MakePool(bus, json::object());
    bus.Populate(7, "Fx", 3, 10.0f);
    // The modifier arrives after three particles were born: no records yet.
    bus.AddJson(1, "Particle Effect Physics", {{"Velocity", {{{0, 1}}, {{0, 1}}, {{0, 1}}}}});
    auto& records = bus.physics->components.at(1).Particles;
    bus.Update(0.5f);
    EXPECT_EQ(pool.Transforms[0].translation, glm::vec3(0.0f));
    // Deleting particles the records never had is harmless.
    bus.Send(MessageDeleteParticlePool(1, {2, 0, 9}));
    EXPECT_TRUE(records.empty());

    // The next births realign the records with the pool, one per particle.
    bus.Populate(7, "Fx", 2, 10.0f);
    EXPECT_EQ(records.size(), pool.Size());
    bus.Update(0.5f);
    for (std::size_t i = 0; i < pool.Size(); ++i) {
        EXPECT_FLOAT_EQ(pool.Transforms[i].translation.x, 0.5f);
    }
}

TEST(ParticlePoolModifiers, BadDataIsRejected) {
    ParticleBus bus;
    EXPECT_THROW(bus.AddJson(1, "Particle Effect Physics", {{"Velocity", 1}}), json::type_error);
    EXPECT_THROW(bus.AddJson(1, "Particle Effect Physics", {{"Scale", {1, 2, 3}}}),
                 json::type_error);
    EXPECT_THROW(bus.AddJson(1, "Particle Effect Physics", {{"Follow", 1}}), json::type_error);
    EXPECT_THROW(bus.AddJson(1, "Particle Effect Color",
                             {{"Color", {json::array(), json::array(), json::array()}}}),
                 json::out_of_range);
    EXPECT_THROW(bus.AddJson(1, "Particle Effect Animation", {{"Looping", "yes"}}),
                 json::type_error);
    EXPECT_THROW(bus.AddJson(1, "Particle Effect Animation", {{"FPS", "fast"}}), json::type_error);
    // Modifiers without a pool do nothing.
    bus.AddJson(1, "Particle Effect Physics", json::object());
    bus.AddJson(1, "Particle Effect Color", json::object());
    bus.AddJson(1, "Particle Effect Animation", json::object());
    bus.Update(0.1f);
    EXPECT_TRUE(bus.physics->components.at(1).Particles.empty());
}

TEST(ParticlePoolAnimation, ARateBeyondAFloatIsADataErrorNamingIt) {
    try {
        (void)json{{"FPS", 1e39}, {"Frames", 4}}.get<ComponentParticlePoolAnimation>();
        ADD_FAILURE() << "an infinite rate was read";
    } catch (const json::exception& e) {
        EXPECT_NE(std::string(e.what()).find("\"FPS\""), std::string::npos) << e.what();
    }
}
