#include <gtest/gtest.h>

#include <cmath>

#include "engine/MessageCursor.h"
#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "game/bullets/SystemBulletBehavior.h"
#include "game/player/SystemPlayerShooting.h"
#include "particle/MessageEmitParticle.h"
#include "physics2d/SystemPhysics.h"
#include "tests/game/GameFixture.h"
#include "tests/support/KeptFields.h"

using json = nlohmann::json;

namespace {

struct ShootingTest : ::testing::Test {
    void Start(const json& shooting, float lifeTime = 5.0f) {
        WriteHero(assets, 0.0f);
        assets.Entity("Arm",
                      {{"Transform", {{"Translation", {0, 1, 0}}}}, {"Player Shooting", shooting}});
        assets.Entity("Shot", {{"Transform", {{"Scale", {0.2, 0.2, 1}}}},
                               {"Physics", json::object()},
                               {"Circle Collider", {{"Radius", 0.1}}},
                               {"Bullet Behavior", {{"Life Time", lifeTime}}},
                               {"Bullet Collision Handler", {{"Tile Collide Effect", "Puff"}}}});
        assets.Scene("Level", {{"hero", {{"Hero", {{"Children", {"Arm"}}}}}}});
        test = std::make_unique<TestEngine>(PlayerRoster());
        test->Enter("Level");
        hero = FindEntity(*test, "Hero");
        arm = FindEntity(*test, "Arm");
        ASSERT_NE(arm, 0);
    }
    /// Puts the cursor at `world` through the two cursor messages.
    void Cursor(glm::vec2 world) {
        const glm::vec2 offset{10.0f, -4.0f};
        const glm::vec2 relative = world - offset;
        test->Send(MessageCursorPosition(relative));
        test->Send(MessageCursorWorldPosition("", offset));
    }
    /// Destroyed entities keep their name; only live ones keep their components.
    std::vector<EntityId> Shots() {
        std::vector<EntityId> live;
        for (EntityId id : FindEntities(*test, "Shot")) {
            if (test->Has<ComponentPhysics>(id)) live.push_back(id);
        }
        return live;
    }
    std::vector<glm::vec3> BulletVelocities() {
        std::vector<glm::vec3> out;
        for (EntityId id : Shots()) {
            EXPECT_TRUE(test->Query<ComponentPhysics>(
                id, [&](ComponentPhysics& p) { out.push_back(p.Velocity); }));
        }
        return out;
    }

    TempAssets assets;
    std::unique_ptr<TestEngine> test;
    EntityId hero = 0;
    EntityId arm = 0;
};

}  // namespace

TEST_F(ShootingTest, PressFiresAtOnceAndHoldingFiresAfterEachCoolDown) {
    Start({{"Shot Type", "Regular"},
           {"Shoot Speed", 20},
           {"Auto Shoot Cool Down", 0.25},
           {"Bullet Archetype", "Shot"}});
    Cursor({5.0f, 1.0f});  // straight to the right of the arm
    test->Frame(0.1f);
    Press(*test, MessageKey::kMouseFirst);
    ASSERT_EQ(Shots().size(), 1u);
    const glm::vec3 v = BulletVelocities().at(0);
    EXPECT_FLOAT_EQ(v.x, 20.0f);
    EXPECT_NEAR(v.y, 0.0f, 1e-5f);
    // Recoil takes half the bullet's velocity from the body, bounded by the walk speed.
    EXPECT_FLOAT_EQ(test->Get<ComponentPhysics>(hero).value().Velocity.x, -8.0f);

    test->Frames(2, 0.1f);
    EXPECT_EQ(Shots().size(), 1u);
    test->Frame(0.1f);  // the cool-down has dropped below zero
    EXPECT_EQ(Shots().size(), 2u);
    Release(*test, MessageKey::kMouseFirst);
    test->Frames(10, 0.1f);
    EXPECT_EQ(Shots().size(), 2u);
}

