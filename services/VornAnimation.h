#pragma once
// The whole public API of VornAnimation.

#include "services/MessageAnimation.h"
#include "services/animation/SystemAnimation.h"
