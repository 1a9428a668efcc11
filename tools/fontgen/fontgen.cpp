// fontgen: bakes the printable ASCII glyphs of a TrueType font into a grid sheet (PNG, white
// glyphs on transparent) and a metrics file (JSON) that VornUI draws text labels from.
//
//   fontgen <font.ttf> <output folder> <name> [pixel height]
//
// Writes <folder>/<name>.png and <folder>/<name>.json. Cells are laid out in reading order from
// the top-left, starting at the space character; every glyph's origin sits "Padding" pixels from
// its cell's left edge, on a common baseline.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include <stb_image_write.h>
#include <stb_truetype.h>

namespace {

constexpr int kFirst = 32;
constexpr int kCount = 95;  // ' ' to '~'
constexpr int kColumns = 16;
constexpr int kRows = (kCount + kColumns - 1) / kColumns;
constexpr int kPadding = 2;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: fontgen <font.ttf> <output folder> <name> [pixel height]\n";
        return 2;
    }
    const std::string fontPath = argv[1];
    const std::string folder = argv[2];
    const std::string name = argv[3];
    const float pixelHeight = argc > 4 ? std::stof(argv[4]) : 48.0f;

    std::ifstream in(fontPath, std::ios::binary);
    if (!in) {
        std::cerr << fontPath << ": cannot be read\n";
        return 1;
    }
    const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    stbtt_fontinfo font;
    if (!stbtt_InitFont(&font, data.data(), stbtt_GetFontOffsetForIndex(data.data(), 0))) {
        std::cerr << fontPath << ": not a TrueType font\n";
        return 1;
    }
    const float scale = stbtt_ScaleForPixelHeight(&font, pixelHeight);
    int ascent = 0;
    int descent = 0;
    int lineGap = 0;
    stbtt_GetFontVMetrics(&font, &ascent, &descent, &lineGap);
    const int baseline = kPadding + static_cast<int>(std::ceil(ascent * scale));
    const int cellHeight = baseline + static_cast<int>(std::ceil(-descent * scale)) + kPadding;

    // The widest glyph, from its origin, fixes the cell width.
    int cellWidth = 0;
    std::vector<float> advances;
    for (int c = kFirst; c < kFirst + kCount; ++c) {
        int advance = 0;
        int bearing = 0;
        stbtt_GetCodepointHMetrics(&font, c, &advance, &bearing);
        advances.push_back(static_cast<float>(advance) * scale);
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        stbtt_GetCodepointBitmapBox(&font, c, scale, scale, &x0, &y0, &x1, &y1);
        cellWidth = std::max({cellWidth, kPadding + std::max(x1, 0) + kPadding,
                              kPadding + static_cast<int>(std::ceil(advances.back())) + kPadding});
    }

    const int width = cellWidth * kColumns;
    const int height = cellHeight * kRows;
    std::vector<unsigned char> coverage(static_cast<std::size_t>(width * height), 0);
    for (int i = 0; i < kCount; ++i) {
        const int c = kFirst + i;
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        stbtt_GetCodepointBitmapBox(&font, c, scale, scale, &x0, &y0, &x1, &y1);
        // Glyphs reaching left of their origin are shifted just enough to stay in their cell.
        const int left = std::max(kPadding + x0, 0);
        const int top = std::max(baseline + y0, 0);
        const int w = std::min(x1 - x0, cellWidth - left);
        const int h = std::min(y1 - y0, cellHeight - top);
        if (w <= 0 || h <= 0) continue;
        const int cellX = (i % kColumns) * cellWidth;
        const int cellY = (i / kColumns) * cellHeight;
        unsigned char* out = coverage.data() + (cellY + top) * width + cellX + left;
        stbtt_MakeCodepointBitmap(&font, out, w, h, width, scale, scale, c);
    }

    std::vector<unsigned char> rgba(static_cast<std::size_t>(width * height) * 4);
    for (std::size_t p = 0; p < coverage.size(); ++p) {
        rgba[p * 4 + 0] = 255;
        rgba[p * 4 + 1] = 255;
        rgba[p * 4 + 2] = 255;
        rgba[p * 4 + 3] = coverage[p];
    }
    const std::string pngPath = folder + "/" + name + ".png";
    if (!stbi_write_png(pngPath.c_str(), width, height, 4, rgba.data(), width * 4)) {
        std::cerr << pngPath << ": cannot be written\n";
        return 1;
    }

    const std::string jsonPath = folder + "/" + name + ".json";
    std::ofstream metrics(jsonPath);
    metrics << "{\n  \"Texture\": \"Fonts/" << name << "\",\n  \"Columns\": " << kColumns
            << ",\n  \"Rows\": " << kRows << ",\n  \"First\": " << kFirst
            << ",\n  \"Cell Width\": " << cellWidth << ",\n  \"Cell Height\": " << cellHeight
            << ",\n  \"Padding\": " << kPadding << ",\n  \"Baseline\": " << baseline
            << ",\n  \"Advances\": [";
    for (std::size_t i = 0; i < advances.size(); ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%.2f", advances[i]);
        metrics << (i % 12 == 0 ? "\n    " : " ") << number << (i + 1 < advances.size() ? "," : "");
    }
    metrics << "\n  ]\n}\n";
    if (!metrics) {
        std::cerr << jsonPath << ": cannot be written\n";
        return 1;
    }
    std::cout << "wrote " << pngPath << " (" << width << "x" << height << ") and " << jsonPath
              << "\n";
    return 0;
}
