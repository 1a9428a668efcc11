#include "engine/SystemTransform.h"

#include <stdexcept>
#include <string>

#include "engine/JsonRead.h"

void from_json(const nlohmann::json& j, ComponentTransform& transform) {
    constexpr float kDegreesToRadians = 0.017453292f;
    json_read::Vec<3>(j, "Translation", transform.translation);
    if (j.is_object() && j.contains("Rotation")) {
        json_read::Vec<3>(j, "Rotation", transform.rotation);
        transform.rotation *= kDegreesToRadians;
    }
    json_read::Vec<3>(j, "Scale", transform.scale);
    json_read::Key(j, "Parent", transform.parent);
}

glm::vec3 SystemTransform::ChainOffset(EntityId parent) const {
    glm::vec3 offset{0.0f};
    // A chain longer than the table has a cycle; stop rather than hang on bad data.
    std::size_t steps = 0;
    while (parent != 0 && steps++ <= components.size()) {
        const auto link = components.find(parent);
        if (link == components.end()) {
            throw std::out_of_range("\"Transform\"/\"Parent\": " + std::to_string(parent) +
                                    " is not an entity with a transform");
        }
        offset += link->second.translation;
        parent = link->second.parent;
    }
    return offset;
}

bool SystemTransform::HandleMessage(const Message& message) {
    if (message.TypeId() == MessageId::Query) {
        auto* query = MessageAs<MessageQuery<ComponentTransform>>(message);
        if (!query) return false;
        auto it = components.find(query->entity);
        if (it == components.end()) return true;
        // Parents are other entries of the same table; the callback may add entries, so the
        // component is looked up again after it returns.
        glm::vec3 offset;
        try {
            offset = ChainOffset(it->second.parent);
        } catch (const std::out_of_range& broken) {
            // Bad data or a destroyed parent: say whose chain is broken.
            throw std::out_of_range("entity " + std::to_string(query->entity) + ": " +
                                    broken.what());
        }
        it->second.translation += offset;
        query->callback(it->second);
        it = components.find(query->entity);
        if (it != components.end()) {
            it->second.translation -= ChainOffset(it->second.parent);
        }
        return true;
    }
    return System::HandleMessage(message);
}
