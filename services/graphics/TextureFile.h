#pragma once

#include <string>

#include "engine/FileStamp.h"
#include "services/graphics/SpriteBatcher.h"

namespace graphics {

/// Path of a texture, relative to the working directory.
std::string TextureFilePath(const std::string& name);

/// Reads ./Assets/Textures/<name>.png as RGBA8, rows from the top. False when the file is
/// missing or not a picture stb_image can read.
bool LoadTextureFile(const std::string& name, Image& image);

/// The stamp of the file LoadTextureFile reads for `name`; a name it refuses has no file.
FileStamp TextureFileStamp(const std::string& name);

}  // namespace graphics
