#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "audio/AudioBus.h"
#include "audio/AudioMixRules.h"
#include "audio/AudioParameters.h"

// The rules of the mix on their own: no device, no files.
namespace {

using audio::Bus;
using audio::BusTree;
using audio::Curve;
using audio::EventDefinition;
using audio::ParameterTable;
using audio::Result;

TEST(BusTree, PathsNestAndMissingAncestorsAreMadeWithFullVolume) {
    EXPECT_EQ(audio::ParentBusPath("bus:/SFX/Player"), "bus:/SFX");
    EXPECT_EQ(audio::ParentBusPath("bus:/SFX"), "bus:/");
    EXPECT_EQ(audio::ParentBusPath("bus:/"), "bus:/");
    BusTree tree;
    EXPECT_EQ(tree.Find("bus:/SFX"), nullptr);
    Bus& player = tree.Make("bus:/SFX/Player");
    Bus* sfx = tree.Find("bus:/SFX");
    ASSERT_NE(sfx, nullptr);
    EXPECT_EQ(&tree.Make("bus:/SFX/Player"), &player);
    float volume = 0.0f;
    ASSERT_EQ(sfx->GetVolume(&volume), Result::Ok);
    EXPECT_EQ(volume, 1.0f);
}

TEST(BusTree, VolumesMultiplyAndPausesReachDownButNotAcross) {
    BusTree tree;
    Bus& player = tree.Make("bus:/SFX/Player");
    Bus& music = tree.Make("bus:/Music");
    Bus& sfx = *tree.Find("bus:/SFX");
    ASSERT_EQ(tree.Master().SetVolume(0.5f), Result::Ok);
    ASSERT_EQ(sfx.SetVolume(0.4f), Result::Ok);
    ASSERT_EQ(player.SetVolume(2.0f), Result::Ok);
    EXPECT_FLOAT_EQ(player.EffectiveVolume(), 0.4f);
    EXPECT_FLOAT_EQ(music.EffectiveVolume(), 0.5f);
    sfx.SetPaused(true);
    EXPECT_TRUE(player.EffectivePaused());
    EXPECT_FALSE(music.EffectivePaused());
    sfx.SetPaused(false);
    tree.Master().SetPaused(true);
    EXPECT_TRUE(player.EffectivePaused());
    EXPECT_TRUE(music.EffectivePaused());
}

TEST(BusTree, UnusableVolumesAreRefusedAndTheOldOneStays) {
    BusTree tree;
    Bus& master = tree.Master();
    ASSERT_EQ(master.SetVolume(0.3f), Result::Ok);
    EXPECT_EQ(master.SetVolume(-0.1f), Result::ErrInvalidParam);
    EXPECT_EQ(master.SetVolume(std::nanf("")), Result::ErrInvalidParam);
    EXPECT_EQ(master.SetVolume(INFINITY), Result::ErrInvalidParam);
    EXPECT_FLOAT_EQ(master.EffectiveVolume(), 0.3f);
    EXPECT_EQ(master.GetVolume(nullptr), Result::ErrInvalidParam);
}

TEST(ParameterTable, FirstDeclarationWinsAndValuesAreClampedIntoItsRange) {
    ParameterTable table;
    table.Declare("Speed", {0.0f, 10.0f, 2.0f, 0.0f});
    table.Declare("Speed", {0.0f, 1.0f, 0.5f, 0.0f});
    float value = -1.0f;
    float heard = -1.0f;
    ASSERT_EQ(table.Get("Speed", &value, &heard), Result::Ok);
    EXPECT_EQ(value, 2.0f);
    EXPECT_EQ(heard, 2.0f);
    // Without a seek speed the heard value jumps.
    ASSERT_EQ(table.Set("Speed", 25.0f, false), Result::Ok);
    EXPECT_EQ(table.Heard("Speed"), 10.0f);
    ASSERT_EQ(table.Set("Speed", -3.0f, false), Result::Ok);
    EXPECT_EQ(table.Heard("Speed"), 0.0f);
    EXPECT_EQ(table.Set("Speed", std::nanf(""), false), Result::ErrInvalidParam);
    EXPECT_EQ(table.Heard("Speed"), 0.0f);
    EXPECT_EQ(table.Set("Sped", 1.0f, false), Result::ErrEventNotFound);
    EXPECT_EQ(table.Get("Sped", &value, &heard), Result::ErrEventNotFound);
    EXPECT_EQ(table.Heard("Sped"), 0.0f);
}

TEST(ParameterTable, HeardValueSeeksBySpeedTimesStepAndStopsOnTheTarget) {
    ParameterTable table;
    table.Declare("Duck", {0.0f, 1.0f, 0.0f, 4.0f});
    table.Declare("Still", {0.0f, 1.0f, 0.25f, 0.0f});
    ASSERT_EQ(table.Set("Duck", 1.0f, false), Result::Ok);
    table.Seek(0.0f);
    EXPECT_EQ(table.Heard("Duck"), 0.0f);
    table.Seek(0.1f);
    EXPECT_FLOAT_EQ(table.Heard("Duck"), 0.4f);
    table.Seek(0.1f);
    EXPECT_FLOAT_EQ(table.Heard("Duck"), 0.8f);
    table.Seek(0.1f);
    EXPECT_EQ(table.Heard("Duck"), 1.0f);
    // Downwards at the same speed; ignoring the seek speed jumps.
    table.Set("Duck", 0.0f, false);
    table.Seek(0.05f);
    EXPECT_FLOAT_EQ(table.Heard("Duck"), 0.8f);
    table.Set("Duck", 0.5f, true);
    EXPECT_EQ(table.Heard("Duck"), 0.5f);
    EXPECT_EQ(table.Heard("Still"), 0.25f);
}

TEST(Curve, InterpolatesBetweenPointsAndHoldsBeyondThem) {
    Curve curve{{{0.0f, 1.0f}, {1.0f, 0.5f}, {3.0f, 0.0f}}};
    EXPECT_FLOAT_EQ(curve.At(-5.0f), 1.0f);
    EXPECT_FLOAT_EQ(curve.At(0.5f), 0.75f);
    EXPECT_FLOAT_EQ(curve.At(2.0f), 0.25f);
    EXPECT_FLOAT_EQ(curve.At(9.0f), 0.0f);
}

class EventMix : public ::testing::Test {
protected:
    void SetUp() override {
        parameters.Declare("Speed", {0.0f, 4.0f, 0.0f, 0.0f});
        parameters.Declare("Duck", {0.0f, 1.0f, 0.0f, 0.0f});
        event.volume = 0.8f;
        event.pitch = 1.5f;
        event.bindings.push_back(
            {"Speed", Curve{{{0.0f, 0.0f}, {2.0f, 1.0f}}}, Curve{{{0.0f, 1.0f}, {4.0f, 2.0f}}}});
        event.bindings.push_back({"Duck", Curve{{{0.0f, 1.0f}, {1.0f, 0.25f}}}, std::nullopt});
    }

