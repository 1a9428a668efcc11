#include "game/replay/ReplayFile.h"

#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "engine/DataError.h"
#include "game/program/ProgramOptions.h"
#include "tests/support/TempAssets.h"

namespace {

Replay SampleReplay() {
    Replay replay;
    replay.start = "Level1";
    replay.expect = "LoseScreen";
    replay.step = 1.0f / 60.0f;
    replay.seed = 4000000000u;
    replay.frames = 300;
    ReplayInput key;
    key.frame = 3;
    key.key = 68;
    key.action = 1;
    key.mods = 2;
    key.debug = true;
    ReplayInput scroll;
    scroll.frame = 3;
    scroll.kind = ReplayInput::Kind::Scroll;
    scroll.value = {0.1f, -1.0f / 3.0f};
    ReplayInput focus;
    focus.frame = 10;
    focus.kind = ReplayInput::Kind::Focus;
    focus.focused = false;
    ReplayInput cursor;
    cursor.frame = 299;
    cursor.kind = ReplayInput::Kind::Cursor;
    cursor.value = {3.14159274f, -7.0e-8f};
    cursor.offsets = {{"", {12.5f, 7.25f}}, {"UI Camera", {1e-30f, 123456.789f}}};
    replay.input = {key, scroll, focus, cursor};
    return replay;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The error for `text` written as a replay file; fails the test when there is none.
std::string ErrorFor(const TempAssets& dir, const std::string& text) {
    dir.Write("bad.json", text);
    try {
        (void)ReadReplayFile("bad.json");
    } catch (const DataError& e) {
        return e.what();
    }
    ADD_FAILURE() << "no error for: " << text;
    return "";
}

}  // namespace

TEST(ReplayFile, RoundTripKeepsEveryInputAndExactFloats) {
    TempAssets dir;
    const Replay replay = SampleReplay();
    WriteReplayFile("sample.json", replay);
    const Replay back = ReadReplayFile("sample.json");
    EXPECT_EQ(back, replay);
    EXPECT_EQ(back.step, 1.0f / 60.0f);
    ASSERT_EQ(back.input.size(), 4u);
    EXPECT_EQ(back.input[3].offsets[1].offset.y, 123456.789f);
    // Writing what was read gives the same bytes: re-recording shows only real changes.
    WriteReplayFile("again.json", back);
    EXPECT_EQ(ReadText("again.json"), ReadText("sample.json"));
}

TEST(ReplayFile, EmptyInputRoundTrips) {
    TempAssets dir;
    Replay replay;
    replay.start = "SplashScreen";
    replay.frames = 0;
    WriteReplayFile("empty.json", replay);
    EXPECT_EQ(ReadReplayFile("empty.json"), replay);
}

TEST(ReplayFile, MissingOrTruncatedFilesAreErrorsNamingTheFile) {
    TempAssets dir;
    try {
        (void)ReadReplayFile("nowhere.json");
        FAIL() << "no error for a missing file";
    } catch (const DataError& e) {
        EXPECT_NE(std::string(e.what()).find("nowhere.json"), std::string::npos) << e.what();
    }
    WriteReplayFile("whole.json", SampleReplay());
    const std::string text = ReadText("whole.json");
    for (const std::size_t cut :
         {std::size_t{0}, std::size_t{1}, text.size() / 2, text.size() - 3}) {
        const std::string error = ErrorFor(dir, text.substr(0, cut));
        EXPECT_EQ(error.rfind("bad.json: ", 0), 0u) << "cut at " << cut << ": " << error;
    }
}

TEST(ReplayFile, MalformedContentNamesTheKey) {
    TempAssets dir;
    const nlohmann::json good = ReplayToJson(SampleReplay());
    struct Case {
        const char* pointer;
        nlohmann::json value;
        const char* named;
    };
    const Case cases[] = {
        {"/format", "Other replay", "format"},
        {"/version", 2, "version"},
        {"/start", "", "start"},
        {"/start", 5, "start"},
        {"/step", 0, "step"},
        {"/step", 0.5, "step"},
        {"/seed", -1, "seed"},
        {"/seed", 5000000000ull, "seed"},
        {"/frames", -4, "frames"},
        {"/frames", 3, "input[0].frame"},
        {"/input", nlohmann::json::object(), "input"},
        {"/input/0/key", nlohmann::json::array({68, 1}), "input[0].key"},
        {"/input/0/frame", 50, "input[1].frame"},
        {"/input/2/focus", 1, "input[2].focus"},
        {"/input/3/cursor/offsets", nlohmann::json::array({nlohmann::json::array({1, 2, 3})}),
         "input[3].cursor.offsets"},
    };
    for (const Case& c : cases) {
        nlohmann::json bad = good;
        bad[nlohmann::json::json_pointer(c.pointer)] = c.value;
        const std::string error = ErrorFor(dir, bad.dump());
        EXPECT_EQ(error.rfind("bad.json: ", 0), 0u) << error;
        EXPECT_NE(error.find(c.named), std::string::npos) << c.pointer << ": " << error;
    }
    nlohmann::json noKind = good;
    noKind["input"][0].erase("key");
    EXPECT_NE(ErrorFor(dir, noKind.dump()).find("input[0]"), std::string::npos);
    nlohmann::json noExpect = good;
    noExpect.erase("expect");
    EXPECT_NE(ErrorFor(dir, noExpect.dump()).find("\"expect\""), std::string::npos);
}

TEST(ProgramOptions, ReadsTheReplayCommands) {
    EXPECT_TRUE(ParseProgramOptions({}).replay.empty());
    const ProgramOptions replay = ParseProgramOptions({"--replay", "a.json", "--headless"});
    EXPECT_EQ(replay.replay, "a.json");
    EXPECT_TRUE(replay.headless);
    const ProgramOptions record = ParseProgramOptions(
        {"--record", "b.json", "--start", "Level1", "--seed", "7", "--step", "0.02"});
    EXPECT_EQ(record.record, "b.json");
    EXPECT_EQ(record.start, "Level1");
    EXPECT_EQ(record.seed, 7u);
    EXPECT_EQ(record.step, 0.02f);
    const ProgramOptions profiled =
        ParseProgramOptions({"--replay", "a.json", "--headless", "--profile", "--repeat", "19"});
    EXPECT_TRUE(profiled.profile);
    EXPECT_EQ(profiled.repeat, 19);
    EXPECT_FALSE(replay.profile);
    EXPECT_EQ(replay.repeat, 1);
    EXPECT_EQ(replay.jitter, 0);
    const ProgramOptions jittered = ParseProgramOptions(
        {"--replay", "a.json", "--jitter", "3", "--repeat", "50", "--jitter-seed", "9"});
    EXPECT_EQ(jittered.jitter, 3);
    EXPECT_EQ(jittered.repeat, 50);
    EXPECT_EQ(jittered.jitterSeed, 9u);
}

TEST(ProgramOptions, RefusesWhatCannotBeFollowed) {
    const std::vector<std::vector<std::string>> bad = {
        {"--replay"},
        {"--frobnicate"},
        {"--record", "a", "--replay", "b"},
        {"--headless"},
        {"--record", "a", "--headless"},
        {"--replay", "a", "--seed", "3"},
        {"--record", "a", "--seed", "-3"},
        {"--record", "a", "--seed", "3x"},
        {"--record", "a", "--step", "0.5"},
        {"--record", "a", "--step", "0"},
        {"--record", "a", "--profile"},
        {"--replay", "a", "--repeat", "0"},
        {"--replay", "a", "--repeat", "2x"},
        {"--repeat", "3"},
        {"--replay", "a", "--jitter", "-1"},
        {"--replay", "a", "--jitter-seed", "4"},
        {"--record", "a", "--jitter", "2"},
    };
    for (const auto& args : bad) {
        EXPECT_THROW((void)ParseProgramOptions(args), UsageError) << args[0];
    }
}

TEST(ReplayFile, NumbersBeyondTheirTypeAreErrorsNamingTheKey) {
    TempAssets dir;
    // Beyond a double: the parser's own range error, which must not escape as such.
    const std::string beyond = ErrorFor(dir, R"({"format": "Halvex replay", "step": 1e400})");
    EXPECT_EQ(beyond.rfind("bad.json: ", 0), 0u) << beyond;

    const nlohmann::json good = ReplayToJson(SampleReplay());
    struct Case {
        const char* pointer;
        nlohmann::json value;
        const char* named;
    };
    const Case cases[] = {
        {"/step", 1e39, "step"},
        {"/frames", 4294967296ull, "frames"},
        {"/frames", 4294967306ull, "frames"},
        {"/frames", 2147483648ull, "frames"},
        {"/input/0/frame", 4294967296ull, "input[0].frame"},
        {"/input/0/key/0", 4294967364ull, "input[0].key"},
        {"/input/0/key/2", -2147483649ll, "input[0].key"},
        {"/input/1/scroll/0", 1e39, "input[1].scroll"},
        {"/input/3/cursor/position/1", -3.5e38, "input[3].cursor.position"},
        {"/input/3/cursor/offsets/1/2", 1e300, "input[3].cursor.offsets"},
    };
    for (const Case& c : cases) {
        nlohmann::json bad = good;
        bad[nlohmann::json::json_pointer(c.pointer)] = c.value;
        const std::string error = ErrorFor(dir, bad.dump());
        EXPECT_EQ(error.rfind("bad.json: ", 0), 0u) << error;
        EXPECT_NE(error.find(c.named), std::string::npos) << c.pointer << ": " << error;
    }

    // A cursor naming more cameras than any scene has would be scanned for each of them.
    nlohmann::json many = ReplayToJson(SampleReplay());
    auto& offsets = many["input"][3]["cursor"]["offsets"];
    for (int i = 0; i < 5000; ++i) offsets.push_back({"Camera " + std::to_string(i), 0, 0});
    EXPECT_NE(ErrorFor(dir, many.dump()).find("input[3].cursor.offsets"), std::string::npos);

    // The largest values every field can hold still read, and write back the same.
    Replay edge = SampleReplay();
    edge.frames = 2147483647;
    edge.input[0].frame = 2147483646;
    edge.input[0].key = -2147483647 - 1;
    edge.input[1].frame = edge.input[2].frame = edge.input[3].frame = 2147483646;
    edge.input[1].value = {3.4028235e38f, -3.4028235e38f};
    edge.input[3].offsets[0].offset = {1.4e-45f, -0.0f};
    WriteReplayFile("edge.json", edge);
    EXPECT_EQ(ReadReplayFile("edge.json"), edge);
}
