#include "tests/ui/UITestSupport.h"

#include "audio/MessageAudio.h"
#include "engine/MessageFrame.h"
#include "engine/MessageId.h"
#include "engine/SystemTransform.h"
#include "services/graphics/VornGraphics.h"
#include "services/ui/VornUI.h"

using json = nlohmann::json;

bool FakeBuses::HandleMessage(const Message& message) {
    if (message.TypeId() == MessageId::QueryBusVolume) {
        auto& query = static_cast<const MessageQueryBusVolume&>(message);
        auto it = volumes.find(std::string(query.bus));
        if (it != volumes.end()) query.callback(it->second);
    } else if (message.TypeId() == MessageId::SetBusVolume) {
        auto& set = static_cast<const MessageSetBusVolume&>(message);
        sets.emplace_back(std::string(set.bus), set.volume);
        volumes[std::string(set.bus)] = set.volume;
    }
    return false;
}

UIFixture::UIFixture(const std::map<std::string, json>& entities, const json& scene,
                     std::map<std::string, float> busVolumes) {
    json advances = json::array();
    for (int i = 0; i < 95; ++i) advances.push_back(5);
    assets.WriteJson("Assets/Textures/Fonts/DejaVuSans.json", {{"Texture", "Fonts/DejaVuSans"},
                                                               {"Columns", 16},
                                                               {"Rows", 6},
                                                               {"First", 32},
                                                               {"Cell Width", 10},
                                                               {"Cell Height", 10},
                                                               {"Padding", 0},
                                                               {"Advances", advances}});
    for (const auto& [name, description] : entities) assets.Entity(name, description);
    assets.Scene("Menu", scene);
    std::vector<std::unique_ptr<SystemBase>> systems;
    systems.push_back(std::make_unique<SystemButton>());
    systems.push_back(std::make_unique<SystemTransform>());
    systems.push_back(std::make_unique<SystemUIElement>());
    systems.push_back(std::make_unique<SystemSlider>());
    auto fake = std::make_unique<FakeBuses>();
    buses = fake.get();
    buses->volumes = std::move(busVolumes);
    std::vector<std::unique_ptr<Manager>> managers;
    managers.push_back(std::move(fake));
    test = std::make_unique<TestEngine>(std::move(systems), std::move(managers));
    test->Enter("Menu");
    // The window reports the pointer every frame; it starts off the menus, so that the first
    // move a test makes is a move.
    MoveCursor({-50.0f, -50.0f});
    test->Frame();
    // Entering sends the "Checkpoint" trigger; tests count only what the menu sends.
    test->recorder->Clear();
}

void UIFixture::MoveCursor(glm::vec2 world) {
    // The main camera looks elsewhere: only the "UI" camera's offset puts the cursor there.
    const glm::vec2 position = world - glm::vec2(100.0f, 0.0f);
    const glm::vec2 mainOffset(50.0f, 50.0f);
    const glm::vec2 uiOffset(100.0f, 0.0f);
    test->Send(MessageCursorPosition(position));
    test->Send(MessageCursorWorldPosition("", mainOffset));
    test->Send(MessageCursorWorldPosition("UI", uiOffset));
}

void UIFixture::Key(int key, int action) {
    test->Send(MessageKey(key, action, 0, false));
}

void UIFixture::Click(glm::vec2 world) {
    MoveCursor(world);
    test->Frame();
    Key(MessageKey::kMouseFirst, MessageKey::kPressed);
    Key(MessageKey::kMouseFirst, MessageKey::kReleased);
}

std::vector<DrawnSprite> UIFixture::Draw() {
    std::vector<DrawnSprite> drawn;
    test->recorder->onMessage = [&](const Message& m) {
        if (m.TypeId() != MessageId::SpriteRender) return;
        auto& render = static_cast<const MessageSpriteRender&>(m);
        drawn.push_back({render.sprite, render.transform.translation, render.transform.scale});
    };
    test->Send(MessageRender());
    test->recorder->onMessage = nullptr;
    return drawn;
}

json Element(const json& element, glm::vec2 position, glm::vec2 size, float z) {
    return {{"UI Element", element},
            {"Transform",
             {{"Translation", {position.x, position.y, z}}, {"Scale", {size.x, size.y, 1}}}}};
}
