#include "engine/ManagerState.h"

#include <filesystem>
#include <iostream>

#include <nlohmann/json.hpp>

#include "engine/ContentPath.h"
#include "engine/DataFile.h"
#include "engine/FrameProfile.h"
#include "engine/KeyCodes.h"
#include "engine/MessageComponent.h"
#include "engine/MessageContentError.h"
#include "engine/MessageContentReloaded.h"
#include "engine/MessageEntity.h"
#include "engine/MessageId.h"
#include "engine/MessageKey.h"
#include "engine/MessageState.h"
#include "engine/MessageTrigger.h"
#include "engine/TriggerNames.h"

using json = nlohmann::json;

namespace {

constexpr const char* kIndexPath = "./Assets/Data/Index.json";

}  // namespace

std::string SceneFilePath(const std::string& state) {
    return "./Assets/Data/Scene/" + state + ".json";
}

ManagerState::ManagerState() {
    const json index = ReadDataFile(kIndexPath);
    if (!index.is_object()) throw DataError(std::string(kIndexPath) + ": must be an object");
    for (auto& [key, value] : index.items()) {
        const auto code = KeyCodeFromName(key);
        if (!code) throw DataError(std::string(kIndexPath) + ": unknown key name \"" + key + "\"");
        if (!value.is_string()) {
            throw DataError(std::string(kIndexPath) + ": \"" + key +
                            "\": type must be string, but is " + value.type_name());
        }
        // The checkpoint is a copy the manager keeps for itself; entering it would make the
        // next save replace the very state being played.
        if (value.get<std::string>() == kCheckpoint) {
            throw DataError(std::string(kIndexPath) + ": /" + key + ": \"" + kCheckpoint +
                            "\" is the checkpoint, not a scene");
        }
        hotkeys[*code] = value.get<std::string>();
    }
}

ManagerState::~ManagerState() {
    cancelLoads = true;
    for (auto& [name, loader] : loaders) {
        if (loader.thread.joinable()) loader.thread.join();
    }
}

bool ManagerState::HasState(const std::string& name) const {
    std::lock_guard lock(statesMutex);
    return states.count(name) != 0;
}

State& ManagerState::GetState(const std::string& name) {
    std::lock_guard lock(statesMutex);
    return states.at(name);
}

bool ManagerState::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::AddSystem: {
            auto& add = static_cast<const MessageAddSystem&>(message);
            if (!add.system) return true;
            add.system->SendMessage = SendMessage;
            prototypes.push_back(std::move(add.system));
            return true;
        }
        case MessageId::CreateState:
            CreateState(static_cast<const MessageCreateState&>(message).name);
            return true;
        case MessageId::DestroyState: {
            auto& destroy = static_cast<const MessageDestroyState&>(message);
            pendingDestroys.push_back(destroy.name.empty() ? currentState
                                                           : std::string(destroy.name));
            return true;
        }
        case MessageId::ChangeState:
            nextState = std::string(static_cast<const MessageChangeState&>(message).name);
            return Forward(message);
        case MessageId::AddComponent:
            ToNamedState(static_cast<const MessageAddComponentBase&>(message).state, message);
            return true;
        case MessageId::AddComponentJSON: {
            auto& add = static_cast<const MessageAddComponentJSON&>(message);
            add.taken = ToNamedState(add.state, message);
            return true;
        }
        case MessageId::CreateEntity: {
            auto& create = static_cast<const MessageCreateEntity&>(message);
            if (create.state.empty()) create.state = currentState;
            ToNamedState(create.state, message);
            return true;
        }
        case MessageId::Trigger: {
            auto& trigger = static_cast<const MessageTrigger&>(message);
            if (trigger.name == kCheckpoint) {
                if (trigger.value) {
                    SaveCheckpoint();
                } else {
                    restoreRequested = true;
                }
            }
            return Forward(message);
        }
        case MessageId::Key:
            OnKey(message);
            return Forward(message);
        case MessageId::Update:
            OnUpdate();
            return Forward(message);
        default:
            return Forward(message);
    }
}

