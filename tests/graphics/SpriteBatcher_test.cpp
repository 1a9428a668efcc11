#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>

#include "services/graphics/SpriteBatcher.h"
#include "services/graphics/TextureFile.h"
#include "tests/graphics/RecordingBackend.h"
#include "tests/support/TempAssets.h"

using graphics::Blend;
using graphics::CameraView;
using graphics::SpriteBatcher;

namespace {

/// A batcher whose textures are 2x2 pictures for every name except "missing/*".
struct Fixture {
    RecordingBackend backend;
    std::map<std::string, int> loads;
    std::vector<std::string> warnings;
    SpriteBatcher batcher{backend,
                          [this](const std::string& name, graphics::Image& image) {
                              ++loads[name];
                              if (name.rfind("missing/", 0) == 0) return false;
                              image = graphics::Image{2, 2, std::vector<std::uint8_t>(16, 200)};
                              return true;
                          },
                          [this](const std::string& text) { warnings.push_back(text); }};

    /// Tags each sprite by its x so the drawing order can be read back from the upload.
    void Add(const std::string& texture, float x, float z, const std::string& camera = "",
             const std::string& blend = "") {
        ComponentSprite sprite;
        sprite.texture = texture;
        sprite.camera = camera;
        sprite.blend = blend;
        ComponentTransform transform;
        transform.translation = {x, 0.0f, z};
        batcher.Submit(sprite, transform);
    }

    std::vector<float> DrawnXs() const {
        std::vector<float> xs;
        for (const auto& instance : backend.uploaded) xs.push_back(instance.positionRotation.x);
        return xs;
    }
};

CameraView Camera(const std::string& name, bool main, int order, float height = 10.0f) {
    CameraView camera;
    camera.name = name;
    camera.main = main;
    camera.order = order;
    camera.viewHeight = height;
    return camera;
}

}  // namespace

TEST(SpriteBatcher, OrdersByDepthKeepingSubmissionOrderForEqualDepths) {
    Fixture f;
    f.Add("a", 1, 5.0f);
    f.Add("a", 2, -3.0f);
    f.Add("a", 3, 0.0f);
    f.Add("a", 4, -3.0f);
    f.Add("a", 5, 0.0f);
    f.Add("a", 6, -0.0f);
    f.Add("a", 7, 0.1f);
    f.batcher.Flush(16.0f / 9.0f);

    EXPECT_EQ(f.DrawnXs(), (std::vector<float>{2, 4, 3, 5, 6, 7, 1}));
    ASSERT_EQ(f.backend.draws.size(), 1u);
    EXPECT_EQ(f.backend.draws[0].count, 7u);
}

TEST(SpriteBatcher, OneDrawPerRunOfTextureAndBlend) {
    Fixture f;
    f.Add("a", 1, 0);
    f.Add("a", 2, 0);
    f.Add("b", 3, 0);
    f.Add("b", 4, 0, "", "Additive");
    f.Add("b", 5, 0, "", "Additive");
    f.Add("a", 6, 0, "", "Alpha");
    f.Add("a", 7, 0);
    const std::size_t draws = f.batcher.Flush(1.0f);

    ASSERT_EQ(draws, 4u);
    const auto& d = f.backend.draws;
    ASSERT_EQ(d.size(), 4u);
    EXPECT_EQ(d[0].texture, d[3].texture);
    EXPECT_NE(d[0].texture, d[1].texture);
    EXPECT_EQ(d[1].texture, d[2].texture);
    EXPECT_EQ(d[2].blend, Blend::Additive);
    EXPECT_EQ(d[3].blend, Blend::Alpha);
    // Runs cover the upload without gaps: "" and "Alpha" are the same blend.
    std::size_t next = 0;
    std::vector<std::size_t> counts;
    for (const auto& draw : d) {
        EXPECT_EQ(draw.first, next);
        next += draw.count;
        counts.push_back(draw.count);
    }
    EXPECT_EQ(counts, (std::vector<std::size_t>{2, 1, 2, 2}));
    EXPECT_EQ(f.backend.uploads, 1);
}

