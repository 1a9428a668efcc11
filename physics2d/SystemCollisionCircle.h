#pragma once

#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/JsonRead.h"
#include "engine/System.h"

/// A circle around the entity's translation.
struct ComponentCollisionCircle {
    static constexpr std::string_view kName = "Circle Collider";

    float Radius = 0.0f;
};

inline void from_json(const nlohmann::json& j, ComponentCollisionCircle& circle) {
    json_read::Key(j, "Radius", circle.Radius);
}

/// Tests every pair of circles, then every circle against every box of SystemCollisionBox,
/// once per MessageUpdate; each contact is announced with two MessageCollision.
class SystemCollisionCircle : public System<ComponentCollisionCircle, SystemCollisionCircle> {
public:
    SystemCollisionCircle();
    bool HandleMessage(const Message& message) override;

    /// Circle outlines on MessageRender.
    bool debugDraw = false;

private:
    void CirclePass();
    void CircleBoxPass();
    /// A contact is told to both sides.
    void SendContact(EntityId first, EntityId second);
    void DrawOutlines();
};
