#pragma once

#include <string_view>

#include <glm/vec2.hpp>
#include <nlohmann/json.hpp>

#include "engine/System.h"

/// An axis-aligned box around the entity's translation.
struct ComponentCollisionBox {
    static constexpr std::string_view kName = "Box Collider";

    /// Half-extents: the box spans x +- Size.x, y +- Size.y.
    glm::vec2 Size{0.0f};
    /// Signed depths of this box's latest box test (another box or a solid tile): how far the
    /// box must move along each axis to stop overlapping. (0, 0) after a test without contact.
    glm::vec2 Penetration{0.0f};
};

/// "Size" is required: elements 0 and 1 are the half-extents.
inline void from_json(const nlohmann::json& j, ComponentCollisionBox& box) {
    const nlohmann::json& size = j.at("Size");
    box.Size.x = size.at(0).get<float>();
    box.Size.y = size.at(1).get<float>();
}

/// Tests every pair of boxes once per MessageUpdate and announces each contact with two
/// MessageCollision, leaving the signed depths in both boxes for the responders.
class SystemCollisionBox : public System<ComponentCollisionBox, SystemCollisionBox> {
public:
    SystemCollisionBox();
    bool HandleMessage(const Message& message) override;

    /// Box outlines on MessageRender.
    bool debugDraw = false;

private:
    void BoxPass();
    void DrawOutlines();
};
