#include <gtest/gtest.h>

#include <vector>

#include "engine/MessageSpriteRender.h"
#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "services/graphics/MessageCamera.h"
#include "services/graphics/SystemCamera.h"
#include "services/graphics/SystemModel.h"
#include "services/graphics/SystemSprite.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

using json = nlohmann::json;

namespace {

std::vector<std::unique_ptr<SystemBase>> Roster() {
    std::vector<std::unique_ptr<SystemBase>> systems;
    systems.push_back(std::make_unique<SystemSprite>());
    systems.push_back(std::make_unique<SystemTransform>());
    systems.push_back(std::make_unique<SystemCamera>());
    systems.push_back(std::make_unique<SystemCameraPerspective>());
    systems.push_back(std::make_unique<SystemModel>());
    return systems;
}

struct AnnouncedSprite {
    std::string texture;
    glm::vec3 translation;
    glm::ivec2 index;
};

}  // namespace

TEST(GraphicsSystems, SpritesAndCamerasAreAnnouncedAtTheirWorldTransforms) {
    TempAssets assets;
    assets.Entity("Cam", {{"Camera", {{"Name", "World"}, {"View Height", 12}, {"Main", true}}},
                          // Placed so that both sprites are in its rolled picture.
                          {"Transform", {{"Translation", {8, 5, 0}}, {"Rotation", {0, 0, 90}}}}});
    assets.Entity("Body", {{"Sprite", {{"Texture", "Body"}, {"Index", {2, 1}}}},
                           {"Transform", {{"Translation", {10, 0, 1}}}},
                           {"Children", json::array({"Arm"})}});
    assets.Entity("Arm", {{"Sprite", {{"Texture", "Arm"}, {"Camera", "World"}}},
                          {"Transform", {{"Translation", {1, 2, 0.5}}}}});
    assets.Entity("Ghost", {{"Sprite", {{"Texture", "Ghost"}}}});
    assets.Entity("Statue", {{"Model", {{"Mesh", "statue.obj"}, {"Scale", 2}}}});
    assets.Scene("Level", {{"a", "Cam"}, {"b", "Body"}, {"c", "Ghost"}, {"d", "Statue"}});

    TestEngine test(Roster());
    std::vector<AnnouncedSprite> drawn;
    std::vector<graphics::CameraView> cameras;
    test.recorder->onMessage = [&](const Message& m) {
        if (m.TypeId() == MessageId::SpriteRender) {
            auto& r = static_cast<const MessageSpriteRender&>(m);
            drawn.push_back({r.sprite.texture, r.transform.translation, r.sprite.index});
        } else if (auto* c = MessageAs<graphics::MessageCamera>(m)) {
            cameras.push_back(c->camera);
        }
    };
    test.Enter("Level");

    // The ghost has no transform and is not drawn; the arm is drawn at its world position.
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].texture, "Body");
    EXPECT_EQ(drawn[0].index, glm::ivec2(2, 1));
    EXPECT_EQ(drawn[1].texture, "Arm");
    EXPECT_EQ(drawn[1].translation, glm::vec3(11, 2, 1.5f));
    ASSERT_EQ(cameras.size(), 1u);
    EXPECT_EQ(cameras[0].name, "World");
    EXPECT_TRUE(cameras[0].main);
    EXPECT_FLOAT_EQ(cameras[0].viewHeight, 12.0f);
    EXPECT_EQ(cameras[0].position, glm::vec3(8, 5, 0));
    EXPECT_NEAR(cameras[0].rotation.z, 1.5707963f, 1e-5f);

    // Stored transforms stay relative to the parent after the render's queries.
    EXPECT_TRUE(test.Query<ComponentTransform>(
        3, [](ComponentTransform& t) { EXPECT_EQ(t.translation, glm::vec3(11, 2, 1.5f)); }));
    EXPECT_TRUE(test.Query<ComponentModel>(
        5, [](ComponentModel& model) { EXPECT_EQ(model.description.at("Mesh"), "statue.obj"); }));
}

TEST(GraphicsSystems, SpriteKeysAreReadAndBadTypesAddNothing) {
    ComponentSprite sprite;
    from_json(json{{"Texture", "Sheet"},
                   {"Blend", "Additive"},
                   {"Color", {0.5, 0.25, 1, 0.75}},
                   {"Dimensions", {4, 2}}},
              sprite);
    EXPECT_EQ(sprite.texture, "Sheet");
    EXPECT_EQ(sprite.shader, "Default");
    EXPECT_EQ(sprite.blend, "Additive");
    EXPECT_EQ(sprite.color, glm::vec4(0.5f, 0.25f, 1.0f, 0.75f));
    EXPECT_EQ(sprite.dimensions, glm::vec2(4, 2));
    EXPECT_EQ(sprite.index, glm::ivec2(0, 0));

    ComponentCamera camera;
    EXPECT_THROW(from_json(json{{"View Height", "tall"}}, camera), json::type_error);
    EXPECT_THROW(from_json(json{{"Index", {1}}}, sprite), json::out_of_range);

    TempAssets assets;
    assets.Entity("Bad", {{"Sprite", {{"Texture", 5}}}, {"Transform", json::object()}});
    assets.Scene("Level", {{"a", "Bad"}});
    TestEngine test(Roster());
    try {
        test.Enter("Level");
        ADD_FAILURE() << "a texture that is a number must fail the load";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("Bad.json"), std::string::npos) << e.what();
    }
}

TEST(GraphicsSystems, CheckpointCopiesKeepSpritesAndCameras) {
    TempAssets assets;
    assets.Entity("Cam", {{"Camera", {{"Main", true}}}, {"Transform", json::object()}});
    assets.Entity("Thing", {{"Sprite", {{"Texture", "T"}}}, {"Transform", json::object()}});
    assets.Scene("Level", {{"a", "Cam"}, {"b", "Thing"}});
    TestEngine test(Roster());
    test.Enter("Level");
    ASSERT_TRUE(test.Query<ComponentSprite>(2, [](ComponentSprite& s) { s.texture = "Changed"; }));
    test.Send(MessageTrigger("Checkpoint", false));

    int sprites = 0;
    int cameras = 0;
    std::string texture;
    test.recorder->onMessage = [&](const Message& m) {
        if (m.TypeId() == MessageId::SpriteRender) {
            ++sprites;
            texture = static_cast<const MessageSpriteRender&>(m).sprite.texture;
        }
        if (MessageAs<graphics::MessageCamera>(m)) ++cameras;
    };
    test.Frame();
    // The restore brings back the state as it was saved on entering, before the change.
    EXPECT_EQ(sprites, 1);
    EXPECT_EQ(cameras, 1);
    EXPECT_EQ(texture, "T");
}