TEST(SpriteBatcher, CamerasDrawInOrderWhateverTheDepth) {
    Fixture f;
    f.batcher.AddCamera(Camera("HUD", false, 1, 4.0f));
    f.batcher.AddCamera(Camera("", true, 0));
    f.Add("a", 1, 0.0f, "HUD");
    f.Add("a", 2, 50.0f);
    f.Add("a", 3, -1.0f, "HUD");
    f.Add("a", 4, 10.0f);
    f.batcher.Flush(1.0f);

    EXPECT_EQ(f.DrawnXs(), (std::vector<float>{4, 2, 3, 1}));
    ASSERT_EQ(f.backend.draws.size(), 2u);
    EXPECT_EQ(f.backend.draws[0].cameraChanges, 1);
    EXPECT_EQ(f.backend.draws[1].cameraChanges, 2);
    // The HUD camera is 4 units high: a point 2 units up is the top of the picture.
    const glm::vec4 top = f.backend.cameras[1] * glm::vec4(0.0f, 2.0f, 0.0f, 1.0f);
    EXPECT_NEAR(top.y / top.w, 1.0f, 1e-5f);
    EXPECT_TRUE(f.warnings.empty());
}

TEST(SpriteBatcher, UnknownCameraFallsBackToTheMainOneAndWarnsOnce) {
    Fixture f;
    for (int frame = 0; frame < 2; ++frame) {
        f.batcher.AddCamera(Camera("", true, 0));
        f.Add("a", 1, 0.0f, "Nowhere");
        f.Add("a", 2, 0.0f);
        f.batcher.Flush(1.0f);
        EXPECT_EQ(f.backend.draws.size(), static_cast<std::size_t>(frame + 1));
    }
    EXPECT_EQ(f.warnings.size(), 1u);
}

