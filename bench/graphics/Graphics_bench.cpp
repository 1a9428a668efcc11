// Sprite drawing through the bus and the batcher against a raw OpenGL loop that streams the
// same quads, already in drawing order, into the same instanced shader. Needs a display
// (run under xvfb-run); the CPU-only case runs anywhere.

#include <benchmark/benchmark.h>

#include <epoxy/gl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <unistd.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <stb_image_write.h>

#include "engine/Engine.h"
#include "engine/ManagerState.h"
#include "engine/MessageFrame.h"
#include "engine/MessageSpriteRender.h"
#include "services/graphics/GLBackend.h"
#include "services/graphics/ManagerWindow.h"
#include "services/graphics/SpriteBatcher.h"
#include "services/graphics/TextureFile.h"

namespace {

constexpr int kTextures = 8;

/// A working folder with Index.json and eight 16x16 textures "Bench/T0".."Bench/T7".
struct BenchAssets {
    std::filesystem::path root;
    std::filesystem::path previous = std::filesystem::current_path();
    BenchAssets() {
        root = std::filesystem::temp_directory_path() /
               ("halvex-gfx-bench-" + std::to_string(static_cast<long>(::getpid())));
        std::filesystem::create_directories(root / "Assets/Data");
        std::filesystem::create_directories(root / "Assets/Textures/Bench");
        FILE* index = std::fopen((root / "Assets/Data/Index.json").c_str(), "w");
        std::fputs("{}", index);
        std::fclose(index);
        for (int t = 0; t < kTextures; ++t) {
            std::vector<unsigned char> pixels(16 * 16 * 4);
            for (int i = 0; i < 16 * 16; ++i) {
                pixels[i * 4 + 0] = static_cast<unsigned char>(30 * t);
                pixels[i * 4 + 1] = static_cast<unsigned char>(i);
                pixels[i * 4 + 2] = 200;
                pixels[i * 4 + 3] = (i % 16 < 2) ? 0 : 255;
            }
            const auto path = root / ("Assets/Textures/Bench/T" + std::to_string(t) + ".png");
            stbi_write_png(path.c_str(), 16, 16, 4, pixels.data(), 16 * 4);
        }
        std::filesystem::current_path(root);
    }
    ~BenchAssets() {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(root);
    }
};

/// `count` small sprites scattered over the picture. With `textures` > 1 they are submitted
/// interleaved (texture i % textures) at a depth per texture, so the batcher must sort them
/// back into one run per texture.
struct Scene {
    std::vector<ComponentSprite> sprites;
    std::vector<ComponentTransform> transforms;
    std::vector<int> textureOf;

