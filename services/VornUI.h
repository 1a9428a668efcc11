#pragma once
// The whole public API of VornUI.

#include "services/MessageUITrigger.h"
