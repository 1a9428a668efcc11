#include "engine/StateEntity.h"

#include "engine/DataFile.h"
#include "engine/MessageId.h"

using json = nlohmann::json;

std::string EntityFilePath(const std::string& file) {
    return "./Assets/Data/Entity/" + file + ".json";
}

StateEntity::StateEntity(SendCallback send) {
    SendMessage = std::move(send);
    entityFiles.emplace("", json());
}

bool StateEntity::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            while (!pendingBirths.empty()) {
                const EntityId id = pendingBirths.back();
                pendingBirths.pop_back();
                SendMessage(MessageEntityBirth(id));
            }
            return false;
        case MessageId::CreateEntity: {
            auto& create = static_cast<const MessageCreateEntity&>(message);
            Build(create.state, std::string(create.file), create.overrides);
            return true;
        }
        case MessageId::QueryEntityNames:
            *static_cast<const MessageQueryEntityNames&>(message).result = &entityNames;
            return true;
        default:
            return false;
    }
}

const json& StateEntity::EntityFile(const std::string& file) {
    auto it = entityFiles.find(file);
    if (it != entityFiles.end()) return it->second;
    return entityFiles.emplace(file, ReadDataFile(EntityFilePath(file))).first->second;
}

void StateEntity::AddComponent(const std::string& state, EntityId id, const std::string& file,
                               const std::string& component, const json& value) {
    try {
        SendMessage(MessageAddComponentJSON(state, id, value, component));
    } catch (const json::exception& e) {
        const std::string where = file.empty() ? "inline entity" : EntityFilePath(file);
        throw DataFileError(where, e, "\"" + component + "\"");
    }
}

EntityId StateEntity::Build(const std::string& state, const std::string& file,
                            const json& overrides) {
    const EntityId id = nextEntityId++;
    json description = EntityFile(file);
    description.merge_patch(overrides);

    if (description.is_object()) {
        for (auto& [key, value] : description.items()) {
            if (key != "Children") {
                AddComponent(state, id, file, key, value);
                continue;
            }
            const json parentPatch = {{"Transform", {{"Parent", id}}}};
            auto buildChild = [&](const json& element) {
                if (element.is_string()) {
                    Build(state, element.get<std::string>(), parentPatch);
                } else if (element.is_object()) {
                    for (auto& [childFile, childOverrides] : element.items()) {
                        json patched = childOverrides;
                        patched.merge_patch(parentPatch);
                        Build(state, childFile, patched);
                    }
                }
            };
            if (value.is_object() || value.is_array()) {
                for (auto& element : value) buildChild(element);
            }
        }
    }
    entityNames[id] = file;
    pendingBirths.push_back(id);
    return id;
}
