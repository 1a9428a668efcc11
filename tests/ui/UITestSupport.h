#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/ComponentSprite.h"
#include "engine/Manager.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

/// Stands in for the audio manager's buses: answers volume queries and keeps what is set.
class FakeBuses : public Manager {
public:
    bool HandleMessage(const Message& message) override;

    std::map<std::string, float> volumes;
    std::vector<std::pair<std::string, float>> sets;
};

/// A drawn sprite as the renderer would receive it.
struct DrawnSprite {
    ComponentSprite sprite;
    glm::vec3 translation;
    glm::vec3 scale;
};

/// A menu scene "Menu" with the UI systems in roster order, a fake bus manager and a font of
/// cells 10 pixels square whose glyphs all advance 5 pixels (half a cell).
class UIFixture {
public:
    /// `entities`: entity file name -> description; `scene`: the scene file.
    UIFixture(const std::map<std::string, nlohmann::json>& entities, const nlohmann::json& scene,
              std::map<std::string, float> busVolumes = {});

    /// Puts the cursor at `world` in the "UI" camera's world.
    void MoveCursor(glm::vec2 world);
    void Key(int key, int action = 1);
    void Click(glm::vec2 world);
    /// The sprites of one frame.
    std::vector<DrawnSprite> Draw();
    /// A copy of an entity's component; empty, and the test failed, when it has none.
    template <class C>
    std::optional<C> Get(int entity) {
        return test->Get<C>(entity);
    }

    TempAssets assets;
    std::unique_ptr<TestEngine> test;
    FakeBuses* buses = nullptr;
};

/// An element entity at `position` of `size` (a transform plus a "UI Element").
nlohmann::json Element(const nlohmann::json& element, glm::vec2 position,
                       glm::vec2 size = {2.0f, 1.0f}, float z = 0.0f);
