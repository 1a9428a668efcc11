#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <utility>

#include "engine/ComponentSprite.h"
#include "engine/MessageComponent.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageState.h"
#include "game/hud/SystemHUDTimer.h"
#include "game/player/SystemPlayerCollision.h"
#include "game/presentation/MessagePlayTransitionState.h"
#include "game/vocabulary/ContactQuestions.h"
#include "physics2d/MessageCollision.h"
#include "services/graphics/SystemSprite.h"
#include "tests/game/PresentationBus.h"

using json = nlohmann::json;

namespace {

/// Stands in for the enemies' collider: an entity with it says it is an enemy.
struct ComponentTestEnemy {
    static constexpr std::string_view kName = "Test Enemy";
};
void from_json(const json&, ComponentTestEnemy&) {}
class SystemTestEnemy : public System<ComponentTestEnemy, SystemTestEnemy> {
public:
    bool HandleMessage(const Message& message) override {
        if (message.TypeId() != MessageId::ContactFacts) return System::HandleMessage(message);
        return contact::Answer(message, components,
                               [](ContactFacts& facts, const auto&) { facts.enemy = true; });
    }
};

constexpr float kDt = 0.5f;  // exact in binary, so times land on the clock's boundaries
constexpr EntityId kClock = 1;
constexpr EntityId kPlayer = 10;
constexpr EntityId kEnemy = 20;
constexpr EntityId kRock = 21;
/// A state request: the message's type and the state it names.
using Request = std::pair<int, std::string>;
using Requests = std::vector<Request>;
const Request kDestroy{MessageId::DestroyState, ""};  // the current state
const Request kToLose{MessageId::ChangeState, "LoseScreen"};

struct HUDTimerTest : ::testing::Test {
    HUDTimerTest() {
        bus.Add<SystemPlayerCollision>();
        bus.Add<SystemSprite>();
        bus.Add<SystemTestEnemy>();
        timers = &bus.Add<SystemHUDTimer>();
        bus.Component(kPlayer, "Player Collision Handler", json::object());
        bus.Component(kEnemy, "Test Enemy", json::object());
        bus.onMessage = [this](const Message& message) {
            if (auto* destroy = MessageAs<MessageDestroyState>(message)) {
                requests.emplace_back(MessageId::DestroyState, std::string(destroy->name));
            } else if (auto* change = MessageAs<MessageChangeState>(message)) {
                requests.emplace_back(MessageId::ChangeState, std::string(change->name));
            }
        };
    }
    int Count(const Request& request) const {
        return static_cast<int>(std::count(requests.begin(), requests.end(), request));
    }
    void AddClock(EntityId entity, const json& timer) {
        bus.Component(entity, "Sprite", {{"Dimensions", {3, 4}}});
        bus.Component(entity, "HUD Timer", timer);
    }
    void Update(int frames = 1) {
        for (int i = 0; i < frames; ++i) bus.Send(MessageUpdate(kDt));
    }
    void Key(int key, bool debug = false, int action = MessageKey::kPressed) {
        bus.Send(MessageKey(key, action, 0, debug));
    }
    ComponentHUDTimer& Timer(EntityId entity = kClock) { return timers->components.at(entity); }
    glm::ivec2 Cell(EntityId entity = kClock) {
        for (auto& system : bus.systems) {
            if (auto* sprites = dynamic_cast<SystemSprite*>(system.get())) {
                return sprites->components.at(entity).index;
            }
        }
        ADD_FAILURE() << "no sprite system";
        return {-1, -1};
    }
    bool PenaltyPending() {
        bool pending = false;
        const std::function<void(ComponentPlayerCollider&)> read =
            [&pending](ComponentPlayerCollider& c) { pending = c.timePenaltyPending; };
        EXPECT_TRUE(bus.Send(MessageQuery<ComponentPlayerCollider>(kPlayer, read)));
        return pending;
    }

    PresentationBus bus;
    SystemHUDTimer* timers = nullptr;
    /// The state requests sent.
    Requests requests;
};

}  // namespace

