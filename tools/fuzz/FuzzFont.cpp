// Font files: read as the UI reads them, then every character measured and placed, which must
// stay inside the advances and the sheet.
#include "services/ui/Font.h"
#include "tools/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnterContentCopy();
    fuzz::Write("Assets/Textures/Fonts/Fuzz.json", data, size);
    fuzz::Expect([] {
        const auto font = LoadFont("Fuzz");
        std::string line;
        for (int c = 0; c < 256; ++c) {
            const auto code = static_cast<unsigned char>(c);
            line += static_cast<char>(code);
            (void)font->Advance(code);
            const auto cell = font->Cell(code);
            if (cell.x < 0 || cell.y < 0 || cell.x >= font->columns || cell.y >= font->rows) {
                fuzz::Finding("a glyph cell outside the sheet");
            }
        }
        (void)font->LineWidth(line);
    });
    return 0;
}
