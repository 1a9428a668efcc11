// Stays in its layers: physics includes itself and the engine.
#include "engine/MessageId.h"
#include "physics2d/SystemPhysics.h"

int LayersControl() {
    return MessageId::Quit;
}
