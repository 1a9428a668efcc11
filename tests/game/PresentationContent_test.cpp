#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "engine/ComponentSprite.h"
#include "engine/MessageSpriteRender.h"
#include "engine/MessageState.h"
#include "engine/MessageTrigger.h"
#include "game/Roster.h"
#include "game/hud/SystemHUDTimer.h"
#include "game/player/SystemPlayerHealth.h"
#include "services/animation/SystemAnimation.h"
#include "services/ui/SystemUIElement.h"
#include "tests/game/GameFixture.h"

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kSeed = 7;

/// The shipped Level1 with the game's whole roster: its HUD, props, decoration and slides.
struct Level1Presentation : ::testing::Test {
    void SetUp() override {
        for (const char* folder : {"Assets/Data", "Assets/Textures"}) {
            assets.CopyShipped(folder);
        }
        test = std::make_unique<TestEngine>(MakeRoster(kSeed));
        test->Enter("Level1");
        clock = FindEntity(*test, "HUDClock");
        ASSERT_NE(clock, 0);
    }
    ComponentSprite Sprite(EntityId entity) {
        ComponentSprite sprite;
        EXPECT_TRUE(test->Query<ComponentSprite>(entity, [&](ComponentSprite& s) { sprite = s; }))
            << "entity " << entity << " has no sprite";
        return sprite;
    }
    void SetTimeLeft(float seconds) {
        ASSERT_TRUE(test->Query<ComponentHUDTimer>(
            clock, [seconds](ComponentHUDTimer& t) { t.TimeRemaining = seconds; }));
    }
    std::vector<std::string> Textures(const std::string& file) {
        std::vector<std::string> textures;
        for (EntityId id : FindEntities(*test, file)) textures.push_back(Sprite(id).texture);
        return textures;
    }

    TempAssets assets;
    std::unique_ptr<TestEngine> test;
    EntityId clock = 0;
};

}  // namespace

TEST_F(Level1Presentation, TheClockWaitsFullThenCountsDownAndWarns) {
    test->Frames(5);
    EXPECT_EQ(Sprite(clock).index, glm::ivec2(2, 1));
    EXPECT_EQ(Sprite(clock).camera, "HUD");

    Press(*test, keys::kRight);
    test->Frame(0.5f);
    bool started = false;
    ASSERT_TRUE(test->Query<ComponentHUDTimer>(clock, [&](ComponentHUDTimer& t) {
        started = t.Started;
        EXPECT_FLOAT_EQ(t.TimeRemaining, t.TimeLimit - 0.5f);
    }));
    EXPECT_TRUE(started);
    SetTimeLeft(125.5f);  // 5/6 of the limit after the next half second
    test->Frame(0.5f);
    EXPECT_EQ(Sprite(clock).index, glm::ivec2(1, 1));
    SetTimeLeft(20.5f);
    test->Frame(0.5f);
    EXPECT_EQ(Sprite(clock).index, glm::ivec2(0, 2)) << "the last sixth in the warning look";
}

TEST_F(Level1Presentation, TheLivesRowDrawsThreeFullIconsOnTheHUD) {
    std::vector<ComponentSprite> icons;
    std::vector<float> xs;
    test->recorder->onMessage = [&](const Message& message) {
        if (message.TypeId() != MessageId::SpriteRender) return;
        auto& render = static_cast<const MessageSpriteRender&>(message);
        if (render.sprite.texture.rfind("HUD/Life", 0) != 0) return;
        icons.push_back(render.sprite);
        xs.push_back(render.transform.translation.x);
    };
    test->Frame();
    test->recorder->onMessage = nullptr;
    ASSERT_EQ(icons.size(), 3u);
    for (size_t i = 0; i < icons.size(); ++i) {
        EXPECT_EQ(icons[i].texture, "HUD/LifeFull");
        EXPECT_EQ(icons[i].camera, "HUD");
        if (i > 0) {
            EXPECT_GT(xs[i], xs[i - 1]);
        }
    }
    const EntityId lives = FindEntity(*test, "HUDLives");
    ASSERT_NE(lives, 0);
    EXPECT_EQ(Sprite(lives).texture, "HUD/Blank") << "the row's own sprite must not show";
    EXPECT_TRUE(fs::exists("Assets/Textures/HUD/Blank.png"));
}

TEST_F(Level1Presentation, TimeUpLeadsToTheLoseScreenWhichFadesIn) {
    Press(*test, keys::kRight);
    test->Frame();
    SetTimeLeft(0.01f);
    test->Frame();
    test->Frame();
    EXPECT_EQ(test->states->CurrentState(), "LoseScreen");
    EXPECT_FALSE(test->states->HasState("Level1"));
    const EntityId fade = FindEntity(*test, "TransitionLoseIntro");
    ASSERT_NE(fade, 0);
    test->Frames(10);
    const float early = Sprite(fade).color.a;
    EXPECT_GT(early, 0.5f);
    EXPECT_LT(early, 1.0f);
    test->Frames(60);
    EXPECT_FLOAT_EQ(Sprite(fade).color.a, 0.0f);
}

