#pragma once
// The whole public API of VornGraphics.

#include "engine/ComponentSprite.h"
#include "engine/MessageCursor.h"
#include "engine/MessageKey.h"
#include "engine/MessageQuit.h"
#include "engine/MessageSpriteRender.h"
#include "services/graphics/ManagerWindow.h"
#include "services/graphics/SystemCamera.h"
#include "services/graphics/SystemModel.h"
#include "services/graphics/SystemSprite.h"
