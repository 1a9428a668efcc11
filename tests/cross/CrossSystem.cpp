#include "tests/cross/CrossLibraries.h"

#include "engine/System.h"

namespace {
class SystemCross : public System<ComponentCross, SystemCross> {};
}  // namespace

std::unique_ptr<SystemBase> MakeSystemCross() {
    return std::make_unique<SystemCross>();
}