TEST_F(Level1Presentation, TheSecondsLeftStandBesideTheClockRoundedUp) {
    const EntityId seconds = FindEntity(*test, "HUDClockSeconds");
    ASSERT_NE(seconds, 0);
    auto text = [&] {
        std::string shown;
        EXPECT_TRUE(test->Query<ComponentUIElement>(seconds, [&](ComponentUIElement& e) {
            shown = e.text;
            EXPECT_EQ(e.camera, "HUD");
            // The font is loaded only for an element that has text when it is read.
            EXPECT_NE(e.fontData, nullptr) << "the seconds would never be drawn";
        }));
        return shown;
    };
    test->Frames(3);
    EXPECT_EQ(text(), "150") << "the full limit while the clock waits";
    Press(*test, keys::kRight);
    test->Frame(0.5f);
    EXPECT_EQ(text(), "150") << "149.5 s left still shows 150";
    SetTimeLeft(12.25f);
    test->Frame(0.5f);
    EXPECT_EQ(text(), "12");
    SetTimeLeft(0.75f);
    test->Frame(0.5f);
    EXPECT_EQ(text(), "1") << "the last second shows 1, not 0";

    // Beside the pie, on its left, not over it.
    const auto label = test->Get<ComponentTransform>(seconds);
    const auto pie = test->Get<ComponentTransform>(clock);
    ASSERT_TRUE(label && pie);
    EXPECT_LT(label->translation.x + label->scale.x / 2, pie->translation.x - pie->scale.x / 2);
    EXPECT_FLOAT_EQ(label->translation.y, pie->translation.y);
}

TEST_F(Level1Presentation, TheLoseScreenSaysWhetherTimeOrLivesRanOut) {
    auto loseText = [&] {
        test->Frames(2);
        EXPECT_EQ(test->states->CurrentState(), "LoseScreen");
        std::vector<std::string> texts;
        for (EntityId id : FindEntities(*test, "UILabel")) {
            EXPECT_TRUE(test->Query<ComponentUIElement>(
                id, [&](ComponentUIElement& e) { texts.push_back(e.text); }));
        }
        for (const auto& t : texts) {
            if (t.rfind("Out of", 0) == 0) return t;
        }
        ADD_FAILURE() << "no \"Out of\" label on the lose screen";
        return std::string();
    };
    Press(*test, keys::kRight);
    test->Frame();
    SetTimeLeft(0.01f);
    test->Frame();
    EXPECT_EQ(loseText(), "Out of time");

    // Played again: a new copy of the level, as Try Again gives after a level entered through
    // the menus (this test entered Level1 first, so a retry would go to the main menu).
    test->Send(MessageDestroyState(""));
    test->Enter("Level1");
    test->Frames(2);
    ASSERT_EQ(test->states->CurrentState(), "Level1");
    const EntityId player = FindEntity(*test, "Player");
    ASSERT_NE(player, 0);
    ASSERT_TRUE(
        test->Query<ComponentPlayerHealth>(player, [](ComponentPlayerHealth& h) { h.Health = 1; }));
    // A death ends in this trigger; with one life left it is the last.
    test->Send(MessageTrigger("Checkpoint Restore", true));
    EXPECT_EQ(loseText(), "Out of lives") << "the earlier loss on time must not stick";
}

TEST_F(Level1Presentation, TheIntroFadesFromBlack) {
    const EntityId intro = FindEntity(*test, "TransitionLevelIntro");
    ASSERT_NE(intro, 0);
    test->Frame();
    EXPECT_FLOAT_EQ(Sprite(intro).color.a, 1.0f);
    test->Frames(90);
    EXPECT_FLOAT_EQ(Sprite(intro).color.a, 0.0f);
}

TEST_F(Level1Presentation, PropsVaryTheSameWayForOneSeedAndDecorationAnimates) {
    test->Frames(2);
    const auto bushes = Textures("PropBush");
    const auto crates = Textures("PropCrate");
    ASSERT_GE(bushes.size(), 5u);
    ASSERT_GE(crates.size(), 5u);
    for (const auto& t : bushes) EXPECT_EQ(t.rfind("Props/Bushes/Bush", 0), 0u) << t;
    for (const auto& t : crates) EXPECT_EQ(t.rfind("Props/Crates/Crate", 0), 0u) << t;
    EXPECT_GE(std::set<std::string>(bushes.begin(), bushes.end()).size(), 2u);
    EXPECT_GE(std::set<std::string>(crates.begin(), crates.end()).size(), 2u);

    for (const auto& [file, clip] : std::vector<std::pair<std::string, std::string>>{
             {"DecoTorch", "Flicker"}, {"DecoFlag", "Wave"}, {"DecoWater", "Ripple"}}) {
        const auto entities = FindEntities(*test, file);
        ASSERT_FALSE(entities.empty()) << file;
        for (EntityId id : entities) {
            std::string current;
            ASSERT_TRUE(test->Query<ComponentAnimation>(
                id, [&](ComponentAnimation& a) { current = a.current; }));
            EXPECT_EQ(current, clip) << file;
        }
    }

    // The restore of the checkpoint taken on entering announces the births again: the same
    // generator state gives the same scenery.
    test->Send(MessageTrigger("Checkpoint", false));
    test->Frames(2);
    EXPECT_EQ(Textures("PropBush"), bushes);
    EXPECT_EQ(Textures("PropCrate"), crates);
}
