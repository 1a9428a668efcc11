#include <gtest/gtest.h>

#include <vector>

#include <sys/stat.h>

#include "engine/DataFile.h"
#include "engine/SystemTransform.h"
#include "tests/engine/TestSystems.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

using json = nlohmann::json;

namespace {

/// The text of the DataError `action` raises; fails the test when it raises none.
template <class F>
std::string DataErrorText(F&& action) {
    try {
        action();
    } catch (const DataError& e) {
        return e.what();
    }
    ADD_FAILURE() << "no DataError";
    return "";
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

}  // namespace

TEST(DataFile, MissingAndMalformedFilesRaiseADataErrorNamingTheFile) {
    TempAssets assets;
    const std::string missing = "Assets/Data/Nothing.json";
    std::string text = DataErrorText([&] { ReadDataFile(missing); });
    EXPECT_TRUE(StartsWith(text, missing + ": file not found")) << text;

    const std::string broken = "Assets/Data/Broken.json";
    assets.Write(broken, "{ \"Physics\": { \"Velocity\": [1, ");
    text = DataErrorText([&] { ReadDataFile(broken); });
    EXPECT_TRUE(StartsWith(text, broken + ": ")) << text;
    EXPECT_NE(text.find("parse_error"), std::string::npos) << text;

    // A folder where a file should be is no data file either.
    assets.Write("Assets/Data/Folder.json/inside", "{}");
    text = DataErrorText([&] { ReadDataFile("Assets/Data/Folder.json"); });
    EXPECT_TRUE(StartsWith(text, "Assets/Data/Folder.json: is a folder")) << text;

    assets.Write("Assets/Data/Good.json", R"({"Physics": {"Velocity": [1, 2]}})");
    EXPECT_EQ(ReadDataFile("Assets/Data/Good.json")["Physics"]["Velocity"][1], 2);
}

TEST(DataFile, TypeErrorsNameTheFileAndTheKeyPath) {
    TempAssets assets;
    const std::string path = "Assets/Data/Body.json";
    assets.Write(path, R"({"Physics": {"Velocity": 3, "Layers": [1, "two"]}})");
    const json body = ReadDataFile(path);
    auto read = [&](const json& value) {
        try {
            value.get<std::vector<float>>();
        } catch (const json::exception& e) {
            throw DataFileError(path, e);
        }
    };
    std::string text = DataErrorText([&] { read(body.at("Physics").at("Velocity")); });
    EXPECT_TRUE(StartsWith(text, path + ": ")) << text;
    EXPECT_NE(text.find("/Physics/Velocity"), std::string::npos) << text;
    EXPECT_NE(text.find("type must be array"), std::string::npos) << text;
    text = DataErrorText([&] { read(body.at("Physics").at("Layers")); });
    EXPECT_NE(text.find("/Physics/Layers/1"), std::string::npos) << text;
}

TEST(DataFile, ComponentErrorsNameTheEntityFileAndTheKeyPathAfterSceneOverrides) {
    TempAssets assets;
    assets.Entity("Walker", {{"Health", {{"Points", 3}}}});
    // The scene's override carries the bad value into the entity's description.
    assets.Scene("Level", {{"a", {{"Walker", {{"Health", {{"Regen", "fast"}}}}}}}});
    std::vector<std::unique_ptr<SystemBase>> systems;
    systems.push_back(std::make_unique<SystemHealth>());
    systems.push_back(std::make_unique<SystemTransform>());
    TestEngine test(std::move(systems));
    const std::string text = DataErrorText([&] { test.Enter("Level"); });
    EXPECT_TRUE(StartsWith(text, "./Assets/Data/Entity/Walker.json: \"Health\": ")) << text;
    EXPECT_NE(text.find("/Health/Regen"), std::string::npos) << text;
    EXPECT_NE(text.find("type must be number, but is string"), std::string::npos) << text;
}

TEST(DataFile, DeepNestingHugeNumbersAndPipesAreDataErrors) {
    TempAssets assets;
    // Deep enough to overflow any recursive walk of the parsed value.
    const std::string deep = "Assets/Data/Deep.json";
    assets.Write(deep,
                 R"({"Physics": )" + std::string(300000, '[') + std::string(300000, ']') + "}");
    std::string text = DataErrorText([&] { ReadDataFile(deep); });
    EXPECT_TRUE(StartsWith(text, deep + ": arrays and objects nested more than")) << text;
    // As deep as allowed still reads.
    assets.Write(deep, std::string(kMaxDataDepth, '[') + std::string(kMaxDataDepth, ']'));
    EXPECT_TRUE(ReadDataFile(deep).is_array());

    const std::string huge = "Assets/Data/Huge.json";
    assets.Write(huge, R"({"step": 1e400})");
    text = DataErrorText([&] { ReadDataFile(huge); });
    EXPECT_TRUE(StartsWith(text, huge + ": ")) << text;

    // A named pipe would block the reader forever.
    const std::string pipe = "Assets/Data/Pipe.json";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    text = DataErrorText([&] { ReadDataFile(pipe); });
    EXPECT_TRUE(StartsWith(text, pipe + ": not a regular file")) << text;
}
