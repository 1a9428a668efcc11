#include <exception>
#include <iostream>

#include "engine/VornEngine.h"
#include "game/Roster.h"

// The program takes no arguments; everything it shows comes from ./Assets.
int main() {
    try {
        Engine engine;
        engine.AddManager(std::make_unique<ManagerState>());
        // The window manager and the audio manager join here as their libraries land.
        for (auto& system : MakeRoster()) {
            engine.HandleMessage(MessageAddSystem(std::move(system)));
        }
        engine.HandleMessage(MessageChangeState("SplashScreen"));
        engine.Run();
    } catch (const std::exception& e) {
        std::cerr << "Halvex: error: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
