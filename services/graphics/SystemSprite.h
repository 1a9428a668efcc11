#pragma once

#include <vector>

#include "engine/ComponentSprite.h"
#include "engine/System.h"

/// Draws every entity's "Sprite" at its world transform on each MessageRender, in entity id
/// order (depth, translation z, decides what lies in front). An entity without a transform
/// is not drawn.
class SystemSprite : public System<ComponentSprite, SystemSprite> {
public:
    bool HandleMessage(const Message& message) override;

private:
    std::vector<EntityId> drawOrder;
};
