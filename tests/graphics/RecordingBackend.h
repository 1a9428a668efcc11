#pragma once

#include <vector>

#include "services/graphics/SpriteBatcher.h"

/// Keeps what the batcher asks of a graphics API, in order, instead of drawing.
class RecordingBackend final : public graphics::RenderBackend {
public:
    struct DrawCall {
        graphics::TextureHandle texture;
        graphics::Blend blend;
        std::size_t first;
        std::size_t count;
        /// How many cameras had been set before this draw.
        int cameraChanges;
    };

    graphics::TextureHandle CreateTexture(const graphics::Image& image) override {
        images.push_back(image);
        return static_cast<graphics::TextureHandle>(images.size());
    }
    void ReplaceTexture(graphics::TextureHandle texture, const graphics::Image& image) override {
        images.at(texture - 1) = image;
        replaced.push_back(texture);
    }
    void Upload(std::span<const graphics::SpriteInstance> instances) override {
        uploaded.assign(instances.begin(), instances.end());
        ++uploads;
    }
    void SetCamera(const glm::mat4& viewProjection) override { cameras.push_back(viewProjection); }
    void Draw(graphics::TextureHandle texture, graphics::Blend blend, std::size_t first,
              std::size_t count) override {
        draws.push_back({texture, blend, first, count, static_cast<int>(cameras.size())});
    }

    /// Indexed by handle - 1.
    std::vector<graphics::Image> images;
    std::vector<graphics::TextureHandle> replaced;
    std::vector<graphics::SpriteInstance> uploaded;
    std::vector<glm::mat4> cameras;
    std::vector<DrawCall> draws;
    int uploads = 0;
};
