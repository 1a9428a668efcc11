// Entity files (also as the animation, UI and particle targets), scenes and Index.json, loaded
// by the engine with the game's whole roster and run for a few frames; Index.json's hotkeys
// are pressed in debug mode as well.
#include "engine/Engine.h"
#include "engine/KeyCodes.h"
#include "engine/ManagerState.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageState.h"
#include "game/Roster.h"
#include "tools/fuzz/FuzzSupport.h"

namespace {

void Frames(Engine& engine, int count) {
    for (int i = 0; i < count; ++i) {
        engine.HandleMessage(MessageUpdate(1.0f / 60.0f));
        engine.HandleMessage(MessageRender());
    }
}

void Play(const std::string& scene, const std::vector<int>& keys) {
    Engine engine;
    engine.AddManager(std::make_unique<ManagerState>());
    for (auto& system : MakeRoster()) engine.HandleMessage(MessageAddSystem(std::move(system)));
    engine.HandleMessage(MessageChangeState(scene));
    Frames(engine, 2);
    for (int key : keys) {
        engine.HandleMessage(MessageKey(key, MessageKey::kPressed, 0, true));
        Frames(engine, 2);
        // Save and restore the checkpoint in whatever state the key led to.
        engine.HandleMessage(MessageKey(46, MessageKey::kPressed, 0, true));
        engine.HandleMessage(MessageKey(44, MessageKey::kPressed, 0, true));
        Frames(engine, 2);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnterContentCopy();
#if defined(HALVEX_FUZZ_SCENE)
    fuzz::Write("Assets/Data/Scene/Fuzz.json", data, size);
    fuzz::Expect([] { Play("Fuzz", {}); });
#elif defined(HALVEX_FUZZ_INDEX)
    static const bool scene = [] {
        fuzz::Write("Assets/Data/Scene/Empty.json", reinterpret_cast<const std::uint8_t*>("{}"), 2);
        return true;
    }();
    (void)scene;
    fuzz::Write("Assets/Data/Index.json", data, size);
    std::vector<int> keys;
    try {
        const auto index = nlohmann::json::parse(data, data + size);
        if (index.is_object()) {
            for (auto it = index.begin(); it != index.end() && keys.size() < 4; ++it) {
                if (auto code = KeyCodeFromName(it.key())) keys.push_back(*code);
            }
        }
    } catch (const nlohmann::json::exception&) {
    }
    fuzz::Expect([&] { Play("Empty", keys); });
#else
    // The animation, UI and particle targets are this one with their own seeds; the UI
    // elements get the UI camera they are drawn by.
#ifndef HALVEX_FUZZ_SCENE_TEXT
#define HALVEX_FUZZ_SCENE_TEXT R"({"a": "Fuzz"})"
#endif
    static const bool scene = [] {
        const std::string text = HALVEX_FUZZ_SCENE_TEXT;
        fuzz::Write("Assets/Data/Scene/Fuzz.json",
                    reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
        return true;
    }();
    (void)scene;
    fuzz::Write("Assets/Data/Entity/Fuzz.json", data, size);
    fuzz::Expect([] { Play("Fuzz", {}); });
#endif
    return 0;
}
