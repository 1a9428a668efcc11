#pragma once
// The whole public API of VornUI.

#include "services/ui/MessageUITrigger.h"
#include "services/ui/SystemButton.h"
#include "services/ui/SystemSlider.h"
#include "services/ui/SystemUIElement.h"
