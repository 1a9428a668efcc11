// Sound banks: the reader must answer everything with its own format error.
#include "tools/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnterContentCopy();
    fuzz::Write("Assets/Banks/Fuzz.bank", data, size);
    try {
        audio::ReadBankFile("Assets/Banks/Fuzz.bank");
    } catch (const audio::BankFormatError&) {
    }
    return 0;
}