bool ManagerState::Forward(const Message& message) {
    if (currentState.empty()) return false;
    if (!current) throw std::out_of_range("no state named \"" + currentState + "\"");
    return current->HandleMessage(message);
}

bool ManagerState::ToNamedState(const std::string& name, const Message& message) {
    State* state = nullptr;
    {
        std::lock_guard lock(statesMutex);
        auto it = states.find(name);
        if (it == states.end()) throw std::out_of_range("no state named \"" + name + "\"");
        state = &it->second;
    }
    return state->HandleMessage(message);
}

void ManagerState::CreateState(const std::string& name, const std::string& scene) {
    std::lock_guard lock(statesMutex);
    if (states.count(name)) return;
    states.try_emplace(name, prototypes, SendMessage);
    if (name == currentState) current = &states.at(name);
    if (loaders.count(name)) return;
    auto error = std::make_shared<std::exception_ptr>();
    std::thread thread([this, name, scene, error] {
        try {
            LoadScene(name, scene.empty() ? name : scene);
        } catch (...) {
            *error = std::current_exception();
        }
    });
    loaders.emplace(name, Loader{std::move(thread), std::move(error)});
}

void ManagerState::JoinLoader(const std::string& name, bool raise) {
    Loader loader;
    {
        std::lock_guard lock(statesMutex);
        auto it = loaders.find(name);
        if (it == loaders.end()) return;
        loader = std::move(it->second);
        loaders.erase(it);
    }
    // Outside the lock: the loader needs it to reach its state.
    loader.thread.join();
    if (!*loader.error) return;
    if (raise) std::rethrow_exception(*loader.error);
    try {
        std::rethrow_exception(*loader.error);
    } catch (const std::exception& e) {
        std::cerr << "Halvex: warning: state \"" << name << "\" failed to load: " << e.what()
                  << "\n";
    }
}

void ManagerState::EraseState(const std::string& name) {
    JoinLoader(name, false);
    std::lock_guard lock(statesMutex);
    auto it = states.find(name);
    if (it == states.end()) return;
    if (&it->second == current) current = nullptr;
    states.erase(it);
}

void ManagerState::SaveCheckpoint() {
    if (!current) return;
    std::lock_guard lock(statesMutex);
    auto old = states.find(kCheckpoint);
    // Playing the checkpoint itself (a state change named it): it is already its own copy, and
    // erasing it would free the state being copied.
    if (old != states.end() && &old->second == current) return;
    if (old != states.end()) states.erase(old);
    states.try_emplace(kCheckpoint, *current);
}

void ManagerState::OnUpdate() {
    while (!pendingDestroys.empty()) {
        const std::string name = std::move(pendingDestroys.back());
        pendingDestroys.pop_back();
        // A restore of a state that is being left would bring a stale copy of it back under
        // its name, to be entered the next time that state is asked for.
        if (!currentState.empty() && name == currentState) restoreRequested = false;
        EraseState(name);
    }

    if (restoreRequested) {
        restoreRequested = false;
        if (HasState(kCheckpoint) && !currentState.empty() && currentState != kCheckpoint) {
            {
                std::lock_guard lock(statesMutex);
                states.erase(currentState);
                current = &states.try_emplace(currentState, states.at(kCheckpoint)).first->second;
            }
            SendMessage(MessageTrigger(trigger::CheckpointRestore, true));
            SendMessage(MessageTrigger(kCheckpoint, true));
        }
    }

    if (reloadRequested) {
        reloadRequested = false;
        Reload();
    }

    if (nextState != currentState || !current) {
        if (!HasState(nextState)) SendMessage(MessageCreateState(nextState));
        std::string failure;
        try {
            JoinLoader(nextState, true);
        } catch (const std::exception& e) {
            if (errorState.empty() || nextState == errorState) throw;
            failure = "state \"" + nextState + "\" failed to load: " + WithAbsolutePath(e.what());
            std::cerr << "Halvex: error: " << failure << std::endl;
            // Gone, so that asking for it again reads its files again.
            EraseState(nextState);
            nextState = errorState;
            if (!HasState(nextState)) SendMessage(MessageCreateState(nextState));
            JoinLoader(nextState, true);
        }
        currentState = nextState;
        if (FrameProfile* profile = FrameProfile::Active())
            profile->Mark("entered " + currentState);
        {
            std::lock_guard lock(statesMutex);
            auto it = states.find(currentState);
            current = it == states.end() ? nullptr : &it->second;
        }
        SendMessage(MessageTrigger(kCheckpoint, true));
        if (!failure.empty()) SendMessage(MessageContentError(failure));
    }
}

