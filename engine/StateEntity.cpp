#include "engine/StateEntity.h"

#include <algorithm>
#include <iostream>
#include <mutex>
#include <set>
#include <utility>

#include "engine/ContentPath.h"
#include "engine/DataFile.h"
#include "engine/MessageId.h"

using json = nlohmann::json;

std::string EntityFilePath(const std::string& file) {
    return "./Assets/Data/Entity/" + file + ".json";
}

namespace {

/// Deeper than any sensible hierarchy; keeps a runaway description off the end of the stack.
constexpr std::size_t kMaxChildDepth = 64;

std::string Where(const std::string& file) {
    return file.empty() ? std::string("inline entity") : EntityFilePath(file);
}

/// Once per file and key for the whole run: spawned entities would repeat it every shot.
void WarnUnknownComponent(const std::string& file, const std::string& component) {
    static std::mutex mutex;
    static std::set<std::pair<std::string, std::string>> warned;
    std::lock_guard lock(mutex);
    if (!warned.emplace(file, component).second) return;
    std::cerr << "Halvex: warning: " << Where(file) << ": /" << component
              << ": no system reads this component; it is ignored\n";
}

}  // namespace

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
    const std::string path = EntityFilePath(file);
    if (!InsideAssets("Data/Entity", file)) throw DataError(path + ": leads outside Assets/");
    return entityFiles.emplace(file, ReadDataFile(path)).first->second;
}

void StateEntity::AddComponent(const std::string& state, EntityId id, const std::string& file,
                               const std::string& component, const json& value) {
    const MessageAddComponentJSON add(state, id, value, component);
    try {
        SendMessage(add);
    } catch (const json::exception& e) {
        throw DataFileError(Where(file), e, "\"" + component + "\"");
    }
    if (!add.taken) WarnUnknownComponent(file, component);
}

EntityId StateEntity::Build(const std::string& state, const std::string& file,
                            const json& overrides) {
    std::vector<std::string> chain;
    return BuildNested(state, file, overrides, chain);
}

EntityId StateEntity::BuildNested(const std::string& state, const std::string& file,
                                  const json& overrides, std::vector<std::string>& chain) {
    if (!file.empty() && std::find(chain.begin(), chain.end(), file) != chain.end()) {
        std::string cycle;
        for (const auto& link : chain) cycle += link + " -> ";
        throw DataError(Where(chain.back()) + ": /Children: \"" + file + "\" contains itself (" +
                        cycle + file + ")");
    }
    if (chain.size() >= kMaxChildDepth) {
        throw DataError(Where(file) + ": /Children: nested more than " +
                        std::to_string(kMaxChildDepth) + " levels deep");
    }
    const EntityId id = nextEntityId++;
    json description = EntityFile(file);
    description.merge_patch(overrides);

    chain.push_back(file);
    if (description.is_object()) {
        for (auto& [key, value] : description.items()) {
            if (key != "Children") {
                AddComponent(state, id, file, key, value);
                continue;
            }
            const json parentPatch = {{"Transform", {{"Parent", id}}}};
            auto buildChild = [&](const json& element) {
                if (element.is_string()) {
                    BuildNested(state, element.get<std::string>(), parentPatch, chain);
                } else if (element.is_object()) {
                    for (auto& [childFile, childOverrides] : element.items()) {
                        json patched = childOverrides;
                        patched.merge_patch(parentPatch);
                        BuildNested(state, childFile, patched, chain);
                    }
                }
            };
            if (value.is_object() || value.is_array()) {
                for (auto& element : value) buildChild(element);
            }
        }
    }
    chain.pop_back();
    entityNames[id] = file;
    pendingBirths.push_back(id);
    return id;
}
