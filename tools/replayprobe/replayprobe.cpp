// Plays a recording headless, as `Halvex --replay FILE --headless` does, and prints the frame,
// the state and the player's position and lives every EVERY frames (default 30) and whenever
// the state changes, marks a hurt player, lists the enemies near it and prints every trigger
// fired: what a designer needs to place the presses of a level's input script. With JITTER
// and SEED it plays the copy `Halvex --jitter JITTER --jitter-seed SEED` plays first, so a
// jittered run that fails can be watched to its death (the cause is among the triggers).

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <unordered_map>

#include "audio/VornAudio.h"
#include "engine/DataError.h"
#include "engine/MessageComponent.h"
#include "engine/MessageTrigger.h"
#include "engine/SimulationSeed.h"
#include "engine/SystemTransform.h"
#include "engine/VornEngine.h"
#include "game/Roster.h"
#include "game/enemies/SystemEnemyBehavior.h"
#include "game/player/SystemPlayerCollision.h"
#include "game/player/SystemPlayerControl.h"
#include "game/player/SystemPlayerHealth.h"
#include "game/replay/ManagerReplayPlayer.h"
#include "game/replay/ReplayFile.h"
#include "game/replay/ReplayJitter.h"

namespace {

class ManagerProbe : public Manager {
public:
    ManagerProbe(const ManagerState& states, int every) : states(states), every(every) {}

    bool HandleMessage(const Message& message) override {
        if (message.TypeId() == MessageId::Trigger) {
            std::ostringstream text;
            message.Trace(text);
            std::printf("frame %5d  trigger: %s", frame, text.str().c_str());
        }
        if (message.TypeId() != MessageId::Render) return false;
        ++frame;
        const bool changed = states.CurrentState() != lastState;
        if (!changed && frame % every != 0) return false;
        lastState = states.CurrentState();
        EntityId player = 0;
        std::function<void(std::unordered_map<EntityId, ComponentPlayerControl>&)> find =
            [&](std::unordered_map<EntityId, ComponentPlayerControl>& table) {
                if (!table.empty()) player = table.begin()->first;
            };
        SendMessage(MessageQueryContainer<ComponentPlayerControl>(find));
        float x = 0, y = 0;
        int lives = -1;
        bool hurt = false;
        if (player) {
            SendMessage(MessageQuery<ComponentTransform>(player, [&](ComponentTransform& t) {
                x = t.translation.x;
                y = t.translation.y;
            }));
            SendMessage(MessageQuery<ComponentPlayerHealth>(
                player, [&](ComponentPlayerHealth& h) { lives = h.Health; }));
            SendMessage(MessageQuery<ComponentPlayerCollider>(
                player, [&](ComponentPlayerCollider& c) { hurt = c.hurt; }));
        }
        std::printf("frame %5d  %-12s x %7.2f  y %6.2f  lives %d%s", frame, lastState.c_str(), x, y,
                    lives, hurt ? "  hurt" : "");
        // The enemies close ahead or behind: what the next shot or jump has to deal with.
        std::function<void(std::unordered_map<EntityId, ComponentEnemyBehavior>&)> enemies =
            [&](std::unordered_map<EntityId, ComponentEnemyBehavior>& table) {
                for (const auto& entry : table) {
                    SendMessage(
                        MessageQuery<ComponentTransform>(entry.first, [&](ComponentTransform& t) {
                            if (t.translation.x > x - 4 && t.translation.x < x + 12)
                                std::printf("  enemy %.2f,%.2f", t.translation.x, t.translation.y);
                        }));
                }
            };
        SendMessage(MessageQueryContainer<ComponentEnemyBehavior>(enemies));
        std::printf("\n");
        return false;
    }

private:
    const ManagerState& states;
    int every;
    int frame = -1;
    std::string lastState;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: replayprobe FILE [EVERY [JITTER SEED]]\n");
        return 2;
    }
    try {
        Replay replay = ReadReplayFile(argv[1]);
        if (argc > 4) {
            replay = JitterReplay(replay, std::atoi(argv[3]),
                                  static_cast<std::uint32_t>(std::strtoul(argv[4], nullptr, 10)));
        }
        simulation_seed::Set(replay.seed);
        std::srand(simulation_seed::SeedFor("rand", 1u));
        Engine engine;
        auto owned = std::make_unique<ManagerState>();
        ManagerState& states = *owned;
        engine.AddManager(std::move(owned));
        engine.AddManager(std::make_unique<ManagerReplayPlayer>(replay));
        audio::RenderTarget nowhere;
        nowhere.write = [](const float*, int) {};
        engine.AddManager(std::make_unique<ManagerAudio>(nowhere));
        engine.AddManager(
            std::make_unique<ManagerProbe>(states, argc > 2 ? std::atoi(argv[2]) : 30));
        for (auto& system : MakeRoster()) engine.HandleMessage(MessageAddSystem(std::move(system)));
        engine.HandleMessage(MessageLoad(MessageLoad::kBank, "Music"));
        engine.HandleMessage(MessageLoad(MessageLoad::kBank, "SFX"));
        engine.SetFixedFrameTime(replay.step, false);
        engine.HandleMessage(MessageChangeState(replay.start));
        engine.Run();
        std::printf("end: state %s\n", states.CurrentState().c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "replayprobe: %s\n", e.what());
        return 1;
    }
    return 0;
}
