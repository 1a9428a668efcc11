#pragma once

#include <memory>

#include "engine/SystemBase.h"
#include "tests/cross/ComponentCross.h"

/// In libCrossSystem.so: the system that stores ComponentCross.
std::unique_ptr<SystemBase> MakeSystemCross();
/// In libCrossQuery.so: builds a MessageQuery<ComponentCross> there and sends it.
bool QueryCrossValue(const SendCallback& send, int entity, int& value);
