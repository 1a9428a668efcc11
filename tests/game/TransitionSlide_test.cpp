#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/MessageFrame.h"
#include "engine/MessageState.h"
#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "game/Roster.h"
#include "game/player/MessagePlayTransitionReloadCheckpoint.h"
#include "game/presentation/MessagePlayTransitionState.h"
#include "game/presentation/SystemTransitionSlide.h"
#include "services/graphics/SystemSprite.h"
#include "tests/game/GameFixture.h"
#include "tests/support/KeptFields.h"
#include "tests/support/RecordingBus.h"

using json = nlohmann::json;

namespace {

constexpr float kDt = 0.25f;  // exact in binary, so slide times land on step boundaries

/// What a test sees of a message: its type and its fields.
using Requests = std::vector<std::pair<int, Sent>>;

/// The slide system driven by hand, its sprite queries answered by a real sprite table and
/// everything else it sends kept by the recorder.
struct SlideTest : ::testing::Test {
    SlideTest() {
        bus.Attach(sprites);
        slides.SendMessage = [this](const Message& message) { return bus.Send(message); };
    }
    /// What the slides sent that the sprite table did not answer: each message's type and its
    /// fields.
    Requests Sent() const {
        Requests out;
        for (const auto& record : bus.recorder.records) {
            out.emplace_back(record.id, record.fields.value_or(::Sent{}));
        }
        return out;
    }
    void Add(EntityId entity, const json& slide, float alpha = 0.0f) {
        ComponentSprite sprite;
        sprite.color.a = alpha;
        sprites.components[entity] = sprite;
        slides.HandleMessage(MessageAddComponentJSON("S", entity, slide, "Transition Slide"));
    }
    void Update(int frames = 1) {
        for (int i = 0; i < frames; ++i) slides.HandleMessage(MessageUpdate(kDt));
    }
    float Alpha(EntityId entity) { return sprites.components.at(entity).color.a; }
    void Key(int key, int action = MessageKey::kPressed) {
        slides.HandleMessage(MessageKey(key, action, 0, false));
    }

    static json Splash() {
        return {{"Start Time", 1},
                {"Next State", "Menu"},
                {"Transitions",
                 {{{"Effect", "FADE_IN"}, {"Time", 1}},
                  {{"Effect", "NONE"}, {"Time", 2}},
                  {{"Effect", "FADE_OUT"}, {"Time", 1}}}}};
    }

    SystemTransitionSlide slides;
    SystemSprite sprites;
    RecordingBus bus;
};

/// Leaving the current state (named by nothing: the current one) for the menu.
const Requests kToMenu = {{MessageId::DestroyState, {""}}, {MessageId::ChangeState, {"Menu"}}};

}  // namespace

TEST_F(SlideTest, ReadingComputesStepTimesAndRejectsUnknownEffects) {
    Add(1, Splash());
    const auto& slide = slides.components.at(1);
    ASSERT_EQ(slide.Transitions.size(), 3u);
    EXPECT_FLOAT_EQ(slide.Transitions[1].Begin, 1.0f);
    EXPECT_FLOAT_EQ(slide.Transitions[1].End, 3.0f);
    EXPECT_FLOAT_EQ(slide.Transitions[2].End, 4.0f);
    EXPECT_FLOAT_EQ(slide.TotalTime, 4.0f);
    EXPECT_TRUE(slide.Automatic());

    const json bad = {{"Transitions", {{{"Effect", "FADE"}, {"Time", 1}}}}};
    try {
        Add(2, bad);
        FAIL() << "an unknown effect was accepted";
    } catch (const json::exception& e) {
        EXPECT_NE(std::string(e.what()).find("\"FADE\""), std::string::npos) << e.what();
    }
    EXPECT_EQ(slides.components.count(2), 0u);
    EXPECT_THROW(Add(3, {{"Transitions", 5}}), json::type_error);
    EXPECT_EQ(slides.components.count(3), 0u);
}