TEST_F(ShootingTest, ShotgunWithoutSpreadFiresEveryBulletAlongTheAimLine) {
    Start({{"Shot Type", "Shotgun"},
           {"Shoot Speed", 10},
           {"Amount of Shot", 5},
           {"Shot Spread", 0},
           {"Bullet Archetype", "Shot"}});
    Cursor({0.0f, 6.0f});  // straight up from the arm
    test->Frame();
    Press(*test, MessageKey::kMouseSecond);
    const auto velocities = BulletVelocities();
    ASSERT_EQ(velocities.size(), 5u);
    for (const glm::vec3& v : velocities) {
        EXPECT_NEAR(v.x, 0.0f, 1e-5f);
        EXPECT_FLOAT_EQ(v.y, 10.0f);
    }
    // A scatter shot has no recoil.
    EXPECT_FLOAT_EQ(test->Get<ComponentPhysics>(hero).value().Velocity.y, 0.0f);
}

TEST_F(ShootingTest, ShotgunFanFallsInsideTheSpreadInSteps) {
    Start({{"Shot Type", "Shotgun"},
           {"Shoot Speed", 10},
           {"Amount of Shot", 40},
           {"Shot Spread", 0.5},
           {"Bullet Archetype", "Shot"}});
    Cursor({-3.0f, 4.0f});
    test->Frame();
    Press(*test, MessageKey::kMouseFirst);
    const float aim = std::atan2(3.0f, -3.0f);
    const auto velocities = BulletVelocities();
    ASSERT_EQ(velocities.size(), 40u);
    bool fanned = false;
    for (const glm::vec3& v : velocities) {
        const float angle = std::atan2(v.y, v.x);
        EXPECT_GE(angle, aim - 0.25f - 1e-4f);
        EXPECT_LE(angle, aim + 0.245f + 1e-4f);
        const float steps = (angle - (aim - 0.25f)) / 0.005f;
        EXPECT_NEAR(steps, std::round(steps), 1e-2f);
        fanned |= std::fabs(angle - aim) > 0.05f;
    }
    EXPECT_TRUE(fanned);
}

TEST_F(ShootingTest, TheArmFacesTheCursor) {
    Start({{"Shot Type", "Regular"}});
    Cursor({-5.0f, 1.0f});
    test->Frame();
    // Without an aim bone the drawn arm keeps its facing; the aim itself still follows.
    const auto aimed = test->Get<ComponentPlayerShooting>(arm);
    ASSERT_TRUE(aimed);
    EXPECT_FLOAT_EQ(aimed->aimDirection.x, -1.0f);
    EXPECT_NEAR(aimed->aimAngle, 3.14159265f, 1e-5f);
    // The cursor exactly on the arm keeps the last direction instead of dividing by zero.
    Cursor({0.0f, 1.0f});
    test->Frame();
    const auto kept = test->Get<ComponentPlayerShooting>(arm);
    ASSERT_TRUE(kept);
    EXPECT_FLOAT_EQ(kept->aimDirection.x, -1.0f);
    EXPECT_FALSE(std::isnan(kept->aimAngle));
}

TEST_F(ShootingTest, NothingAimsOrFiresWhilePausedOrWithoutAShotType) {
    Start({{"Shoot Speed", 10}, {"Bullet Archetype", "Shot"}});
    Cursor({5.0f, 1.0f});
    test->Frame();
    Press(*test, MessageKey::kMouseFirst);
    test->Frames(60);
    EXPECT_TRUE(Shots().empty());  // "UNKNOWN" aims but never fires

    ASSERT_TRUE(test->Query<ComponentPlayerShooting>(
        arm, [](ComponentPlayerShooting& s) { s.Type = ShotType::Regular; }));
    Release(*test, MessageKey::kMouseFirst);
    test->Send(MessageTrigger("Pause", true));
    Press(*test, MessageKey::kMouseFirst);
    Cursor({0.0f, 9.0f});
    test->Frame(0.0f);
    EXPECT_TRUE(Shots().empty());
    const auto paused = test->Get<ComponentPlayerShooting>(arm);
    ASSERT_TRUE(paused);
    EXPECT_FALSE(paused->triggerHeld);
    EXPECT_FLOAT_EQ(paused->aimDirection.x, 1.0f);  // not re-aimed while paused
}

