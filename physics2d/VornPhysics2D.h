#pragma once
// The whole public API of VornPhysics2D.