std::string WithAbsolutePath(const std::string& text) {
    std::size_t skip = 0;
    if (text.rfind("./", 0) == 0) {
        skip = 2;
    } else if (text.rfind("Assets/", 0) != 0) {
        return text;
    }
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    if (error) return text;
    return (here / text.substr(skip)).string();
}

void ManagerState::Reload() {
    if (!current || currentState.empty() || currentState == kCheckpoint) return;
    // Built aside under a name no scene can have, so that a file broken since the last load
    // leaves the state in play untouched. Its files are read afresh: a new state has no cache.
    const std::string trial = currentState + "\n(reload)";
    CreateState(trial, currentState);
    Loader loader;
    {
        std::lock_guard lock(statesMutex);
        auto it = loaders.find(trial);
        if (it != loaders.end()) {
            loader = std::move(it->second);
            loaders.erase(it);
        }
    }
    if (loader.thread.joinable()) loader.thread.join();
    if (loader.error && *loader.error) {
        try {
            std::rethrow_exception(*loader.error);
        } catch (const std::exception& e) {
            std::cerr << "Halvex: reload of \"" << currentState
                      << "\" failed; the old state stays: " << e.what() << "\n";
        }
        EraseState(trial);
        return;
    }
    {
        std::lock_guard lock(statesMutex);
        states.erase(currentState);
        auto made = states.try_emplace(currentState, states.at(trial));
        current = &made.first->second;
        states.erase(trial);
    }
    std::cerr << "Halvex: reloaded \"" << currentState << "\"\n";
    // Entered afresh: its checkpoint is its start, as on any entry.
    SendMessage(MessageTrigger(kCheckpoint, true));
    SendMessage(MessageContentReloaded());
}

void ManagerState::OnKey(const Message& message) {
    auto& key = static_cast<const MessageKey&>(message);
    if (!key.debug) return;
    auto hotkey = hotkeys.find(key.key);
    if (hotkey != hotkeys.end()) SendMessage(MessageTrigger(trigger::Pause, false));
    if (key.action != MessageKey::kPressed) return;
    if (hotkey != hotkeys.end()) {
        // Copied: the sends below may not touch the table, but the name must outlive them.
        const std::string target = hotkey->second;
        SendMessage(MessageDestroyState(""));
        SendMessage(MessageChangeState(target));
    }
    if (key.key == kReloadKey && hotkey == hotkeys.end()) {
        reloadRequested = true;
    } else if (key.key == 46) {
        SendMessage(MessageTrigger(kCheckpoint, true));
    } else if (key.key == 44) {
        SendMessage(MessageTrigger(kCheckpoint, false));
    }
}

void ManagerState::LoadScene(const std::string& name, const std::string& file) {
    const std::string path = SceneFilePath(file);
    if (!InsideAssets("Data/Scene", file)) throw DataError(path + ": leads outside Assets/");
    const json scene = ReadDataFile(path);
    if (!scene.is_object()) throw DataError(path + ": a scene must be a JSON object");
    const json empty = json::object();
    for (auto& [label, value] : scene.items()) {
        if (cancelLoads) return;
        if (value.is_string()) {
            SendMessage(MessageCreateEntity(name, value.get<std::string>(), empty));
        } else if (value.is_object()) {
            for (auto& [file, overrides] : value.items()) {
                SendMessage(MessageCreateEntity(name, file, overrides));
            }
        }
    }
}
