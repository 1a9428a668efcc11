#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "engine/ComponentSprite.h"
#include "engine/DataError.h"
#include "engine/MessageFrame.h"
#include "game/Roster.h"
#include "game/presentation/SystemAssetVariant.h"
#include "game/presentation/SystemStaticAnimator.h"
#include "services/animation/MessageAnimation.h"
#include "services/graphics/SystemSprite.h"
#include "tests/game/GameFixture.h"
#include "tests/game/PresentationBus.h"

using json = nlohmann::json;
namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kSeed = 20261209;

struct AssetVariantTest : ::testing::Test {
    AssetVariantTest() {
        bus.Add<SystemSprite>();
        variants = &bus.Add<SystemAssetVariant>(kSeed);
        for (const char* name : {"crate_b.png", "crate_a.png", "crate_c.png"})
            Touch("Crates", name);
        Touch("Crates", "notes.txt");
        Touch("Crates", "crate_old.png.bak");
        fs::create_directories(assets.Root() / "Assets/Textures/Crates/sub.png");
        fs::create_directories(assets.Root() / "Assets/Textures/Empty");
        fs::create_directories(assets.Root() / "Outside");
        std::ofstream(assets.Root() / "Outside/secret.png") << "x";
    }
    void Touch(const std::string& folder, const std::string& file) {
        const fs::path dir = assets.Root() / "Assets/Textures" / folder;
        fs::create_directories(dir);
        std::ofstream(dir / file) << "png";
    }
    /// Gives `entity` a sprite with texture "Base" and a variant, then announces its birth.
    void Born(EntityId entity, const json& variant, bool sprite = true) {
        if (sprite) bus.Component(entity, "Sprite", {{"Texture", "Base"}});
        bus.Component(entity, "Variant", variant);
        bus.Send(MessageEntityBirth(entity));
    }
    std::string Texture(EntityId entity) {
        std::string texture;
        const std::function<void(ComponentSprite&)> read = [&](ComponentSprite& s) {
            texture = s.texture;
        };
        EXPECT_TRUE(bus.Send(MessageQuery<ComponentSprite>(entity, read)));
        return texture;
    }

    TempAssets assets;
    PresentationBus bus;
    SystemAssetVariant* variants = nullptr;
};

const std::vector<std::string> kCrates = {"Crates/crate_a", "Crates/crate_b", "Crates/crate_c"};

}  // namespace

TEST_F(AssetVariantTest, ListsOnlyPngFilesSortedWithTheFolderName) {
    EXPECT_EQ(SystemAssetVariant::ListVariants("Crates"), kCrates);
    EXPECT_EQ(SystemAssetVariant::ListVariants("Crates/"), kCrates);
    EXPECT_TRUE(SystemAssetVariant::ListVariants("Empty").empty());
    EXPECT_TRUE(SystemAssetVariant::ListVariants("Missing").empty());
    EXPECT_TRUE(SystemAssetVariant::ListVariants("").empty()) << "not the textures folder itself";
    EXPECT_TRUE(SystemAssetVariant::ListVariants("../../Outside").empty());
    EXPECT_TRUE(SystemAssetVariant::ListVariants((assets.Root() / "Outside").string()).empty());
}

