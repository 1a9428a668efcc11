#pragma once
// The whole public API of VornParticle.

#include "particle/MessageEmitParticle.h"
#include "particle/MessageParticlePool.h"
#include "particle/ParticleCurve.h"
#include "particle/SystemParticleEmitter.h"
#include "particle/SystemParticleEmitterRectangle.h"
#include "particle/SystemParticleEmitterSpread.h"
#include "particle/SystemParticlePool.h"
#include "particle/SystemParticlePoolAnimation.h"
#include "particle/SystemParticlePoolColor.h"
#include "particle/SystemParticlePoolPhysics.h"
