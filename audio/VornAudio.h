#pragma once
// The whole public API of VornAudio.

#include "audio/MessageAudio.h"
