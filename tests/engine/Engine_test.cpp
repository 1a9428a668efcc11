#include "engine/Engine.h"

#include <gtest/gtest.h>

#include "engine/MessageFrame.h"
#include "engine/MessageTrigger.h"
#include "tests/support/RecordingManager.h"

TEST(Engine, ClampsFrameTime) {
    EXPECT_FLOAT_EQ(Engine::ClampFrameTime(0.5f), 0.033333335f);
    EXPECT_FLOAT_EQ(Engine::ClampFrameTime(0.01f), 0.01f);
    EXPECT_FLOAT_EQ(Engine::ClampFrameTime(-1.0f), 0.0f);
}
