#pragma once
// The whole public API of VornGraphics.

#include "services/ComponentSprite.h"
#include "services/MessageCursor.h"
#include "services/MessageKey.h"
#include "services/MessageQuit.h"
#include "services/MessageSpriteRender.h"
#include "services/graphics/ManagerWindow.h"
#include "services/graphics/SystemCamera.h"
#include "services/graphics/SystemModel.h"
#include "services/graphics/SystemSprite.h"
