// Replay files: a file the reader accepts must be written back by the recorder's writer and
// read back to the same recording; anything else must be a DataError naming the file.
#include "game/replay/ReplayFile.h"
#include "tools/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnterContentCopy();
    fuzz::Write("Fuzz.json", data, size);
    Replay replay;
    try {
        replay = ReadReplayFile("Fuzz.json");
    } catch (const DataError& e) {
        if (std::string(e.what()).rfind("Fuzz.json: ", 0) != 0) {
            fuzz::Finding(std::string("an error that does not name the file: ") + e.what());
        }
        return 0;
    } catch (const std::exception& e) {
        fuzz::Finding(std::string("an exception that is no data error: ") + e.what());
    }
    try {
        WriteReplayFile("Again.json", replay);
        if (!(ReadReplayFile("Again.json") == replay)) {
            fuzz::Finding("the written replay reads back differently");
        }
    } catch (const std::exception& e) {
        fuzz::Finding(std::string("the written replay does not read back: ") + e.what());
    }
    return 0;
}