TEST(HUDTimerCell, SixthsIncludeTheirUpperBoundExactly) {
    struct Case {
        float remaining;
        glm::ivec2 cell;
    };
    // At exactly 50 of 60 s the face is the 5/6 one: a single-precision 60 x 0.8333333 would
    // fall just below 50 and keep the full clock.
    const Case cases[] = {{60.0f, {2, 1}}, {50.001f, {2, 1}}, {50.0f, {1, 1}}, {45.0f, {1, 1}},
                          {40.0f, {0, 1}}, {30.001f, {0, 1}}, {30.0f, {2, 0}}, {20.0f, {1, 0}},
                          {10.0f, {0, 0}}, {0.0f, {0, 0}},    {-3.0f, {0, 0}}, {75.0f, {2, 1}}};
    for (const auto& c : cases) {
        EXPECT_EQ(SystemHUDTimer::ClockCell(60.0f, c.remaining), c.cell) << c.remaining << " s";
    }
}

TEST_F(HUDTimerTest, IdleUntilTheFirstPressThenCountsDownThroughTheFaces) {
    AddClock(kClock, {{"Time Limit", 12}});
    Update(4);
    EXPECT_FALSE(Timer().Started);
    EXPECT_FLOAT_EQ(Timer().TimeRemaining, 12.0f);
    EXPECT_EQ(Cell(), glm::ivec2(2, 1));

    // A release or a repeat starts nothing; two presses in one frame start once.
    Key(65, false, MessageKey::kReleased);
    Key(65, false, MessageKey::kRepeated);
    EXPECT_FALSE(Timer().Started);
    Key(65);
    Key(66);
    Update();
    EXPECT_TRUE(Timer().Started);
    EXPECT_FLOAT_EQ(Timer().TimeRemaining, 11.5f);

    std::vector<glm::ivec2> faces;
    for (int frame = 0; frame < 21; ++frame) {
        Update();
        faces.push_back(Cell());
    }
    // 11 s down to 1 s left in half seconds; every 2 s is a sixth.
    EXPECT_EQ(faces[0], glm::ivec2(2, 1));   // 11
    EXPECT_EQ(faces[2], glm::ivec2(1, 1));   // 10: exactly 5/6
    EXPECT_EQ(faces[6], glm::ivec2(0, 1));   // 8
    EXPECT_EQ(faces[10], glm::ivec2(2, 0));  // 6
    EXPECT_EQ(faces[14], glm::ivec2(1, 0));  // 4
    EXPECT_EQ(faces[18], glm::ivec2(0, 0));  // 2
    EXPECT_TRUE(requests.empty()) << "no time-out before zero";
}

TEST_F(HUDTimerTest, WarningFacesFromTheWarningTimeOn) {
    AddClock(kClock, {{"Time Limit", 12}, {"Time Warning", 3}});
    Key(65);
    Update(17);  // 3.5 s left
    EXPECT_EQ(Cell(), glm::ivec2(1, 0));
    Update();  // 3 s left: the threshold itself warns
    EXPECT_EQ(Cell(), glm::ivec2(1, 2));
    Update(2);
    EXPECT_EQ(Cell(), glm::ivec2(0, 2));

    // Without a warning time the clock never takes the warning look.
    AddClock(2, {{"Time Limit", 12}});
    Timer(2).TimeRemaining = 0.5f;
    Timer(2).Started = Timer(2).Shown = true;
    Update();
    EXPECT_EQ(Cell(2), glm::ivec2(0, 0));
}

TEST_F(HUDTimerTest, TimesOutOnceAndRefillsForTheNextRound) {
    AddClock(kClock, {{"Time Limit", 2}});
    Key(65);
    Update(3);
    EXPECT_TRUE(requests.empty());
    Update();  // 0 s left
    EXPECT_EQ(requests, (Requests{kDestroy, kToLose}));
    EXPECT_FLOAT_EQ(Timer().TimeRemaining, 2.0f);
    Update(3);
    EXPECT_EQ(requests.size(), 2u) << "a time-out is asked for once";

    // Two clocks running out in the same update make one request.
    requests.clear();
    AddClock(2, {{"Time Limit", 2}});
    Timer(2).Started = Timer(2).Shown = true;
    Timer(2).TimeRemaining = Timer().TimeRemaining = 0.5f;
    Update();
    EXPECT_EQ(Count(kDestroy), 1);
    EXPECT_EQ(Count(kToLose), 1);
}

TEST_F(HUDTimerTest, NoLimitLosesAtTheFirstUpdate) {
    AddClock(kClock, json::object());
    Update();
    EXPECT_EQ(requests, (Requests{kDestroy, kToLose}));
}

