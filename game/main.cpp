#include <exception>
#include <iostream>

#include "audio/VornAudio.h"
#include "engine/VornEngine.h"
#include "game/Roster.h"
#include "services/graphics/VornGraphics.h"

// The program takes no arguments; everything it shows comes from ./Assets.
int main() {
    try {
        Engine engine;
        engine.AddManager(std::make_unique<ManagerState>());
        engine.AddManager(std::make_unique<ManagerWindow>("Halvex", 1.7777778f));
        engine.AddManager(std::make_unique<ManagerAudio>());
        for (auto& system : MakeRoster()) {
            engine.HandleMessage(MessageAddSystem(std::move(system)));
        }
        engine.HandleMessage(MessageLoad(MessageLoad::kBank, "Music"));
        engine.HandleMessage(MessageLoad(MessageLoad::kBank, "SFX"));
        engine.HandleMessage(MessageChangeState("SplashScreen"));
        engine.Run();
    } catch (const std::exception& e) {
        std::cerr << "Halvex: error: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
