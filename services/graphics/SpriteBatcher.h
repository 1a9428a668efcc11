#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <glm/mat4x4.hpp>
#include <glm/vec4.hpp>

#include "engine/ComponentSprite.h"
#include "engine/FileStamp.h"
#include "engine/SystemTransform.h"
#include "services/graphics/CameraMath.h"

namespace graphics {

enum class Blend : std::uint8_t { Alpha, Additive };

/// One quad as the GPU receives it: 14 floats, one instance each.
struct SpriteInstance {
    glm::vec4 positionRotation;  // x, y, z, rotation (radians)
    glm::vec2 size;
    glm::vec4 uv;  // u0, v0 (top-left), u1, v1 (bottom-right); v grows downwards
    glm::vec4 color;
};
static_assert(sizeof(SpriteInstance) == 14 * sizeof(float));

using TextureHandle = std::uint32_t;

/// An RGBA8 picture, rows from the top.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

/// What the batcher needs from a graphics API. The OpenGL backend draws; tests record.
class RenderBackend {
public:
    virtual ~RenderBackend() = default;
    virtual TextureHandle CreateTexture(const Image& image) = 0;
    /// Gives an existing texture a new picture; whatever holds the handle draws the new one.
    virtual void ReplaceTexture(TextureHandle texture, const Image& image) = 0;
    /// Called once per frame with every instance in drawing order, before any draw.
    virtual void Upload(std::span<const SpriteInstance> instances) = 0;
    virtual void SetCamera(const glm::mat4& viewProjection) = 0;
    /// Draws `count` uploaded instances starting at `first`, in one call.
    virtual void Draw(TextureHandle texture, Blend blend, std::size_t first, std::size_t count) = 0;
};

/// Collects a frame's sprites, orders them by camera and depth (stable for equal keys) and
/// hands the backend one draw per run of equal camera, texture and blend.
///
/// Sheet cells: `dimensions` = (columns, rows) and `index` = (column, row) counted from the
/// top-left cell; indices outside the sheet wrap around. A texture name is loaded once through
/// `loadImage`; an empty name is a plain white quad for tinting, and a picture that cannot be
/// loaded draws a magenta checker board and is reported once to `warnings`.
///
/// With a `stampOf`, each texture's file stamp is recorded as it loads, and ReloadChanged
/// re-reads those whose file changed since.
class SpriteBatcher {
public:
    using ImageLoader = std::function<bool(const std::string& name, Image& image)>;
    using WarningSink = std::function<void(const std::string& text)>;
    using StampReader = std::function<FileStamp(const std::string& name)>;

    SpriteBatcher(RenderBackend& backend, ImageLoader loadImage, WarningSink warn,
                  StampReader stampOf = {});

    /// Re-reads every loaded texture whose file changed and gives its handle the new picture.
    /// A file that no longer reads keeps the old picture and is reported, once per call.
    /// Returns the number of textures replaced.
    int ReloadChanged();

    void Submit(const ComponentSprite& sprite, const ComponentTransform& transform);
    /// Element i uses colours[i] and frames[i] when present, the sprite's own otherwise.
    void SubmitBatch(const ComponentSprite& sprite,
                     const std::vector<ComponentTransform>& transforms,
                     const std::vector<glm::vec4>& colors, const std::vector<glm::ivec2>& frames);
    void AddCamera(const CameraView& camera);

    /// Draws everything submitted since the last flush and forgets it, cameras included.
    /// Returns the number of draw calls.
    std::size_t Flush(float aspect);

    std::size_t PendingCount() const { return instances.size(); }
    /// The cameras of the last flush (the default one when none was announced).
    const std::vector<CameraView>& LastCameras() const { return lastCameras; }

    /// Texture coordinates of a sheet cell.
    static glm::vec4 CellUv(const glm::vec2& dimensions, const glm::ivec2& index);
    static Blend BlendFromName(std::string_view name, bool* known = nullptr);

private:
    struct Key {
        TextureHandle texture;
        Blend blend;
        std::uint16_t camera;
    };

    TextureHandle Texture(const std::string& name);
    std::uint16_t CameraSlot(const std::string& name);
    Blend SpriteBlend(const ComponentSprite& sprite);
    void Push(const ComponentSprite& sprite, TextureHandle texture, Blend blend,
              std::uint16_t camera, const ComponentTransform& transform, const glm::vec4& color,
              const glm::ivec2& index);
    void WarnOnce(const std::string& key, const std::string& text);

    RenderBackend& backend;
    ImageLoader loadImage;
    WarningSink warn;
    StampReader stampOf;

    std::unordered_map<std::string, TextureHandle> textures;
    /// The file as it was when the picture behind `textures[name]` was read.
    std::unordered_map<std::string, FileStamp> stamps;
    std::string lastTextureName;
    TextureHandle lastTexture = 0;
    bool haveLastTexture = false;

    /// Camera names the frame's sprites asked for; slot 0 is the main camera ("").
    std::vector<std::string> cameraNames{std::string()};
    std::vector<CameraView> cameras;
    std::vector<CameraView> lastCameras;

    std::vector<SpriteInstance> instances;
    std::vector<Key> keys;
    std::vector<float> depths;
    std::vector<std::uint64_t> order;
    std::vector<SpriteInstance> sorted;
    std::unordered_map<std::string, bool> warned;
};

}  // namespace graphics
