#pragma once

// Including this keeps the fields of the messages tests check (triggers, state changes, sounds,
// audio parameters and bus volumes, UI triggers, particle pools) in every recorder of the test
// program, so a test checks what a message carries rather than how its trace text reads; the
// trace texts themselves are checked in the trace tests only.

#include "audio/MessageAudio.h"
#include "engine/MessageState.h"
#include "engine/MessageTrigger.h"
#include "particle/MessageParticlePool.h"
#include "services/ui/MessageUITrigger.h"
#include "tests/support/RecordingManager.h"

inline const bool kKeptFields = RecordingManager::KeepFieldsOf<MessageTrigger>() &&
                                RecordingManager::KeepFieldsOf<MessageChangeState>() &&
                                RecordingManager::KeepFieldsOf<MessageDestroyState>() &&
                                RecordingManager::KeepFieldsOf<MessageAudioEvent>() &&
                                RecordingManager::KeepFieldsOf<MessageAudioParameter>() &&
                                RecordingManager::KeepFieldsOf<MessageSetBusVolume>() &&
                                RecordingManager::KeepFieldsOf<MessageUIActiveTrigger>() &&
                                RecordingManager::KeepFieldsOf<MessageUIVisibleTrigger>() &&
                                RecordingManager::KeepFieldsOf<MessagePopulateParticlePool>() &&
                                RecordingManager::KeepFieldsOf<MessageDeleteParticlePool>();