TEST_F(SlideTest, SplashFadesInHoldsFadesOutThenChangesState) {
    Add(1, Splash());
    std::vector<float> alphas;
    for (int frame = 1; frame <= 21; ++frame) {
        Update();
        alphas.push_back(Alpha(1));
        // The change is asked for at the first update past 5 s, not before.
        EXPECT_EQ(Sent().empty(), frame * kDt <= 5.0f) << "at " << frame * kDt;
    }
    const std::vector<float> expected = {0, 0, 0, 0, 0.25, 0.5,  0.75, 1,    1, 1, 1,
                                         1, 1, 1, 1, 1,    0.75, 0.5,  0.25, 0, 0};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_FLOAT_EQ(alphas[i], expected[i]) << "at " << (i + 1) * kDt;
    }
    const auto sent = Sent();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(Requests(sent.begin(), sent.begin() + 2), kToMenu);

    // Near the ends of a fade the alpha snaps to its final value.
    const Transition in{TransitionEffectType::FADE_IN, 1.0f, 0.0f, 1.0f};
    const Transition out{TransitionEffectType::FADE_OUT, 1.0f, 0.0f, 1.0f};
    EXPECT_FLOAT_EQ(SystemTransitionSlide::StepAlpha(in, 0.0f, 0.89f), 0.89f);
    EXPECT_FLOAT_EQ(SystemTransitionSlide::StepAlpha(in, 0.0f, 0.9f), 1.0f);
    EXPECT_FLOAT_EQ(SystemTransitionSlide::StepAlpha(out, 0.0f, 0.9f), 0.1f);
    EXPECT_FLOAT_EQ(SystemTransitionSlide::StepAlpha(out, 0.0f, 0.96f), 0.0f);
}

TEST_F(SlideTest, SkipKeyEndsSkippableSlidesOnly) {
    json skippable = Splash();
    skippable["Skippable"] = true;
    Add(1, skippable);
    Add(2, Splash());
    Update(6);  // 1.5 s
    ASSERT_FLOAT_EQ(Alpha(1), 0.5f);

    Key(65);                         // not a skip key
    Key(32, MessageKey::kReleased);  // a release is no press
    Key(32, MessageKey::kRepeated);  // nor is a repeat
    Update();
    EXPECT_FLOAT_EQ(Alpha(1), 0.75f);
    EXPECT_TRUE(Sent().empty());

    Key(32);
    Update();
    EXPECT_FLOAT_EQ(Alpha(1), 0.75f) << "a skipped slide leaves its sprite as it was";
    EXPECT_EQ(Sent(), kToMenu);
    EXPECT_FLOAT_EQ(Alpha(2), 1.0f) << "the unskippable slide plays on";

    for (int key : {256, 257, 348, 349}) {
        SystemTransitionSlide fresh;
        fresh.HandleMessage(MessageAddComponentJSON("S", 1, skippable, "Transition Slide"));
        fresh.HandleMessage(MessageKey(key, MessageKey::kPressed, 0, false));
        EXPECT_FLOAT_EQ(fresh.components.at(1).Time, 5.0f) << "key " << key;
    }
}

TEST_F(SlideTest, SkippedIdleSlideEndsAtItsFirstUpdateOnceActivated) {
    Add(1, {{"Activate On Change To State", true},
            {"Skippable", true},
            {"Transitions", {{{"Effect", "FADE_IN"}, {"Time", 1}}}}});
    Key(256);
    Update(4);
    EXPECT_TRUE(Sent().empty()) << "an idle slide does not run";
    EXPECT_FLOAT_EQ(Alpha(1), 0.0f);

    slides.HandleMessage(MessagePlayTransitionState("Level2"));
    EXPECT_TRUE(Sent().empty());
    Update();
    EXPECT_EQ(Sent(),
              (Requests{{MessageId::DestroyState, {""}}, {MessageId::ChangeState, {"Level2"}}}));
    EXPECT_FLOAT_EQ(Alpha(1), 0.0f);
}

TEST_F(SlideTest, StateTransitionPlaysEveryActivatedSlideOrChangesAtOnce) {
    slides.HandleMessage(MessagePlayTransitionState("Level2"));
    EXPECT_EQ(Sent(),
              (Requests{{MessageId::DestroyState, {""}}, {MessageId::ChangeState, {"Level2"}}}));
    bus.recorder.Clear();

    const json fade = {{"Activate On Change To State", true},
                       {"Transitions", {{{"Effect", "FADE_IN"}, {"Time", 0.5}}}}};
    Add(1, fade);
    Add(2, fade);
    Add(3, Splash());  // automatic: not activated by the request
    std::string name = "Level3";
    slides.HandleMessage(MessagePlayTransitionState(name));
    name = "overwritten";  // the request's text only lives for the call
    EXPECT_TRUE(Sent().empty());
    Update(2);
    EXPECT_FLOAT_EQ(Alpha(1), 1.0f);
    EXPECT_FLOAT_EQ(Alpha(2), 1.0f);
    EXPECT_TRUE(Sent().empty());
    Update();
    const Requests change = {{MessageId::DestroyState, {""}}, {MessageId::ChangeState, {"Level3"}}};
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(Requests(sent.begin(), sent.begin() + 2), change);
    EXPECT_EQ(Requests(sent.begin() + 2, sent.end()), change);
}

