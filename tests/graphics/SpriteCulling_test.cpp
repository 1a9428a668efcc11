#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/MessageSpriteRender.h"
#include "engine/MessageViews.h"
#include "engine/SystemTransform.h"
#include "services/graphics/SystemCamera.h"
#include "services/graphics/SystemSprite.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

using json = nlohmann::json;

namespace {

std::unique_ptr<TestEngine> MakeEngine() {
    std::vector<std::unique_ptr<SystemBase>> systems;
    systems.push_back(std::make_unique<SystemSprite>());
    systems.push_back(std::make_unique<SystemTransform>());
    systems.push_back(std::make_unique<SystemCamera>());
    systems.push_back(std::make_unique<SystemCameraPerspective>());
    return std::make_unique<TestEngine>(std::move(systems));
}

json SpriteAt(const std::string& texture, float x, float y, float size = 1.0f) {
    return {{"Sprite", {{"Texture", texture}}},
            {"Transform", {{"Translation", {x, y, 0}}, {"Scale", {size, size, 1}}}}};
}

/// A camera at (4, 5) seeing 12 units high and 12 * 16 / 9 wide, and sprites around it.
void WriteLevel(const TempAssets& assets, const json& camera) {
    json cam = {{"Transform", {{"Translation", {4, 5, 0}}}}};
    cam.update(camera);
    assets.Entity("Cam", cam);
    assets.Entity("In", SpriteAt("In", 0, 0));
    // Its centre is off screen, but its edge reaches in.
    assets.Entity("Edge", SpriteAt("Edge", 4 + 32.0f / 3.0f + 1.5f, 5, 4));
    assets.Entity("Far", SpriteAt("Far", 40, 5));
    assets.Entity("Below", SpriteAt("Below", 4, -3));
    assets.Scene("Level", {{"a", "Cam"}, {"b", "In"}, {"c", "Edge"}, {"d", "Far"}, {"e", "Below"}});
}

std::set<std::string> DrawnNames(TestEngine& test) {
    std::set<std::string> drawn;
    test.recorder->onMessage = [&](const Message& m) {
        if (auto* r = MessageAs<MessageSpriteRender>(m)) drawn.insert(r->sprite.texture);
    };
    test.Frame();
    test.recorder->onMessage = nullptr;
    return drawn;
}

}  // namespace

TEST(SpriteCulling, SpritesOutsideEveryCameraAreNotSent) {
    TempAssets assets;
    WriteLevel(assets, {{"Camera", {{"View Height", 12}, {"Main", true}}}});
    auto test = MakeEngine();
    test->Enter("Level");
    EXPECT_EQ(DrawnNames(*test), (std::set<std::string>{"In", "Edge"}));

    // The camera's footprint as the drawing systems read it.
    const MessageQueryViews query;
    test->Send(query);
    ASSERT_TRUE(query.answered);
    ASSERT_EQ(query.views.size(), 1u);
    EXPECT_NEAR(query.views[0].min.x, 4.0f - 32.0f / 3.0f, 1e-4f);
    EXPECT_NEAR(query.views[0].max.y, 11.0f, 1e-4f);
    EXPECT_FALSE(query.unbounded);
}

TEST(SpriteCulling, APerspectiveCameraOrNoCameraDrawsEverything) {
    TempAssets assets;
    WriteLevel(assets, {{"Perspective Camera", {{"Main", true}}}});
    auto test = MakeEngine();
    test->Enter("Level");
    EXPECT_EQ(DrawnNames(*test).size(), 4u);

    assets.Scene("Bare", {{"b", "In"}, {"d", "Far"}});
    test->Enter("Bare");
    EXPECT_EQ(DrawnNames(*test), (std::set<std::string>{"In", "Far"}));
}
