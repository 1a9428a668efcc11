#include <gtest/gtest.h>

#include "engine/ContentPath.h"

TEST(ContentPath, OnlyPathsThatStayInsideTheContentPass) {
    EXPECT_TRUE(InsideAssets("Data/Tiled", "Level1Tiles.tsj"));
    EXPECT_TRUE(InsideAssets("Data/Tiled", "../Textures/x.png"));
    EXPECT_TRUE(InsideAssets("Data/Tiled", "../../Textures/x.png"));
    EXPECT_TRUE(InsideAssets("Data/Tiled", "a/../../b/./c"));
    EXPECT_TRUE(InsideAssets("Textures", ""));

    EXPECT_FALSE(InsideAssets("Data/Tiled", "../../../x.tsj"));
    EXPECT_FALSE(InsideAssets("Data/Tiled", "a/../../../../x"));
    EXPECT_FALSE(InsideAssets("Textures", "..\\..\\x"));
    EXPECT_FALSE(InsideAssets("Textures", "/etc/passwd"));
    EXPECT_FALSE(InsideAssets("Textures", "C:/x"));
    // Climbing out and back in still reads outside on the way, and proves nothing about links.
    EXPECT_FALSE(InsideAssets("Banks", "../../Assets/Banks/x.wav"));
}
