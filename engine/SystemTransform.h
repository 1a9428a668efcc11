#pragma once

#include <string_view>

#include <glm/vec3.hpp>
#include <nlohmann/json.hpp>

#include "engine/MessageEntity.h"
#include "engine/System.h"

/// Position, rotation (radians) and scale of an entity, relative to its parent entity.
struct ComponentTransform {
    static constexpr std::string_view kName = "Transform";

    glm::vec3 translation{0.0f, 0.0f, 0.0f};
    glm::vec3 rotation{0.0f, 0.0f, 0.0f};
    glm::vec3 scale{1.0f, 1.0f, 1.0f};
    /// 0: no parent.
    EntityId parent = 0;
};

/// Reads "Translation", "Rotation" (degrees), "Scale" and "Parent".
void from_json(const nlohmann::json& j, ComponentTransform& transform);

/// Stores transforms. Queries see the world translation (the parent chain's translations
/// added) and whatever the callback writes there is stored back relative to the chain.
class SystemTransform : public System<ComponentTransform, SystemTransform> {
public:
    bool HandleMessage(const Message& message) override;

private:
    /// Sum of the translations of `parent` and its ancestors.
    glm::vec3 ChainOffset(EntityId parent) const;
};
