#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "game/program/ContentFolder.h"

namespace fs = std::filesystem;

namespace {

/// A fresh empty folder, removed with everything in it at the end.
struct TempFolder {
    fs::path root;
    TempFolder() {
        std::random_device random;
        root = fs::temp_directory_path() / ("halvex-content-" + std::to_string(random()));
        fs::create_directories(root);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    void Touch(const std::string& relative) const {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative) << "{}";
    }
};

using Paths = std::vector<fs::path>;

}  // namespace

TEST(ContentFolder, LooksHereThenBesideTheProgramThenInThePrefix) {
    EXPECT_EQ(
        ContentCandidates("/w", "/opt/h/bin/Halvex", "/usr/local/share/halvex", "../share/halvex"),
        (Paths{"/w", "/opt/h/bin", "/opt/h", "/opt/h/share/halvex", "/usr/local/share/halvex"}));
    // Started from the install's own folder, built for the prefix it sits in: each folder once.
    EXPECT_EQ(
        ContentCandidates("/opt/h/", "/opt/h/bin/Halvex", "/opt/h/share/halvex", "../share/halvex"),
        (Paths{"/opt/h", "/opt/h/bin", "/opt/h/share/halvex"}));
    // The Debian layout: the program in games/, the content in share/games/.
    EXPECT_EQ(ContentCandidates("/home/me", "/usr/games/Halvex", "/usr/share/games/halvex",
                                "../share/games/halvex"),
              (Paths{"/home/me", "/usr/games", "/usr", "/usr/share/games/halvex"}));
    EXPECT_EQ(ContentCandidates("/w", "", "", ""), (Paths{"/w"}));
    EXPECT_EQ(ContentCandidates("", "/b/Halvex", "", "../share/halvex"),
              (Paths{"/b", "/", "/share/halvex"}));
}

TEST(ContentFolder, TakesTheFirstFolderWithTheGamesIndex) {
    TempFolder temp;
    const fs::path work = temp.root / "work";
    const fs::path program = temp.root / "prefix/games/Halvex";
    temp.Touch("prefix/games/Halvex");
    // A folder merely called Assets is someone else's.
    fs::create_directories(work / "Assets/Data");
    const Paths candidates = ContentCandidates(work, program, temp.root / "system/share/halvex",
                                               "../share/games/halvex");
    EXPECT_EQ(FindContent(candidates), std::nullopt);

    temp.Touch("system/share/halvex/Assets/Data/Index.json");
    EXPECT_EQ(FindContent(candidates), temp.root / "system/share/halvex");
    // A copy unpacked elsewhere plays its own content, not the one installed for the system.
    temp.Touch("prefix/share/games/halvex/Assets/Data/Index.json");
    EXPECT_EQ(FindContent(candidates), temp.root / "prefix/share/games/halvex");
    temp.Touch("prefix/Assets/Data/Index.json");
    EXPECT_EQ(FindContent(candidates), temp.root / "prefix");
    temp.Touch("work/Assets/Data/Index.json");
    EXPECT_EQ(FindContent(candidates), work);
}

TEST(ContentFolder, NothingFoundNamesEveryFolderLookedIn) {
    const Paths candidates =
        ContentCandidates("/w", "/opt/h/bin/Halvex", "/usr/local/share/halvex", "../share/halvex");
    const std::string text = ContentNotFoundText(candidates) + "\n";
    EXPECT_NE(text.find("Assets/Data/Index.json"), std::string::npos) << text;
    for (const fs::path& folder : candidates) {
        EXPECT_NE(text.find("\n  " + folder.string() + "\n"), std::string::npos)
            << folder << " missing from:\n"
            << text;
    }
}

TEST(ContentFolder, KnowsTheRunningProgram) {
    const fs::path self = ExecutablePath(nullptr);
    ASSERT_FALSE(self.empty());
    EXPECT_TRUE(self.is_absolute());
    EXPECT_EQ(self.filename(), "GameTests");
}
