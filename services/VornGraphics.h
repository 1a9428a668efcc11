#pragma once
// The whole public API of VornGraphics.

#include "services/ComponentSprite.h"
#include "services/MessageCursor.h"
#include "services/MessageKey.h"
#include "services/MessageQuit.h"
#include "services/MessageSpriteRender.h"