TEST_F(ShootingTest, AnUnknownShotTypeNameIsRejected) {
    // A data error naming the key, which the loader reports with the file; no standard
    // exception that names nothing.
    json bad = {{"Shot Type", "Laser"}};
    try {
        (void)bad.get<ComponentPlayerShooting>();
        ADD_FAILURE() << "an unknown shot type was read";
    } catch (const json::exception& e) {
        EXPECT_NE(std::string(e.what()).find("\"Shot Type\": unknown \"Laser\""), std::string::npos)
            << e.what();
    }
}

TEST_F(ShootingTest, ABulletWithNoLifeTimeExpiresOnItsFirstUpdate) {
    Start({{"Shot Type", "Regular"}, {"Shoot Speed", 10}, {"Bullet Archetype", "Shot"}}, 0.0f);
    std::vector<std::string> effects;
    test->recorder->onMessage = [&](const Message& m) {
        if (m.TypeId() == MessageId::EmitParticle) {
            effects.emplace_back(static_cast<const MessageEmitParticle&>(m).Effect);
        }
    };
    Cursor({5.0f, 1.0f});
    test->Frame();
    Press(*test, MessageKey::kMouseFirst);
    Release(*test, MessageKey::kMouseFirst);
    ASSERT_EQ(Shots().size(), 1u);
    effects.clear();
    test->Frame();
    EXPECT_EQ(effects, std::vector<std::string>{"Wall Collision"});
    test->Frame();
    EXPECT_TRUE(Shots().empty());
}

TEST_F(ShootingTest, BulletsFlyThroughOneWayPlatformsAndStopAtSolidTiles) {
    WriteMap(assets, {
                         "..#..",  // y = 3
                         ".....",  // y = 2
                         "..=..",  // y = 1
                         "..o..",  // y = 0
                     });
    assets.Entity("Shot", {{"Transform", json::object()},
                           {"Physics", json::object()},
                           {"Circle Collider", {{"Radius", 0.1}}},
                           {"Bullet Behavior", {{"Life Time", 5}}},
                           {"Bullet Collision Handler", {{"Tile Collide Sound", "Hit"}}}});
    assets.Scene("Level", {{"map", "Map"}});
    test = std::make_unique<TestEngine>(PlayerRoster());
    test->Enter("Level");
    test->Send(
        MessageCreateEntity("", "Shot",
                            SystemPlayerShooting::BulletJson({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f},
                                                             1.5707964f, {0.0f, 6.0f})));
    const EntityId bullet = FindEntity(*test, "Shot");
    ASSERT_NE(bullet, 0);
    test->Frames(15);  // 1.5 units up: through the platform at y = 1
    EXPECT_EQ(Shots().size(), 1u);
    test->Frames(20);  // the solid tile at y = 3 stops it
    EXPECT_TRUE(Shots().empty());
    EXPECT_EQ(test->recorder->Fields(MessageId::AudioEvent), (std::vector<Sent>{{"Hit"}}));
}

TEST(BulletJson, PlacesTheBulletAtTheMuzzleJustInFrontOfTheArm) {
    const json j =
        SystemPlayerShooting::BulletJson({1.0f, 2.0f, 0.5f}, {0.25f, -0.5f}, 0.5f, {3.0f, 4.0f});
    EXPECT_DOUBLE_EQ(j["Transform"]["Translation"][2].get<double>(), 0.5 - 0.01);
    EXPECT_NEAR(j["Transform"]["Rotation"][2].get<double>(), 28.64789, 1e-5);
    EXPECT_TRUE(j["Transform"]["Rotation"][0].is_number_integer());
    EXPECT_FLOAT_EQ(j["Transform"]["Translation"][0].get<float>(), 1.25f);
    EXPECT_FLOAT_EQ(j["Transform"]["Translation"][1].get<float>(), 1.5f);
    EXPECT_FLOAT_EQ(j["Physics"]["Velocity"][1].get<float>(), 4.0f);
}
