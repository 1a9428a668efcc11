#include "tools/levelart/Paint.h"

#include <cstdio>
#include <filesystem>
#include <vector>

#include <stb_image_write.h>

namespace levelart {

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
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    if (!stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4)) {
        std::fprintf(stderr, "levelart: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

}  // namespace levelart