    Scene(int count, int textures) {
        sprites.resize(textures);
        for (int t = 0; t < textures; ++t) sprites[t].texture = "Bench/T" + std::to_string(t);
        std::mt19937 random(5489u);
        std::uniform_real_distribution<float> x(-8.5f, 8.5f), y(-4.8f, 4.8f);
        for (int i = 0; i < count; ++i) {
            ComponentTransform transform;
            const int t = i % textures;
            transform.translation = {x(random), y(random), static_cast<float>(t)};
            transform.scale = {0.2f, 0.2f, 1.0f};
            transforms.push_back(transform);
            textureOf.push_back(t);
        }
    }
};

bool HaveDisplay() {
    const char* display = std::getenv("DISPLAY");
    return display && *display;
}

void SubmitThroughEngine(benchmark::State& state, int count, int textures) {
    if (!HaveDisplay()) {
        state.SkipWithError("no display: run under xvfb-run");
        return;
    }
    BenchAssets assets;
    Scene scene(count, textures);
    Engine engine;
    engine.AddManager(std::make_unique<ManagerState>());
    auto window = std::make_unique<ManagerWindow>("Halvex bench", 16.0f / 9.0f,
                                                  WindowOptions{1280, 720, false});
    ManagerWindow* windowPtr = window.get();
    engine.AddManager(std::move(window));
    for (auto _ : state) {
        for (int i = 0; i < count; ++i) {
            engine.HandleMessage(
                MessageSpriteRender(scene.sprites[scene.textureOf[i]], scene.transforms[i]));
        }
        engine.HandleMessage(MessageRender());
        glFinish();
    }
    state.counters["draws"] = static_cast<double>(windowPtr->LastDrawCalls());
    state.SetItemsProcessed(state.iterations() * count);
}

/// The same quads, already sorted and converted, streamed and drawn with one call per
/// texture; the only per-frame work is the upload, the draws and the swap.
void RawLoop(benchmark::State& state, int count, int textures) {
    if (!HaveDisplay()) {
        state.SkipWithError("no display: run under xvfb-run");
        return;
    }
    BenchAssets assets;
    Scene scene(count, textures);
    // The window service opens the same kind of window and context; only its context is used.
    ManagerWindow window("Halvex bench", 16.0f / 9.0f, WindowOptions{1280, 720, false});
    GLFWwindow* context = glfwGetCurrentContext();
    graphics::GLBackend backend;
    std::vector<graphics::TextureHandle> handles;
    for (int t = 0; t < textures; ++t) {
        graphics::Image image;
        graphics::LoadTextureFile(scene.sprites[t].texture, image);
        handles.push_back(backend.CreateTexture(image));
    }
    std::vector<graphics::SpriteInstance> instances;
    std::vector<std::size_t> runStart(textures + 1, 0);
    for (int t = 0; t < textures; ++t) {
        runStart[t] = instances.size();
        for (int i = 0; i < count; ++i) {
            if (scene.textureOf[i] != t) continue;
            const auto& tr = scene.transforms[i];
            instances.push_back({glm::vec4(tr.translation, 0.0f), glm::vec2(tr.scale),
                                 glm::vec4(0, 0, 1, 1), glm::vec4(1.0f)});
        }
    }
    runStart[textures] = instances.size();
    graphics::CameraView camera = graphics::DefaultCamera();
    const glm::mat4 viewProjection = graphics::ViewProjection(camera, 16.0f / 9.0f);
    for (auto _ : state) {
        glViewport(0, 0, 1280, 720);
        glClear(GL_COLOR_BUFFER_BIT);
        backend.Upload(instances);
        backend.SetCamera(viewProjection);
        for (int t = 0; t < textures; ++t) {
            backend.Draw(handles[t], graphics::Blend::Alpha, runStart[t],
                         runStart[t + 1] - runStart[t]);
        }
        glfwSwapBuffers(context);
        glfwPollEvents();
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

/// The CPU side alone: bus delivery, batching, sorting and conversion into a backend that
/// keeps nothing.
class NullBackend final : public graphics::RenderBackend {
public:
    graphics::TextureHandle CreateTexture(const graphics::Image&) override { return ++next; }
    void ReplaceTexture(graphics::TextureHandle, const graphics::Image&) override {}
    void Upload(std::span<const graphics::SpriteInstance> instances) override {
        benchmark::DoNotOptimize(instances.data());
    }
    void SetCamera(const glm::mat4&) override {}
    void Draw(graphics::TextureHandle, graphics::Blend, std::size_t, std::size_t) override {}

private:
    graphics::TextureHandle next = 0;
};

class BatchingManager final : public Manager {
public:
    BatchingManager() : batcher(backend, nullptr, nullptr) {}
    bool HandleMessage(const Message& message) override {
        if (message.TypeId() == MessageId::SpriteRender) {
            auto& render = static_cast<const MessageSpriteRender&>(message);
            batcher.Submit(render.sprite, render.transform);
        } else if (message.TypeId() == MessageId::Render) {
            batcher.Flush(16.0f / 9.0f);
        }
        return false;
    }
    NullBackend backend;
    graphics::SpriteBatcher batcher;
};

void CpuOnly(benchmark::State& state, int count, int textures) {
    BenchAssets assets;
    Scene scene(count, textures);
    Engine engine;
    engine.AddManager(std::make_unique<ManagerState>());
    engine.AddManager(std::make_unique<BatchingManager>());
    for (auto _ : state) {
        for (int i = 0; i < count; ++i) {
            engine.HandleMessage(
                MessageSpriteRender(scene.sprites[scene.textureOf[i]], scene.transforms[i]));
        }
        engine.HandleMessage(MessageRender());
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["ns_per_sprite"] =
        benchmark::Counter(static_cast<double>(state.iterations() * count),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK_CAPTURE(SubmitThroughEngine, sprites50k_1tex, 50000, 1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RawLoop, sprites50k_1tex, 50000, 1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SubmitThroughEngine, sprites20k_8tex, 20000, 8)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RawLoop, sprites20k_8tex, 20000, 8)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CpuOnly, sprites50k_1tex, 50000, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CpuOnly, sprites20k_8tex, 20000, 8)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
