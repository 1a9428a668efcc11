#include "game/hud/SystemLivesHUD.h"

#include <algorithm>
#include <optional>

#include "engine/ComponentSprite.h"
#include "engine/JsonRead.h"
#include "engine/MessageFrame.h"
#include "engine/MessageSpriteRender.h"
#include "engine/SystemTransform.h"
#include "game/player/SystemPlayerHealth.h"

void from_json(const nlohmann::json& j, ComponentLivesHUD& hud) {
    json_read::Key(j, "Icon Separation", hud.IconSeparation);
    json_read::Key(j, "Life Icon", hud.LifeIcon);
    json_read::Key(j, "Empty Life Icon", hud.EmptyLifeIcon);
    json_read::Key(j, "Gain Blink Time", hud.GainBlinkTime);
    json_read::Key(j, "Gain Blink Scale", hud.GainBlinkScale);
}

bool SystemLivesHUD::HandleMessage(const Message& message) {
    if (message.TypeId() == MessageId::Update) {
        Update(static_cast<const MessageUpdate&>(message).dt);
        return false;
    }
    return System::HandleMessage(message);
}

void SystemLivesHUD::Update(float dt) {
    if (components.empty()) return;
    // The lowest entity id, so the one row drawn does not depend on hashing.
    const auto first =
        std::min_element(components.begin(), components.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    const EntityId entity = first->first;
    ComponentLivesHUD& row = first->second;

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

    // A rise in lives (a checkpoint's gift) starts the blink; a fall or the first sight of the
    // player does not.
    row.GainTimeLeft = std::max(0.0f, row.GainTimeLeft - dt);
    if (row.LivesSeen >= 0 && health->Health > row.LivesSeen && row.GainBlinkTime > 0.0f) {
        row.GainFrom = row.LivesSeen;
        row.GainTo = health->Health;
        row.GainTimeLeft = row.GainBlinkTime;
    }
    row.LivesSeen = health->Health;
    // Large in the first half of every blink period, counted from the gain.
    const float blinking = row.GainBlinkTime - row.GainTimeLeft;
    const bool large =
        row.GainTimeLeft > 0.0f && static_cast<int>(blinking / kBlinkHalfPeriod) % 2 == 0;

    const ComponentLivesHUD hud = row;
    ComponentSprite full = *sprite;
    full.texture = hud.LifeIcon;
    ComponentSprite empty = *sprite;
    empty.texture = hud.EmptyLifeIcon;
    for (int i = 0; i < health->MaxHealth; ++i) {
        ComponentTransform icon = *transform;
        icon.translation.x = transform->translation.x + static_cast<float>(i) * hud.IconSeparation;
        if (large && i >= hud.GainFrom && i < hud.GainTo && i < health->Health) {
            icon.scale.x *= hud.GainBlinkScale;
            icon.scale.y *= hud.GainBlinkScale;
        }
        SendMessage(MessageSpriteRender(i < health->Health ? full : empty, icon));
    }
}
