#include "tools/paint/Paint.h"

#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

#include <stb_image_write.h>

namespace paint {

bool Write(const std::string& path, int width, int height, const Painter& paint) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgba c = paint(x, y);
            std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
            p[3] = c.a;
        }
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    if (error || !stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

Painter Outlined(Painter paint, int width, int height, int cell, Rgba ink) {
    return [paint = std::move(paint), width, height, cell, ink](int x, int y) {
        const Rgba c = paint(x, y);
        if (c.a != 0) return c;
        auto opaque = [&](int nx, int ny) {
            return nx >= 0 && ny >= 0 && nx < width && ny < height && nx / cell == x / cell &&
                   paint(nx, ny).a > 0;
        };
        return opaque(x - 1, y) || opaque(x + 1, y) || opaque(x, y - 1) || opaque(x, y + 1) ? ink
                                                                                            : c;
    };
}

}  // namespace paint
