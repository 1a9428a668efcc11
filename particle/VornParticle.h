#pragma once
// The whole public API of VornParticle.
