#pragma once
// The whole public API of VornAnimation.

#include "services/animation/MessageAnimation.h"
#include "services/animation/SystemAnimation.h"
