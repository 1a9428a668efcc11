#include <gtest/gtest.h>

#include "engine/MessageFrame.h"
#include "engine/MessageSpriteRender.h"
#include "engine/SystemTransform.h"
#include "game/hud/SystemLivesHUD.h"
#include "game/player/SystemPlayerHealth.h"
#include "services/graphics/SystemSprite.h"
#include "tests/game/PresentationBus.h"

using json = nlohmann::json;

namespace {

struct Icon {
    std::string texture;
    float x;
    float y;
    std::string camera;
    glm::vec4 color;
    float scale;
};

struct LivesHUDTest : ::testing::Test {
    LivesHUDTest() {
        bus.Add<SystemSprite>();
        bus.Add<SystemTransform>();
        bus.Add<SystemPlayerHealth>();
        bus.Add<SystemLivesHUD>();
        bus.onMessage = [this](const Message& message) {
            if (message.TypeId() != MessageId::SpriteRender) return;
            auto& render = static_cast<const MessageSpriteRender&>(message);
            icons.push_back({render.sprite.texture, render.transform.translation.x,
                             render.transform.translation.y, render.sprite.camera,
                             render.sprite.color, render.transform.scale.x});
        };
    }
    void AddHUD(EntityId entity, float x) {
        bus.Component(entity, "Sprite",
                      {{"Texture", "HUD/Blank"}, {"Camera", "HUD"}, {"Color", {1, 1, 1, 0.5}}});
        bus.Component(entity, "Transform",
                      {{"Translation", {x, 4, 0.5}}, {"Scale", {0.8, 0.8, 1}}});
        bus.Component(entity, "Lives HUD",
                      {{"Icon Separation", 0.75},
                       {"Life Icon", "HUD/LifeFull"},
                       {"Empty Life Icon", "HUD/LifeEmpty"}});
    }
    void Player(EntityId entity, int max, int lives) {
        bus.Component(entity, "Player Health", {{"Max Health", max}});
        bus.Send(MessageQuery<ComponentPlayerHealth>(
            entity, std::function<void(ComponentPlayerHealth&)>(
                        [lives](ComponentPlayerHealth& h) { h.Health = lives; })));
    }
    std::vector<std::string> Textures() const {
        std::vector<std::string> out;
        for (const auto& icon : icons) out.push_back(icon.texture);
        return out;
    }
    void Update(float dt = 1.0f / 60.0f) {
        icons.clear();
        bus.Send(MessageUpdate(dt));
    }
    /// The scale of every icon drawn by the last update, relative to the HUD's 0.8.
    std::vector<float> Scales() const {
        std::vector<float> out;
        for (const auto& icon : icons) out.push_back(icon.scale / 0.8f);
        return out;
    }

    PresentationBus bus;
    std::vector<Icon> icons;
};

const std::string kFull = "HUD/LifeFull";
const std::string kEmpty = "HUD/LifeEmpty";

}  // namespace

TEST_F(LivesHUDTest, FullIconsForLivesLeftAndEmptyOnesForLivesLost) {
    AddHUD(5, -8.0f);
    Player(10, 3, 1);
    Update();
    ASSERT_EQ(Textures(), (std::vector<std::string>{kFull, kEmpty, kEmpty}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(icons[i].x, -8.0f + 0.75f * static_cast<float>(i));
        EXPECT_FLOAT_EQ(icons[i].y, 4.0f);
        // Everything but the texture comes from the HUD's own sprite.
        EXPECT_EQ(icons[i].camera, "HUD");
        EXPECT_FLOAT_EQ(icons[i].color.a, 0.5f);
    }
}

TEST_F(LivesHUDTest, NoLivesAllEmptyMoreThanTheMaximumAllFull) {
    AddHUD(5, 0.0f);
    Player(10, 3, 0);
    Update();
    EXPECT_EQ(Textures(), (std::vector<std::string>{kEmpty, kEmpty, kEmpty}));
    Player(10, 3, 3);
    Update();
    EXPECT_EQ(Textures(), (std::vector<std::string>{kFull, kFull, kFull}));
    Player(10, 3, 7);
    Update();
    EXPECT_EQ(Textures(), (std::vector<std::string>{kFull, kFull, kFull}));
    Player(10, 0, 0);
    Update();
    EXPECT_TRUE(icons.empty());
}

TEST_F(LivesHUDTest, OneRowFromTheLowestHUDAndTheLowestPlayer) {
    for (EntityId id = 30; id >= 21; --id) AddHUD(id, static_cast<float>(id));
    Update();
    EXPECT_TRUE(icons.empty()) << "no player health, nothing drawn";

    for (EntityId id = 60; id >= 51; --id) Player(id, id - 50, 0);
    Update();
    ASSERT_EQ(icons.size(), 1u) << "the player with the lowest id has one life";
    EXPECT_FLOAT_EQ(icons[0].x, 21.0f);
}

TEST_F(LivesHUDTest, AHUDWithoutSpriteOrTransformDrawsNothing) {
    bus.Component(5, "Lives HUD", {{"Life Icon", kFull}});
    bus.Component(5, "Transform", json::object());
    Player(10, 2, 2);
    Update();
    EXPECT_TRUE(icons.empty());
    bus.Component(6, "Lives HUD", {{"Life Icon", kFull}});
    bus.Component(6, "Sprite", json::object());
    Update();
    EXPECT_TRUE(icons.empty()) << "the lowest HUD (5) has no sprite";
}

TEST_F(LivesHUDTest, GainedLivesBlinkLargeForTheBlinkTimeLossesDoNot) {
    AddHUD(5, 0.0f);
    bus.Component(5, "Lives HUD",
                  {{"Life Icon", kFull},
                   {"Empty Life Icon", kEmpty},
                   {"Gain Blink Time", 1.0},
                   {"Gain Blink Scale", 2.0}});
    const std::vector<float> normal{1.0f, 1.0f, 1.0f, 1.0f};
    Player(10, 4, 1);
    Update(0.1f);
    EXPECT_EQ(Scales(), normal) << "the first sight of the lives is no gain";

    Player(10, 4, 3);  // two lives back at once
    Update(0.1f);
    EXPECT_EQ(Scales(), (std::vector<float>{1.0f, 2.0f, 2.0f, 1.0f}));
    EXPECT_EQ(Textures(), (std::vector<std::string>{kFull, kFull, kFull, kEmpty}));
    // Large for the first 0.125 s of every 0.25 s: 0.15 s after the gain they are normal,
    // 0.3 s after it large again.
    Update(0.15f);
    EXPECT_EQ(Scales(), normal);
    Update(0.15f);
    EXPECT_EQ(Scales(), (std::vector<float>{1.0f, 2.0f, 2.0f, 1.0f}));
    Update(0.75f);
    EXPECT_EQ(Scales(), normal) << "the blink ends after its time";

    Player(10, 4, 2);
    Update(0.1f);
    EXPECT_EQ(Scales(), normal) << "a lost life does not blink";
    Player(10, 4, 3);
    Update(0.01f);
    EXPECT_EQ(Scales(), (std::vector<float>{1.0f, 1.0f, 2.0f, 1.0f})) << "only the life gained";
}

TEST_F(LivesHUDTest, WithoutABlinkTimeAGainChangesNothingButTheIcon) {
    AddHUD(5, 0.0f);
    Player(10, 3, 1);
    Update();
    Player(10, 3, 2);
    Update();
    EXPECT_EQ(Scales(), (std::vector<float>{1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(Textures(), (std::vector<std::string>{kFull, kFull, kEmpty}));
}
