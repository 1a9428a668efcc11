// The settings file: any text gives settings within their ranges (with a warning at most),
// and what is written back reads back the same.
#include "game/settings/Settings.h"
#include "tools/fuzz/FuzzSupport.h"

namespace {

bool InRange(const Settings& s) {
    return s.musicVolume >= 0.0f && s.musicVolume <= 1.0f && s.effectsVolume >= 0.0f &&
           s.effectsVolume <= 1.0f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnterContentCopy();
    fuzz::Write("settings.json", data, size);
    const SettingsWarning quiet = [](const std::string&) {};
    fuzz::Expect([&] {
        const Settings read = ReadSettings("settings.json", quiet);
        if (!InRange(read)) fuzz::Finding("a volume outside 0 to 1");
        if (!WriteSettings("settings.json", read, quiet)) fuzz::Finding("settings not written");
        const Settings again = ReadSettings("settings.json", quiet);
        // Written to four decimals: the first write may round, later ones must not change.
        if (!WriteSettings("settings.json", again, quiet)) fuzz::Finding("settings not written");
        const Settings third = ReadSettings("settings.json", quiet);
        if (third.musicVolume != again.musicVolume || third.effectsVolume != again.effectsVolume ||
            third.fullscreen != again.fullscreen || again.fullscreen != read.fullscreen) {
            fuzz::Finding("written settings read back differently");
        }
    });
    return 0;
}
