#pragma once
// The whole public API of VornAudio.

#include "audio/AudioResult.h"
#include "audio/AudioRuntime.h"
#include "audio/ManagerAudio.h"
#include "audio/MessageAudio.h"
#include "audio/SystemAudioListener.h"
#include "audio/SystemAudioSource.h"
