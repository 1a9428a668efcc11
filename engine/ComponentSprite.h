#pragma once

#include <string>
#include <string_view>

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>
#include <nlohmann/json.hpp>

#include "engine/JsonRead.h"

/// The sprite record of the rendering service. A sheet is `dimensions` = (columns, rows) cells;
/// `index` = (column, row) selects one, counted from the top-left cell.
struct ComponentSprite {
    static constexpr std::string_view kName = "Sprite";

    /// Path under ./Assets/Textures/ without the extension; empty: a plain white quad that
    /// "Color" tints. A missing file draws a magenta checker board.
    std::string texture;
    std::string shader = "Default";
    /// Empty: the main camera.
    std::string camera;
    /// Empty or "Alpha": alpha blending; "Additive": additive blending.
    std::string blend;
    /// Multiplies the texture's colour and alpha.
    glm::vec4 color{1.0f, 1.0f, 1.0f, 1.0f};
    glm::vec2 dimensions{1.0f, 1.0f};
    glm::ivec2 index{0, 0};
};

inline void from_json(const nlohmann::json& j, ComponentSprite& sprite) {
    json_read::Key(j, "Texture", sprite.texture);
    json_read::Key(j, "Shader", sprite.shader);
    json_read::Key(j, "Camera", sprite.camera);
    json_read::Key(j, "Blend", sprite.blend);
    json_read::Vec<4>(j, "Color", sprite.color);
    json_read::Vec<2>(j, "Dimensions", sprite.dimensions);
    json_read::IVec<2>(j, "Index", sprite.index);
}
