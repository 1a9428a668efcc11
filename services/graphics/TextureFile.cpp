#include "services/graphics/TextureFile.h"

#include <cstring>

#include <stb_image.h>

#include "engine/ContentPath.h"

namespace graphics {

std::string TextureFilePath(const std::string& name) {
    return "Assets/Textures/" + name + ".png";
}

bool LoadTextureFile(const std::string& name, Image& image) {
    // Content names textures; nothing outside the content folder is read.
    if (!InsideAssets("Textures", name)) return false;
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* data = stbi_load(TextureFilePath(name).c_str(), &width, &height, &channels, 4);
    if (!data) return false;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * height * 4);
    std::memcpy(image.pixels.data(), data, image.pixels.size());
    stbi_image_free(data);
    return true;
}

FileStamp TextureFileStamp(const std::string& name) {
    if (!InsideAssets("Textures", name)) return FileStamp{};
    return StampFile(TextureFilePath(name));
}

}  // namespace graphics
