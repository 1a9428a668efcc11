#pragma once
// The whole public API of VornPhysics2D.

#include "engine/DebugSwitch.h"
#include "physics2d/MessageCollision.h"
#include "physics2d/Overlap.h"
#include "physics2d/SystemCollisionBox.h"
#include "physics2d/SystemCollisionCircle.h"
#include "physics2d/SystemPhysics.h"