    BusTree buses;
    ParameterTable parameters;
    EventDefinition event;
};

TEST_F(EventMix, GainMultipliesEventVariationBusesAndEveryVolumeCurve) {
    Bus& bus = buses.Make("bus:/SFX");
    bus.SetVolume(0.5f);
    // Silent at "Speed" 0, as footsteps are standing still.
    EXPECT_EQ(audio::EventGain(event, 1.0f, bus, parameters), 0.0f);
    parameters.Set("Speed", 1.0f, false);
    EXPECT_FLOAT_EQ(audio::EventGain(event, 1.0f, bus, parameters), 0.8f * 0.5f * 0.5f);
    parameters.Set("Duck", 1.0f, false);
    EXPECT_FLOAT_EQ(audio::EventGain(event, 1.1f, bus, parameters),
                    0.8f * 1.1f * 0.5f * 0.5f * 0.25f);
    buses.Master().SetVolume(0.0f);
    EXPECT_EQ(audio::EventGain(event, 1.0f, bus, parameters), 0.0f);
}

TEST_F(EventMix, GainIsNeverNegativeEvenWhenACurveIs) {
    event.bindings[1].volume = Curve{{{0.0f, -2.0f}, {1.0f, -2.0f}}};
    parameters.Set("Speed", 2.0f, false);
    EXPECT_EQ(audio::EventGain(event, 1.0f, buses.Master(), parameters), 0.0f);
}

TEST_F(EventMix, PitchMultipliesOnlyPitchCurvesAndStaysWithinItsLimits) {
    EXPECT_FLOAT_EQ(audio::EventPitch(event, 1.0f, parameters), 1.5f);
    parameters.Set("Speed", 2.0f, false);
    parameters.Set("Duck", 1.0f, false);
    EXPECT_FLOAT_EQ(audio::EventPitch(event, 0.9f, parameters), 1.5f * 0.9f * 1.5f);
    event.pitch = 16.0f;
    EXPECT_EQ(audio::EventPitch(event, 1.0f, parameters), audio::kMaxPitch);
    event.pitch = 0.001f;
    EXPECT_EQ(audio::EventPitch(event, 1.0f, parameters), audio::kMinPitch);
}

TEST(VariationFactor, NoVariationIsExactlyOneAndDrawsNothing) {
    std::mt19937 random;
    std::mt19937 untouched;
    EXPECT_EQ(audio::VariationFactor(0.0f, random), 1.0f);
    EXPECT_EQ(random, untouched);
    float lowest = 2.0f;
    float highest = 0.0f;
    for (int i = 0; i < 2000; ++i) {
        float factor = audio::VariationFactor(0.2f, random);
        lowest = std::min(lowest, factor);
        highest = std::max(highest, factor);
    }
    EXPECT_GE(lowest, 0.8f);
    EXPECT_LE(highest, 1.2f);
    // Both sides of 1 are used, not a one-sided spread.
    EXPECT_LT(lowest, 0.85f);
    EXPECT_GT(highest, 1.15f);
}

TEST(PlaceEvent, FlatEventsSitOnTheListenerAndPlacedOnesStandBackByMinDistance) {
    EventDefinition flat;
    audio::Placement centred = audio::PlaceEvent(flat, glm::vec3(30, -4, 2));
    EXPECT_EQ(centred.position, glm::vec3(0.0f));
    EXPECT_EQ(centred.rolloff, 0.0f);
    EventDefinition placed;
    placed.is3D = true;
    placed.minDistance = 8.0f;
    placed.maxDistance = 40.0f;
    audio::Placement p = audio::PlaceEvent(placed, glm::vec3(30, -4, 2));
    EXPECT_EQ(p.position, glm::vec3(30, -4, -10));
    EXPECT_EQ(p.referenceDistance, 8.0f);
    EXPECT_FLOAT_EQ(p.maxDistance, std::sqrt(40.0f * 40.0f + 8.0f * 8.0f));
    EXPECT_EQ(p.rolloff, 1.0f);
}

}  // namespace