TEST_F(SlideTest, ReloadPlaysTheDeathSlideBeforeAskingForTheRestore) {
    slides.HandleMessage(MessagePlayTransitionReloadCheckpoint());
    EXPECT_EQ(Sent(), (Requests{{MessageId::Trigger, {"Checkpoint", 0}}})) << "no slide: at once";
    bus.recorder.Clear();

    Add(1, {{"Activate On Reload Checkpoint", true},
            {"Transitions", {{{"Effect", "FADE_IN"}, {"Time", 0.5}}}}});
    Add(2,
        {{"Activate On Restore Checkpoint", true},
         {"Transitions", {{{"Effect", "FADE_OUT"}, {"Time", 0.5}}}}},
        0.0f);
    Update(3);
    EXPECT_FLOAT_EQ(Alpha(1), 0.0f) << "idle before the death";

    slides.HandleMessage(MessagePlayTransitionReloadCheckpoint());
    Update();
    slides.HandleMessage(MessagePlayTransitionReloadCheckpoint());  // repeats change nothing
    EXPECT_FLOAT_EQ(slides.components.at(1).Time, 0.25f);
    EXPECT_FLOAT_EQ(Alpha(1), 0.5f);
    EXPECT_TRUE(Sent().empty());
    Update(2);
    EXPECT_EQ(Sent(), (Requests{{MessageId::Trigger, {"Checkpoint", 0}}}));
    EXPECT_FLOAT_EQ(Alpha(2), 0.0f) << "the restore slide waits for the restore";

    slides.HandleMessage(MessageTrigger("checkpoint restore", true));
    Update();
    EXPECT_FLOAT_EQ(Alpha(2), 0.0f) << "trigger names match exactly";
    slides.HandleMessage(MessageTrigger("Checkpoint Restore", true));
    Update();
    EXPECT_FLOAT_EQ(Alpha(2), 0.5f);
}

TEST_F(SlideTest, ZeroLengthStepLandsOnItsFinalAlpha) {
    Add(1,
        {{"Activate On Change To State", true},
         {"Transitions", {{{"Effect", "NONE"}, {"Time", 0.5}}, {{"Effect", "FADE_OUT"}}}}},
        0.7f);
    slides.HandleMessage(MessagePlayTransitionState("Next"));
    Update();
    EXPECT_FLOAT_EQ(Alpha(1), 0.7f);
    Update();  // exactly at the zero-length step
    EXPECT_FLOAT_EQ(Alpha(1), 0.0f);

    const Transition in{TransitionEffectType::FADE_IN, 0.0f, 2.0f, 2.0f};
    EXPECT_FLOAT_EQ(SystemTransitionSlide::StepAlpha(in, 1.0f, 3.0f), 1.0f);
}

TEST(TransitionContent, ADeathInTheShippedLevelReloadsTheCheckpoint) {
    TempAssets assets;
    for (const char* folder : {"Assets/Data", "Assets/Textures"}) assets.CopyShipped(folder);
    TestEngine test(MakeRoster());
    test.Enter("Level1");
    const EntityId player = FindEntity(test, "Player");
    const EntityId fade = FindEntity(test, "TransitionDeathFade");
    const EntityId respawn = FindEntity(test, "TransitionRespawnFade");
    ASSERT_NE(player, 0);
    ASSERT_NE(fade, 0);
    ASSERT_NE(respawn, 0);
    auto alpha = [&](EntityId entity) {
        float a = -1.0f;
        EXPECT_TRUE(
            test.Query<ComponentSprite>(entity, [&](ComponentSprite& s) { a = s.color.a; }));
        return a;
    };
    test.Frames(30);
    EXPECT_FLOAT_EQ(alpha(fade), 0.0f) << "nothing is black before a death";
    EXPECT_FLOAT_EQ(alpha(respawn), 0.0f);
    ASSERT_TRUE(test.Query<ComponentTransform>(player, [](ComponentTransform& t) {
        t.translation = {37.5f, 8.0f, t.translation.z};  // onto the spikes
    }));
    test.recorder->Clear();

    float darkest = 0.0f;
    bool restored = false;
    for (int frame = 0; frame < 600 && !restored; ++frame) {
        test.Frame();
        darkest = std::max(darkest, alpha(fade));
        for (const auto& trigger : test.recorder->Fields(MessageId::Trigger)) {
            restored = restored || trigger.name == "Checkpoint Restore";
        }
    }
    ASSERT_TRUE(restored) << "the death never reloaded the level";
    EXPECT_FLOAT_EQ(darkest, 1.0f) << "the screen went black before the reload";
    EXPECT_LT(test.Get<ComponentTransform>(player).value().translation.x, 10.0f);
    EXPECT_FLOAT_EQ(alpha(fade), 0.0f);
    EXPECT_GT(alpha(respawn), 0.9f) << "black on the restore's own frame";
    test.Frames(60);
    EXPECT_FLOAT_EQ(alpha(respawn), 0.0f) << "faded back in";
}
