// Every owner of a kind of entity answers the contact question for its own entities, and only
// for them: the areas ask one another through it instead of through each other's headers.
#include <gtest/gtest.h>

#include "game/bullets/SystemBulletCollision.h"
#include "game/bullets/SystemEnemyBulletCollision.h"
#include "game/enemies/SystemEnemyCollision.h"
#include "game/hazards/SystemDeathWallBehavior.h"
#include "game/player/SystemPlayerCollision.h"
#include "game/vocabulary/ContactQuestions.h"
#include "tests/game/PresentationBus.h"

using json = nlohmann::json;

namespace {

struct ContactFactsTest : ::testing::Test {
    ContactFactsTest() {
        bus.Add<SystemPlayerCollision>();
        bus.Add<SystemBulletCollision>();
        bus.Add<SystemEnemyBulletCollision>();
        bus.Add<SystemEnemyCollision>();
        bus.Add<SystemDeathWallBehavior>();
        bus.Component(kPlayer, "Player Collision Handler", json::object());
        bus.Component(kEnemy, "Enemy Collision Handler", json::object());
        bus.Component(kShot, "Bullet Collision Handler", json::object());
        bus.Component(kSeed, "Enemy Bullet Collision", json::object());
        bus.Component(kWall, "Death Wall Behavior", json::object());
        send = [this](const Message& message) { return bus.Send(message); };
    }
    ContactFacts Ask(EntityId entity) { return contact::Ask(send, entity); }
    template <class S>
    auto& Row(EntityId entity) {
        for (auto& system : bus.systems) {
            if (auto* s = dynamic_cast<S*>(system.get())) return s->components.at(entity);
        }
        throw std::runtime_error("no such system");
    }

    static constexpr EntityId kPlayer = 1, kEnemy = 2, kShot = 3, kSeed = 4, kWall = 5, kRock = 6;
    PresentationBus bus;
    SendCallback send;
};

int Kinds(const ContactFacts& f) {
    return f.player + f.enemy + f.playerBullet + f.enemyBullet + f.deathWall;
}

}  // namespace

TEST_F(ContactFactsTest, EachOwnerNamesItsOwnKindAndNothingElse) {
    EXPECT_TRUE(Ask(kPlayer).player);
    EXPECT_TRUE(Ask(kEnemy).enemy);
    EXPECT_TRUE(Ask(kShot).playerBullet);
    EXPECT_TRUE(Ask(kSeed).enemyBullet);
    EXPECT_TRUE(Ask(kWall).deathWall);
    for (EntityId id : {kPlayer, kEnemy, kShot, kSeed, kWall}) EXPECT_EQ(Kinds(Ask(id)), 1) << id;
    EXPECT_EQ(Kinds(Ask(kRock)), 0);
    EXPECT_FALSE(contact::IsEnemy(send, kRock));
}

TEST_F(ContactFactsTest, TheAnswersFollowTheOwnersState) {
    EXPECT_TRUE(contact::IsUnhurtPlayer(send, kPlayer));
    Row<SystemPlayerCollision>(kPlayer).hurt = true;
    EXPECT_FALSE(contact::IsUnhurtPlayer(send, kPlayer));
    EXPECT_FALSE(contact::IsUnhurtPlayer(send, kEnemy));

    EXPECT_FALSE(Ask(kEnemy).enemyHit);
    Row<SystemEnemyCollision>(kEnemy).IsHit = true;
    EXPECT_TRUE(Ask(kEnemy).enemyHit);
    EXPECT_TRUE(contact::IsEnemy(send, kEnemy)) << "a hit enemy is still an enemy";
}
