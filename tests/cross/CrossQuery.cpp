#include "tests/cross/CrossLibraries.h"

#include "engine/MessageComponent.h"

bool QueryCrossValue(const SendCallback& send, int entity, int& value) {
    bool called = false;
    const std::function<void(ComponentCross&)> read = [&](ComponentCross& cross) {
        called = true;
        value = cross.value;
    };
    send(MessageQuery<ComponentCross>(entity, read));
    return called;
}
