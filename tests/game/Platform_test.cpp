#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game/platform/ProgramFile.h"
#include "game/platform/ResidentMemory.h"

namespace fs = std::filesystem;

// The content search starts from the program's own file: it must name this very test program,
// not a link to it or the working folder.
TEST(Platform, RunningProgramFileIsThisProgram) {
    const fs::path self = RunningProgramFile();
    ASSERT_FALSE(self.empty());
    EXPECT_TRUE(self.is_absolute());
    EXPECT_TRUE(fs::is_regular_file(self));
    EXPECT_EQ(self.stem().string(), "GameTests");
}

// Touching fresh memory makes it resident, and the reading follows.
TEST(Platform, ResidentMemoryGrowsWithTouchedMemory) {
    const long before = ResidentKiB();
    ASSERT_GT(before, 0);
    std::vector<char> block(64 * 1024 * 1024);
    // Through a volatile pointer, so that the writes are not optimised away.
    volatile char* bytes = block.data();
    for (std::size_t i = 0; i < block.size(); i += 4096) bytes[i] = 1;
    const long after = ResidentKiB();
    EXPECT_GE(after - before, 48 * 1024) << "before " << before << " KiB, after " << after;
}
