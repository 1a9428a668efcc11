// The bank reader promises only its own format error, whatever the file holds.
#include <gtest/gtest.h>

#include "audio/AudioBankFile.h"
#include "tests/support/TempAssets.h"

namespace {

std::string ReadError(const TempAssets& assets, const std::string& text) {
    assets.Write("Assets/Banks/Test.bank", text);
    try {
        audio::ReadBankFile("Assets/Banks/Test.bank");
    } catch (const audio::BankFormatError& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST(BankFile, NumbersBeyondEveryRangeAreFormatErrors) {
    TempAssets assets;
    // Too large for a double: the JSON library's own range error must not escape.
    EXPECT_EQ(ReadError(assets, R"({"Buses": {"bus:/A": {"Volume": 1e422}}})")
                  .rfind("Assets/Banks/Test.bank: ", 0),
              0u);
    // Too large for a float: caught before narrowing.
    const std::string wide = ReadError(assets, R"({"Buses": {"bus:/A": {"Volume": 1e300}}})");
    EXPECT_NE(wide.find("\"Buses\"/\"bus:/A\"/\"Volume\": must lie in"), std::string::npos) << wide;
    const std::string curve = ReadError(
        assets,
        R"({"Events": {"event:/A": {"Sounds": ["a.wav"], "Parameters": {"P": {"Volume": [[0, 1e300]]}}}}})");
    EXPECT_NE(curve.find("within 1e30"), std::string::npos) << curve;
}

TEST(BankFile, SoundsOutsideTheContentAreRefused) {
    TempAssets assets;
    const std::string climb =
        ReadError(assets, R"({"Events": {"event:/A": {"Sounds": ["../../../etc/x.wav"]}}})");
    EXPECT_NE(climb.find("leads outside Assets/"), std::string::npos) << climb;
    EXPECT_NE(ReadError(assets, R"({"Events": {"event:/A": {"Sounds": ["/tmp/x.wav"]}}})")
                  .find("leads outside"),
              std::string::npos);
    // A sibling folder of the banks is still content.
    EXPECT_EQ(ReadError(assets, R"({"Events": {"event:/A": {"Sounds": ["../Music/x.wav"]}}})"), "");
}