TEST_F(AssetVariantTest, ChanceOneAlwaysPicksAFileOfTheFolder) {
    std::set<std::string> seen;
    for (EntityId id = 1; id <= 30; ++id) {
        Born(id, {{"Variant Folder", "Crates"}, {"Chance", 1}});
        const std::string texture = Texture(id);
        EXPECT_NE(std::find(kCrates.begin(), kCrates.end(), texture), kCrates.end()) << texture;
        seen.insert(texture);
    }
    // One generator continued across births: the scenery varies within one scene.
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(AssetVariantTest, ChanceZeroOrLessNeverAndChanceThreeSometimes) {
    for (EntityId id = 1; id <= 20; ++id) {
        Born(id, {{"Variant Folder", "Crates"}, {"Chance", id % 2 == 0 ? 0 : -4}});
        EXPECT_EQ(Texture(id), "Base");
    }
    int changed = 0;
    for (EntityId id = 100; id < 400; ++id) {
        Born(id, {{"Variant Folder", "Crates"}, {"Chance", 3}});
        changed += Texture(id) != "Base";
    }
    EXPECT_GT(changed, 60);
    EXPECT_LT(changed, 140);
}

TEST_F(AssetVariantTest, EmptyOrMissingFoldersAndSpritelessEntitiesAreLeftAlone) {
    Born(1, {{"Variant Folder", "Empty"}});
    Born(2, {{"Variant Folder", "Missing"}});
    Born(3, json::object());
    Born(4, {{"Variant Folder", "Crates"}}, false);
    EXPECT_EQ(Texture(1), "Base");
    EXPECT_EQ(Texture(2), "Base");
    EXPECT_EQ(Texture(3), "Base");
    bus.Send(MessageEntityBirth(99));  // no variant at all
}

TEST_F(AssetVariantTest, FoldersOutsideTheTexturesAreDataErrors) {
    for (const char* folder : {"..", "../Outside", "Crates/../../Outside", "/tmp", "", "."}) {
        EXPECT_THROW(bus.Component(7, "Variant", {{"Variant Folder", folder}}), json::exception)
            << folder;
        EXPECT_EQ(variants->components.count(7), 0u) << folder;
    }
    EXPECT_THROW(bus.Component(7, "Variant", {{"Chance", "often"}}), json::type_error);
}

TEST_F(AssetVariantTest, AnEntityFileWithAClimbingFolderNamesTheFile) {
    assets.Entity("Crate", {{"Sprite", json::object()}, {"Variant", {{"Variant Folder", "../x"}}}});
    assets.Scene("Yard", {{"crate", "Crate"}});
    TestEngine test(MakeRoster(kSeed));
    try {
        test.Enter("Yard");
        FAIL() << "the bad folder was accepted";
    } catch (const DataError& e) {
        EXPECT_NE(std::string(e.what()).find("Entity/Crate.json"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("Variant Folder"), std::string::npos) << e.what();
    }
}

TEST_F(AssetVariantTest, TheSameSeedDrawsTheSameAndACopyContinuesLikeTheOriginal) {
    auto draw = [this](SystemAssetVariant& system, EntityId from) {
        std::vector<std::string> textures;
        system.SendMessage = bus.systems.front()->SendMessage;
        for (EntityId id = from; id < from + 12; ++id) {
            bus.Component(id, "Sprite", {{"Texture", "Base"}});
            system.components[id] = {"Crates", 1};
            system.HandleMessage(MessageEntityBirth(id));
            textures.push_back(Texture(id));
        }
        return textures;
    };
    SystemAssetVariant first(kSeed);
    SystemAssetVariant second(kSeed);
    EXPECT_EQ(draw(first, 100), draw(second, 200));

    // A checkpoint is a copy: restoring it repeats the draws that followed the save.
    auto copy = first.Clone();
    const auto afterOriginal = draw(first, 300);
    EXPECT_EQ(draw(static_cast<SystemAssetVariant&>(*copy), 400), afterOriginal);
    EXPECT_EQ(static_cast<SystemAssetVariant&>(*copy).Seed(), kSeed);
}

TEST(StaticAnimator, RequestsItsLoopingAnimationOnceAtTheFirstUpdate) {
    PresentationBus bus;
    auto& animators = bus.Add<SystemStaticAnimator>();
    std::vector<std::string> requests;
    bus.onMessage = [&requests](const Message& message) {
        if (message.TypeId() != MessageId::SetAnimation) return;
        auto& set = static_cast<const MessageSetAnimation&>(message);
        EXPECT_TRUE(set.loop);
        EXPECT_FALSE(set.queued);
        EXPECT_FLOAT_EQ(set.delay, 0.0f);
        EXPECT_FLOAT_EQ(set.speed, 1.0f);
        requests.push_back(std::to_string(set.entity) + " " + std::string(set.name));
    };
    bus.Component(3, "Static Animator", {{"Animation To Play", "Flicker"}});
    EXPECT_TRUE(requests.empty()) << "nothing before the first update";
    bus.Send(MessageUpdate(0.1f));
    bus.Send(MessageUpdate(0.1f));
    EXPECT_EQ(requests, std::vector<std::string>{"3 Flicker"});
    EXPECT_TRUE(animators.components.at(3).AnimationStarted);

    // A copy taken before the first update (a checkpoint on entering) asks again once.
    bus.Component(4, "Static Animator", {{"Animation To Play", "Wave"}});
    auto saved = animators.Clone();
    bus.Send(MessageUpdate(0.1f));
    saved->SendMessage = animators.SendMessage;
    saved->HandleMessage(MessageUpdate(0.1f));
    saved->HandleMessage(MessageUpdate(0.1f));
    EXPECT_EQ(requests, (std::vector<std::string>{"3 Flicker", "4 Wave", "4 Wave"}));
}
