#pragma once

#include <vector>

#include "services/graphics/SpriteBatcher.h"

namespace graphics {

/// Draws sprite instances with OpenGL 3.3 core: one streamed instance buffer per frame and
/// one instanced draw per run. Needs a current context for its whole life.
class GLBackend final : public RenderBackend {
public:
    GLBackend();
    ~GLBackend() override;
    GLBackend(const GLBackend&) = delete;
    GLBackend& operator=(const GLBackend&) = delete;

    TextureHandle CreateTexture(const Image& image) override;
    void ReplaceTexture(TextureHandle texture, const Image& image) override;
    void Upload(std::span<const SpriteInstance> instances) override;
    void SetCamera(const glm::mat4& viewProjection) override;
    void Draw(TextureHandle texture, Blend blend, std::size_t first, std::size_t count) override;

private:
    unsigned program = 0;
    unsigned vertexArray = 0;
    unsigned instanceBuffer = 0;
    std::size_t bufferCapacity = 0;
    int viewProjectionLocation = -1;
    unsigned boundTexture = 0;
    int boundBlend = -1;
    std::vector<unsigned> ownedTextures;
};

}  // namespace graphics
