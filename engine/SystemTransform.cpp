#include "engine/SystemTransform.h"

#include <atomic>
#include <iostream>

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
        auto link = components.find(parent);
        if (link == components.end()) {
            // Bad data, not a reason to stop the game: the chain ends here, said once.
            static std::atomic<bool> warned{false};
            if (!warned.exchange(true)) {
                std::cerr << "Halvex: warning: a transform names parent entity " << parent
                          << ", which has no transform; its chain ends there\n";
            }
            break;
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
        const glm::vec3 offset = ChainOffset(it->second.parent);
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
