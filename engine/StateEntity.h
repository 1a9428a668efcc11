#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/Manager.h"
#include "engine/MessageEntity.h"

/// A state's entity registry: hands out ids, builds entities from entity files with their
/// children, remembers each entity's file and announces births at the next update.
class StateEntity : public Manager {
public:
    explicit StateEntity(SendCallback send);

    bool HandleMessage(const Message& message) override;

    /// Builds one entity (and its children) of state `state` and returns its id.
    EntityId Build(const std::string& state, const std::string& file,
                   const nlohmann::json& overrides);

    EntityId nextEntityId = 1;
    std::unordered_map<EntityId, std::string> entityNames;
    /// Parsed entity files by name; the empty name is a null description.
    std::unordered_map<std::string, nlohmann::json> entityFiles;
    std::vector<EntityId> pendingBirths;

private:
    /// `chain`: the files of the entities being built around this one, to refuse cycles.
    EntityId BuildNested(const std::string& state, const std::string& file,
                         const nlohmann::json& overrides, std::vector<std::string>& chain);
    const nlohmann::json& EntityFile(const std::string& file);
    void AddComponent(const std::string& state, EntityId id, const std::string& file,
                      const std::string& component, const nlohmann::json& value);
};

/// Path of an entity file, relative to the working directory.
std::string EntityFilePath(const std::string& file);
