#include "game/hud/SystemLivesHUD.h"

#include <algorithm>
#include <optional>

#include "engine/ComponentSprite.h"
#include "engine/JsonRead.h"
#include "engine/MessageSpriteRender.h"
#include "engine/SystemTransform.h"
#include "game/player/SystemPlayerHealth.h"

void from_json(const nlohmann::json& j, ComponentLivesHUD& hud) {
    json_read::Key(j, "Icon Separation", hud.IconSeparation);
    json_read::Key(j, "Life Icon", hud.LifeIcon);
    json_read::Key(j, "Empty Life Icon", hud.EmptyLifeIcon);
}

bool SystemLivesHUD::HandleMessage(const Message& message) {
    if (message.TypeId() == MessageId::Update) {
        Update();
        return false;
    }
    return System::HandleMessage(message);
}

void SystemLivesHUD::Update() {
    if (components.empty()) return;
    // The lowest entity id, so the one row drawn does not depend on hashing.
    const auto first =
        std::min_element(components.begin(), components.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    const EntityId entity = first->first;
    const ComponentLivesHUD hud = first->second;

    std::optional<ComponentSprite> sprite;
    std::optional<ComponentTransform> transform;
    const std::function<void(ComponentTransform&)> readTransform =
        [&transform](ComponentTransform& t) { transform = t; };
    const std::function<void(ComponentSprite&)> readSprite = [&](ComponentSprite& s) {
        sprite = s;
        SendMessage(MessageQuery<ComponentTransform>(entity, readTransform));
    };
    SendMessage(MessageQuery<ComponentSprite>(entity, readSprite));
    if (!sprite || !transform) return;

    std::optional<ComponentPlayerHealth> health;
    SendMessage(MessageQueryContainer<ComponentPlayerHealth>(
        [&health](std::unordered_map<EntityId, ComponentPlayerHealth>& table) {
            EntityId lowest = 0;
            for (const auto& [id, h] : table) {
                if (!health || id < lowest) {
                    lowest = id;
                    health = h;
                }
            }
        }));
    if (!health) return;

    ComponentSprite full = *sprite;
    full.texture = hud.LifeIcon;
    ComponentSprite empty = *sprite;
    empty.texture = hud.EmptyLifeIcon;
    for (int i = 0; i < health->MaxHealth; ++i) {
        ComponentTransform icon = *transform;
        icon.translation.x = transform->translation.x + static_cast<float>(i) * hud.IconSeparation;
        SendMessage(MessageSpriteRender(i < health->Health ? full : empty, icon));
    }
}
