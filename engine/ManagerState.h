#pragma once

#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "engine/KeyCodes.h"
#include "engine/Manager.h"
#include "engine/State.h"
#include "engine/SystemBase.h"
#include "engine/TriggerNames.h"

/// Keeps the prototype systems and the loaded states, makes one of them current, loads scenes
/// on threads of their own, destroys states at the next update, saves and restores the
/// checkpoint and switches states on the debug hotkeys of ./Assets/Data/Index.json.
///
/// Threads: only the main thread erases states, and it joins a state's loader before erasing
/// or entering that state. Loaders look their own state up under `statesMutex`; states live in
/// map nodes, so a looked-up state stays put while others are inserted.
class ManagerState : public Manager {
public:
    /// Reads the hotkeys; a missing or malformed Index.json raises a DataError.
    ManagerState();
    ~ManagerState() override;
    ManagerState(const ManagerState&) = delete;
    ManagerState& operator=(const ManagerState&) = delete;

    bool HandleMessage(const Message& message) override;

    /// The checkpoint state is named after the trigger that saves it.
    static constexpr const char* kCheckpoint = trigger::Checkpoint.data();
    /// F5 in debug mode reloads the current state from its files, unless a hotkey claims it.
    static constexpr int kReloadKey = keycode::F5;

    const std::string& CurrentState() const { return currentState; }
    /// A state asked for that fails to load is replaced by this one, whose systems then hear
    /// MessageContentError, and the failure goes to the error output. Empty (the default), or
    /// this state failing too: the failure is raised to whoever runs the engine.
    void SetErrorState(std::string name) { errorState = std::move(name); }
    /// Whether a state of this name exists (loaded, loading or the checkpoint).
    bool HasState(const std::string& name) const;
    /// The state of this name; callers on the main thread only, once it is loaded.
    State& GetState(const std::string& name);

private:
    struct Loader {
        std::thread thread;
        /// Whatever the loader threw, raised again on the main thread when it is joined.
        std::shared_ptr<std::exception_ptr> error;
    };

    bool Forward(const Message& message);
    bool ToNamedState(const std::string& name, const Message& message);
    /// Creates state `name` and starts loading it from scene file `scene` (default: `name`).
    void CreateState(const std::string& name, const std::string& scene = "");
    /// Reads the current state's files again into a new state and swaps it in; a load that
    /// fails leaves the old state in place and prints why.
    void Reload();
    /// Joins the loader of `name` if it has one; rethrows its failure when `raise` is set.
    void JoinLoader(const std::string& name, bool raise);
    void EraseState(const std::string& name);
    void SaveCheckpoint();
    void OnUpdate();
    void OnKey(const Message& message);
    void LoadScene(const std::string& name, const std::string& file);

    std::unordered_map<std::string, State> states;
    mutable std::mutex statesMutex;
    /// The current state's node, cached so that frame messages need no lookup.
    State* current = nullptr;
    std::string currentState;
    std::string nextState;
    std::unordered_map<int, std::string> hotkeys;
    std::vector<std::unique_ptr<SystemBase>> prototypes;
    std::vector<std::string> pendingDestroys;
    std::unordered_map<std::string, Loader> loaders;
    bool restoreRequested = false;
    bool reloadRequested = false;
    std::string errorState;
    /// Set on destruction: loaders stop at their next entity instead of finishing the scene.
    std::atomic<bool> cancelLoads{false};
};

/// `text` with a file path at its start made absolute: content errors name files relative to
/// the content folder, which need not be where the player started the game.
std::string WithAbsolutePath(const std::string& text);

/// Path of a scene file, relative to the working directory.
std::string SceneFilePath(const std::string& state);