TEST(SpriteBatcher, WithoutCamerasTheDefaultOneIsUsedAndReported) {
    Fixture f;
    f.Add("a", 1, 0.0f);
    f.batcher.Flush(2.0f);
    ASSERT_EQ(f.batcher.LastCameras().size(), 1u);
    EXPECT_TRUE(f.batcher.LastCameras()[0].main);
    // Ten units high, twenty wide at aspect 2: x = 10 is the right edge.
    const glm::vec4 right = f.backend.cameras.at(0) * glm::vec4(10.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_NEAR(right.x, 1.0f, 1e-5f);
}

TEST(SpriteBatcher, TexturesLoadOnceAndMissingOnesDrawAPlaceholder) {
    Fixture f;
    for (int frame = 0; frame < 3; ++frame) {
        f.Add("a", 1, 0);
        f.Add("b", 2, 0);
        f.Add("a", 3, 0);
        f.Add("missing/x", 4, 0);
        f.Add("", 5, 0);
        f.batcher.Flush(1.0f);
    }
    EXPECT_EQ(f.loads["a"], 1);
    EXPECT_EQ(f.loads["b"], 1);
    EXPECT_EQ(f.loads["missing/x"], 1);
    EXPECT_EQ(f.loads.count(""), 0u);
    ASSERT_EQ(f.backend.images.size(), 4u);
    ASSERT_EQ(f.warnings.size(), 1u);
    EXPECT_NE(f.warnings[0].find("Assets/Textures/missing/x.png"), std::string::npos);
    // The placeholder is a magenta checker board; the empty name is one white pixel.
    const graphics::Image& placeholder = f.backend.images[2];
    EXPECT_GT(placeholder.width, 1);
    EXPECT_EQ(placeholder.pixels[0], 255);
    EXPECT_EQ(placeholder.pixels[1], 0);
    EXPECT_EQ(placeholder.pixels[2], 255);
    const graphics::Image& white = f.backend.images[3];
    EXPECT_EQ(white.width, 1);
    EXPECT_EQ(white.pixels, (std::vector<std::uint8_t>{255, 255, 255, 255}));
}

TEST(SpriteBatcher, SheetCellsCountColumnsThenRowsFromTheTopLeft) {
    // Four columns, two rows: cell (1, 1) is the second cell of the lower row.
    EXPECT_EQ(SpriteBatcher::CellUv({4, 2}, {1, 1}), glm::vec4(0.25f, 0.5f, 0.5f, 1.0f));
    EXPECT_EQ(SpriteBatcher::CellUv({4, 2}, {3, 0}), glm::vec4(0.75f, 0.0f, 1.0f, 0.5f));
    // Indices outside the sheet wrap; degenerate dimensions mean one cell.
    EXPECT_EQ(SpriteBatcher::CellUv({4, 2}, {5, -1}), SpriteBatcher::CellUv({4, 2}, {1, 1}));
    EXPECT_EQ(SpriteBatcher::CellUv({0, -3}, {2, 7}), glm::vec4(0.0f, 0.0f, 1.0f, 1.0f));
    EXPECT_EQ(SpriteBatcher::CellUv({1, 1}, {0, 0}), glm::vec4(0.0f, 0.0f, 1.0f, 1.0f));
}

TEST(SpriteBatcher, BatchesTakeColourAndFramePerElement) {
    Fixture f;
    ComponentSprite sprite;
    sprite.texture = "sheet";
    sprite.dimensions = {2, 2};
    sprite.color = {0.5f, 0.5f, 0.5f, 0.5f};
    std::vector<ComponentTransform> transforms(3);
    transforms[0].translation = {0, 0, 2};
    transforms[1].translation = {1, 0, 1};
    transforms[2].translation = {2, 0, 0};
    transforms[1].rotation.z = 1.5f;
    transforms[1].scale = {-2.0f, 3.0f, 1.0f};
    const std::vector<glm::vec4> colors{{1, 0, 0, 1}, {0, 1, 0, 1}};
    const std::vector<glm::ivec2> frames{{1, 0}, {0, 1}, {1, 1}};
    f.batcher.SubmitBatch(sprite, transforms, colors, frames);
    f.batcher.Flush(1.0f);

    ASSERT_EQ(f.backend.uploaded.size(), 3u);
    const auto& u = f.backend.uploaded;
    // Drawn back to front: element 2 (z 0), 1, 0.
    EXPECT_EQ(u[0].color, sprite.color);
    EXPECT_EQ(u[0].uv, glm::vec4(0.5f, 0.5f, 1.0f, 1.0f));
    EXPECT_EQ(u[1].color, glm::vec4(0, 1, 0, 1));
    EXPECT_EQ(u[1].uv, glm::vec4(0.0f, 0.5f, 0.5f, 1.0f));
    EXPECT_EQ(u[1].size, glm::vec2(-2.0f, 3.0f));
    EXPECT_FLOAT_EQ(u[1].positionRotation.w, 1.5f);
    EXPECT_EQ(u[2].color, glm::vec4(1, 0, 0, 1));
    EXPECT_EQ(u[2].uv, glm::vec4(0.5f, 0.0f, 1.0f, 0.5f));
    EXPECT_EQ(f.backend.draws.size(), 1u);
}

TEST(SpriteBatcher, FullyTransparentSpritesAreNotDrawnInEitherBlend) {
    Fixture f;
    ComponentSprite fade;
    fade.texture = "fade";
    fade.color = {0, 0, 0, 0};
    ComponentTransform transform;
    f.batcher.Submit(fade, transform);
    fade.blend = "Additive";
    f.batcher.Submit(fade, transform);
    fade.color.a = std::nanf("");
    f.batcher.Submit(fade, transform);
    const std::vector<glm::vec4> colors{{1, 1, 1, 0}, {1, 1, 1, 0.01f}, {1, 1, 1, -1}};
    f.batcher.SubmitBatch(fade, std::vector<ComponentTransform>(3), colors, {});
    f.batcher.Flush(1.0f);

    // Only the faint one is left; a sprite fading in from 0 still appears at its first step.
    ASSERT_EQ(f.backend.uploaded.size(), 1u);
    EXPECT_FLOAT_EQ(f.backend.uploaded[0].color.a, 0.01f);
    EXPECT_EQ(f.backend.draws.size(), 1u);
}

TEST(SpriteBatcher, FlushForgetsTheFrameAndUnknownBlendsAndShadersWarnOnce) {
    Fixture f;
    f.Add("a", 1, 0, "", "Multiply");
    f.Add("a", 2, 0, "", "Multiply");
    EXPECT_EQ(f.batcher.PendingCount(), 2u);
    f.batcher.Flush(1.0f);
    EXPECT_EQ(f.batcher.PendingCount(), 0u);
    EXPECT_EQ(f.backend.draws.at(0).blend, Blend::Alpha);
    EXPECT_EQ(f.warnings.size(), 1u);

    f.batcher.Flush(1.0f);
    EXPECT_TRUE(f.backend.uploaded.empty());
    EXPECT_EQ(f.backend.draws.size(), 1u);

    ComponentSprite sprite;
    sprite.shader = "Glow";
    f.batcher.Submit(sprite, ComponentTransform{});
    f.batcher.Submit(sprite, ComponentTransform{});
    EXPECT_EQ(f.warnings.size(), 2u);
}

namespace {

/// A `width` x 1 picture of one grey level. The loader reads it by its content, whatever the
/// file is called.
std::string Picture(int width, std::uint8_t grey) {
    return "P6\n" + std::to_string(width) + " 1\n255\n" +
           std::string(static_cast<std::size_t>(width) * 3, static_cast<char>(grey));
}

}  // namespace

TEST(SpriteBatcher, ReloadReplacesChangedTexturesBehindTheSameHandleAndKeepsTheRest) {
    namespace fs = std::filesystem;
    TempAssets assets;
    assets.Write("Assets/Textures/Hero.png", Picture(2, 10));
    assets.Write("Assets/Textures/Wall.png", Picture(2, 20));
    RecordingBackend backend;
    std::vector<std::string> warnings;
    SpriteBatcher batcher(
        backend, graphics::LoadTextureFile,
        [&](const std::string& text) { warnings.push_back(text); }, graphics::TextureFileStamp);
    auto draw = [&](const std::string& texture) {
        ComponentSprite sprite;
        sprite.texture = texture;
        batcher.Submit(sprite, ComponentTransform{});
        backend.draws.clear();
        batcher.Flush(1.0f);
        return backend.draws.at(0).texture;
    };
    const auto hero = draw("Hero");
    const auto wall = draw("Wall");
    const auto ghost = draw("Ghost");  // missing: the placeholder
    ASSERT_EQ(backend.images.size(), 3u);
    warnings.clear();

    EXPECT_EQ(batcher.ReloadChanged(), 0);  // nothing changed: nothing read

    const fs::path heroFile = assets.Root() / "Assets/Textures/Hero.png";
    assets.Write("Assets/Textures/Hero.png", Picture(3, 30));
    assets.Write("Assets/Textures/Ghost.png", Picture(1, 40));
    EXPECT_EQ(batcher.ReloadChanged(), 2);
    EXPECT_EQ(draw("Hero"), hero);
    EXPECT_EQ(draw("Ghost"), ghost);
    EXPECT_EQ(backend.images.size(), 3u) << "replaced, not created";
    EXPECT_EQ(backend.images.at(hero - 1).width, 3);
    EXPECT_EQ(backend.images.at(hero - 1).pixels.at(0), 30);
    EXPECT_EQ(backend.images.at(ghost - 1).pixels.at(0), 40);
    EXPECT_EQ(backend.images.at(wall - 1).pixels.at(0), 20);
    EXPECT_TRUE(warnings.empty());

    // The stamp decides, not the content: same size and time is no change, a later time is.
    const auto heroTime = fs::last_write_time(heroFile);
    assets.Write("Assets/Textures/Hero.png", Picture(3, 50));
    fs::last_write_time(heroFile, heroTime);
    EXPECT_EQ(batcher.ReloadChanged(), 0);
    fs::last_write_time(heroFile, heroTime + std::chrono::seconds(5));
    EXPECT_EQ(batcher.ReloadChanged(), 1);
    EXPECT_EQ(backend.images.at(hero - 1).pixels.at(0), 50);

    // Broken or gone: the old picture stays, with one warning naming the file per reload,
    // until the file reads again.
    assets.Write("Assets/Textures/Hero.png", "not a picture");
    fs::remove(assets.Root() / "Assets/Textures/Wall.png");
    EXPECT_EQ(batcher.ReloadChanged(), 0);
    EXPECT_EQ(backend.images.at(hero - 1).pixels.at(0), 50);
    EXPECT_EQ(backend.images.at(wall - 1).pixels.at(0), 20);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE((warnings[0] + warnings[1]).find("Assets/Textures/Hero.png"), std::string::npos);
    EXPECT_NE((warnings[0] + warnings[1]).find("Assets/Textures/Wall.png"), std::string::npos);
    assets.Write("Assets/Textures/Hero.png", Picture(2, 60));
    EXPECT_EQ(batcher.ReloadChanged(), 1);
    EXPECT_EQ(backend.images.at(hero - 1).pixels.at(0), 60);
}