TEST_F(HUDTimerTest, RefillAndFreezeNeedTheDebugFlag) {
    AddClock(kClock, {{"Time Limit", 60}});
    Key(65);
    Update(20);  // 50 s left
    Key(79);     // O without debug: no refill
    Key(80);     // P without debug: no freeze
    Update();
    EXPECT_FLOAT_EQ(Timer().TimeRemaining, 49.5f);
    EXPECT_FALSE(Timer().Frozen);

    Key(79, true);
    EXPECT_FLOAT_EQ(Timer().TimeRemaining, 60.0f);
    Update();
    EXPECT_FLOAT_EQ(Timer().TimeRemaining, 59.5f) << "a refill keeps the clock running";

    Key(80, true);
    Update(10);
    EXPECT_FLOAT_EQ(Timer().TimeRemaining, 60.0f);
    // Leaving debug mode (the grave key without the flag) lets the clock run again.
    Key(96);
    EXPECT_FALSE(Timer().Frozen);
    Update();
    EXPECT_FLOAT_EQ(Timer().TimeRemaining, 59.5f);
}

TEST_F(HUDTimerTest, OnlyTheFirstEnemyContactCostsASixth) {
    AddClock(kClock, {{"Time Limit", 60}});
    AddClock(2, {{"Time Limit", 60}});
    Key(65);
    bus.Component(kRock, "Sprite", json::object());
    bus.Send(MessageCollision(kPlayer, kRock));
    bus.Send(MessageCollision(kEnemy, kPlayer));  // the enemy's side of the contact
    EXPECT_FLOAT_EQ(Timer().TimeRemaining, 60.0f);
    EXPECT_TRUE(PenaltyPending());

    bus.Send(MessageCollision(kPlayer, kEnemy));
    bus.Send(MessageCollision(kPlayer, kEnemy));
    EXPECT_FLOAT_EQ(Timer().TimeRemaining, 50.0f);
    EXPECT_FLOAT_EQ(Timer(2).TimeRemaining, 60.0f) << "only the lowest-numbered clock pays";
    EXPECT_FALSE(PenaltyPending());
}

TEST_F(HUDTimerTest, APenaltyBelowZeroTimesOutOnce) {
    AddClock(kClock, {{"Time Limit", 60}});
    Key(65);
    Timer().TimeRemaining = 4.0f;
    bus.Send(MessageCollision(kPlayer, kEnemy));
    EXPECT_FLOAT_EQ(Timer().TimeRemaining, 0.0f);
    bus.Send(MessageCollision(kPlayer, kEnemy));
    EXPECT_FLOAT_EQ(Timer().TimeRemaining, 0.0f);
    Update(3);
    EXPECT_EQ(Count(kToLose), 1);
    EXPECT_EQ(Count(kDestroy), 1);
}

TEST_F(HUDTimerTest, APenaltyBeforeTheStartIsUndone) {
    AddClock(kClock, {{"Time Limit", 60}});
    Update();
    bus.Send(MessageCollision(kPlayer, kEnemy));
    EXPECT_FLOAT_EQ(Timer().TimeRemaining, 50.0f);
    Update();
    EXPECT_FLOAT_EQ(Timer().TimeRemaining, 60.0f);
}

TEST_F(HUDTimerTest, TheExitHoldsTheClockUntilTheStateChanges) {
    AddClock(kClock, {{"Time Limit", 2}});
    Key(65);
    Update(2);  // 1 s left
    const std::string next = "Level2";
    bus.Send(MessagePlayTransitionState(next));
    Update(10);
    EXPECT_FLOAT_EQ(Timer().TimeRemaining, 1.0f);
    EXPECT_EQ(Cell(), glm::ivec2(2, 0));
    EXPECT_TRUE(requests.empty()) << "no time-out during the exit";
    bus.Send(MessageCollision(kPlayer, kEnemy));
    EXPECT_FLOAT_EQ(Timer().TimeRemaining, 1.0f) << "no penalty after the exit";

    // A state change returns the clock to idle, full and waiting for a key.
    bus.Send(MessageChangeState(next));
    requests.clear();
    Update(6);
    EXPECT_FALSE(Timer().Started);
    EXPECT_FLOAT_EQ(Timer().TimeRemaining, 2.0f);
    EXPECT_EQ(Cell(), glm::ivec2(2, 1));
    EXPECT_TRUE(requests.empty());
}

TEST_F(HUDTimerTest, WrongJsonTypesAddNoClock) {
    EXPECT_THROW(bus.Component(3, "HUD Timer", {{"Time Limit", "sixty"}}), json::type_error);
    EXPECT_EQ(timers->components.count(3), 0u);
}
