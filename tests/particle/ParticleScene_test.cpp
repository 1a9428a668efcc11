#include <gtest/gtest.h>

#include "engine/DataError.h"
#include "particle/VornParticle.h"
#include "tests/particle/ParticleBus.h"
#include "tests/support/KeptFields.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

using json = nlohmann::json;

namespace {

/// The particle systems in the game's order, behind the transform and physics stores.
std::vector<std::unique_ptr<SystemBase>> Roster() {
    std::vector<std::unique_ptr<SystemBase>> systems;
    systems.push_back(std::make_unique<PhysicsStore>());
    systems.push_back(std::make_unique<SystemTransform>());
    systems.push_back(std::make_unique<SystemParticlePool>());
    systems.push_back(std::make_unique<SystemParticlePoolPhysics>());
    systems.push_back(std::make_unique<SystemParticlePoolColor>());
    systems.push_back(std::make_unique<SystemParticlePoolAnimation>());
    systems.push_back(std::make_unique<SystemParticleEmitter>());
    systems.push_back(std::make_unique<SystemParticleEmitterSpread>());
    systems.push_back(std::make_unique<SystemParticleEmitterRectangle>());
    return systems;
}

}  // namespace

TEST(ParticleScene, EffectsFromEntityFilesLiveAndDieInAState) {
    TempAssets assets;
    assets.Entity("Sparks",
                  {{"Particle Effect", {{"Name", "Spark"}, {"Sprite", {{"Texture", "Fx"}}}}},
                   {"Particle Effect Physics", json::object()},
                   {"Particle Effect Color",
                    {{"Color", {json::array(), json::array(), json::array(), {{0, 1}, {1, 0}}}}}},
                   {"Particle Effect Animation", {{"Frames", 2}}}});
    assets.Entity(
        "Torch",
        {{"Transform", {{"Translation", {5, 5, 0}}}},
         {"Particle Emitter",
          {{"Spark", {{"Count", 5}, {"Lifetime Minimum", 0.05}, {"Lifetime Maximum", 0.05}}}}},
         {"Particle Emitter Spread", {{"Spark", {{"Speed Maximum", 1}}}}},
         {"Particle Emitter Rectangle", {{"Spark", {{"Spawn Area", {2, 2, 0}}}}}}});
    assets.Scene("Level", {{"a", "Sparks"}, {"b", "Torch"}});

    TestEngine test(Roster());
    // The frame that enters the level is the emitter's first.
    test.Enter("Level");
    EXPECT_EQ(test.recorder->Fields(MessageId::PopulateParticlePool),
              (std::vector<Sent>{{"Spark", 5, 2}}));
    EXPECT_EQ(test.recorder->Count(MessageId::SpriteRenderBatch), 1);
    EXPECT_TRUE(test.Query<ComponentParticlePoolPhysics>(
        1, [](ComponentParticlePoolPhysics& p) { EXPECT_EQ(p.Particles.size(), 5u); }));

    test.recorder->Clear();
    test.Frames(3, 0.02f);
    EXPECT_EQ(test.recorder->Fields(MessageId::DeleteParticlePool),
              (std::vector<Sent>{{"", 0, 1}}));
    // Nothing left to draw.
    EXPECT_EQ(test.recorder->Count(MessageId::SpriteRenderBatch), 2);
    EXPECT_TRUE(test.Query<ComponentParticlePoolPhysics>(
        1, [](ComponentParticlePoolPhysics& p) { EXPECT_TRUE(p.Particles.empty()); }));

    // A game system restarts the effect.
    test.Send(MessageEmitParticle("Spark", true, 2));
    test.recorder->Clear();
    test.Frame(0.02f);
    EXPECT_EQ(test.recorder->Count(MessageId::PopulateParticlePool), 1);
}

TEST(ParticleScene, BadEffectDataNamesTheFile) {
    TempAssets assets;
    assets.Entity("Broken", {{"Particle Effect", {{"Sprite", json::object()}}}});
    assets.Scene("Level", {{"a", "Broken"}});
    TestEngine test(Roster());
    try {
        test.Enter("Level");
        FAIL() << "the missing name was accepted";
    } catch (const DataError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("Broken.json"), std::string::npos) << what;
        EXPECT_NE(what.find("Name"), std::string::npos) << what;
    }
}
