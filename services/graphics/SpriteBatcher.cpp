#include "services/graphics/SpriteBatcher.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cmath>

namespace graphics {

namespace {

constexpr int kSequenceBits = 24;
constexpr std::uint64_t kSequenceMask = (std::uint64_t{1} << kSequenceBits) - 1;
constexpr std::size_t kMaxSprites = kSequenceMask + 1;

/// Maps a float to an unsigned integer that sorts in the same order.
std::uint32_t SortableDepth(float z) {
    // -0 and 0 are the same depth, and NaN has none: both keep submission order at 0.
    if (std::isnan(z) || z == 0.0f) z = 0.0f;
    const auto bits = std::bit_cast<std::uint32_t>(z);
    return (bits & 0x80000000u) ? ~bits : (bits | 0x80000000u);
}

int WrapIndex(int value, int count) {
    const int m = value % count;
    return m < 0 ? m + count : m;
}

Image SolidImage(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return Image{1, 1, {r, g, b, 255}};
}

Image CheckerImage() {
    Image image{8, 8, std::vector<std::uint8_t>(8 * 8 * 4)};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            std::uint8_t* p = &image.pixels[(y * 8 + x) * 4];
            const bool magenta = ((x / 4) + (y / 4)) % 2 == 0;
            p[0] = magenta ? 255 : 0;
            p[1] = 0;
            p[2] = magenta ? 255 : 0;
            p[3] = 255;
        }
    }
    return image;
}

}  // namespace

SpriteBatcher::SpriteBatcher(RenderBackend& backend, ImageLoader loadImage, WarningSink warn,
                             StampReader stampOf)
    : backend(backend),
      loadImage(std::move(loadImage)),
      warn(std::move(warn)),
      stampOf(std::move(stampOf)) {}

int SpriteBatcher::ReloadChanged() {
    if (!stampOf) return 0;
    int replaced = 0;
    for (const auto& [name, handle] : textures) {
        if (name.empty()) continue;
        const FileStamp now = stampOf(name);
        FileStamp& then = stamps[name];
        if (now == then) continue;
        Image image;
        if (loadImage && loadImage(name, image) && image.width > 0 && image.height > 0) {
            backend.ReplaceTexture(handle, image);
            then = now;
            ++replaced;
        } else if (warn) {
            // The stamp stays as it was, so the next reload tries the file again.
            warn("cannot reload texture Assets/Textures/" + name + ".png; keeping the old picture");
        }
    }
    return replaced;
}

glm::vec4 SpriteBatcher::CellUv(const glm::vec2& dimensions, const glm::ivec2& index) {
    const int columns = std::max(1, static_cast<int>(std::lround(dimensions.x)));
    const int rows = std::max(1, static_cast<int>(std::lround(dimensions.y)));
    const int column = WrapIndex(index.x, columns);
    const int row = WrapIndex(index.y, rows);
    const float du = 1.0f / static_cast<float>(columns);
    const float dv = 1.0f / static_cast<float>(rows);
    return {column * du, row * dv, (column + 1) * du, (row + 1) * dv};
}

Blend SpriteBatcher::BlendFromName(std::string_view name, bool* known) {
    if (known) *known = true;
    if (name.empty() || name == "Alpha") return Blend::Alpha;
    if (name == "Additive") return Blend::Additive;
    if (known) *known = false;
    return Blend::Alpha;
}

void SpriteBatcher::WarnOnce(const std::string& key, const std::string& text) {
    if (warned.emplace(key, true).second && warn) warn(text);
}

TextureHandle SpriteBatcher::Texture(const std::string& name) {
    // Sprites of one texture tend to arrive together; skip the hash for a repeat.
    if (haveLastTexture && name == lastTextureName) return lastTexture;
    auto it = textures.find(name);
    if (it == textures.end()) {
        Image image;
        TextureHandle handle;
        // Taken before reading, so that a file written meanwhile counts as changed.
        if (stampOf && !name.empty()) stamps[name] = stampOf(name);
        if (name.empty()) {
            handle = backend.CreateTexture(SolidImage(255, 255, 255));
        } else if (loadImage && loadImage(name, image) && image.width > 0 && image.height > 0) {
            handle = backend.CreateTexture(image);
        } else {
            WarnOnce("texture:" + name,
                     "missing texture Assets/Textures/" + name + ".png; drawing a placeholder");
            handle = backend.CreateTexture(CheckerImage());
        }
        it = textures.emplace(name, handle).first;
    }
    lastTextureName = name;
    lastTexture = it->second;
    haveLastTexture = true;
    return it->second;
}

std::uint16_t SpriteBatcher::CameraSlot(const std::string& name) {
    if (name.empty()) return 0;
    for (std::size_t i = 1; i < cameraNames.size(); ++i) {
        if (cameraNames[i] == name) return static_cast<std::uint16_t>(i);
    }
    cameraNames.push_back(name);
    return static_cast<std::uint16_t>(cameraNames.size() - 1);
}

Blend SpriteBatcher::SpriteBlend(const ComponentSprite& sprite) {
    bool known = true;
    const Blend blend = BlendFromName(sprite.blend, &known);
    if (!known) {
        WarnOnce("blend:" + sprite.blend,
                 "unknown blend \"" + sprite.blend + "\"; using alpha blending");
    }
    if (sprite.shader != "Default" && !sprite.shader.empty()) {
        WarnOnce("shader:" + sprite.shader,
                 "unknown shader \"" + sprite.shader + "\"; using \"Default\"");
    }
    return blend;
}

void SpriteBatcher::Push(const ComponentSprite& sprite, TextureHandle texture, Blend blend,
                         std::uint16_t camera, const ComponentTransform& transform,
                         const glm::vec4& color, const glm::ivec2& index) {
    // Fully transparent sprites change no pixel in either blend, but still cost a fill: the
    // screen fades wait at alpha 0 all level long, four screens' worth of blending a frame
    // on a software renderer.
    if (!(color.a > 0.0f)) return;
    if (instances.size() >= kMaxSprites) {
        WarnOnce("overflow", "more than 16777216 sprites in one frame; the rest are dropped");
        return;
    }
    SpriteInstance& instance = instances.emplace_back();
    instance.positionRotation = glm::vec4(transform.translation, transform.rotation.z);
    instance.size = glm::vec2(transform.scale.x, transform.scale.y);
    instance.uv = CellUv(sprite.dimensions, index);
    instance.color = color;
    keys.push_back(Key{texture, blend, camera});
    depths.push_back(transform.translation.z);
}

void SpriteBatcher::Submit(const ComponentSprite& sprite, const ComponentTransform& transform) {
    Push(sprite, Texture(sprite.texture), SpriteBlend(sprite), CameraSlot(sprite.camera), transform,
         sprite.color, sprite.index);
}

void SpriteBatcher::SubmitBatch(const ComponentSprite& sprite,
                                const std::vector<ComponentTransform>& transforms,
                                const std::vector<glm::vec4>& colors,
                                const std::vector<glm::ivec2>& frames) {
    if (transforms.empty()) return;
    const TextureHandle texture = Texture(sprite.texture);
    const Blend blend = SpriteBlend(sprite);
    const std::uint16_t camera = CameraSlot(sprite.camera);
    for (std::size_t i = 0; i < transforms.size(); ++i) {
        Push(sprite, texture, blend, camera, transforms[i],
             i < colors.size() ? colors[i] : sprite.color,
             i < frames.size() ? frames[i] : sprite.index);
    }
}

void SpriteBatcher::AddCamera(const CameraView& camera) {
    cameras.push_back(camera);
}

std::size_t SpriteBatcher::Flush(float aspect) {
    // Cameras in drawing order; the main one is the first flagged, else a default.
    std::stable_sort(cameras.begin(), cameras.end(),
                     [](const CameraView& a, const CameraView& b) { return a.order < b.order; });
    int mainIndex = -1;
    for (std::size_t i = 0; i < cameras.size(); ++i) {
        if (cameras[i].main) {
            mainIndex = static_cast<int>(i);
            break;
        }
    }
    if (mainIndex < 0) {
        cameras.insert(cameras.begin(), DefaultCamera());
        mainIndex = 0;
    }

    // Each name the sprites used becomes the rank of its camera in drawing order.
    std::vector<std::uint8_t> rankOfSlot(cameraNames.size(), static_cast<std::uint8_t>(mainIndex));
    for (std::size_t slot = 1; slot < cameraNames.size(); ++slot) {
        int found = -1;
        for (std::size_t i = 0; i < cameras.size() && i < 256; ++i) {
            if (cameras[i].name == cameraNames[slot]) {
                found = static_cast<int>(i);
                break;
            }
        }
        if (found < 0) {
            WarnOnce("camera:" + cameraNames[slot],
                     "no camera named \"" + cameraNames[slot] + "\"; drawing with the main camera");
        } else {
            rankOfSlot[slot] = static_cast<std::uint8_t>(found);
        }
    }

    order.resize(instances.size());
    for (std::size_t i = 0; i < instances.size(); ++i) {
        const std::uint64_t rank = rankOfSlot[keys[i].camera];
        order[i] = (rank << 56) | (std::uint64_t{SortableDepth(depths[i])} << kSequenceBits) | i;
    }
    // The sequence number in the low bits keeps equal keys in submission order.
    if (!std::is_sorted(order.begin(), order.end())) std::sort(order.begin(), order.end());

    sorted.resize(instances.size());
    for (std::size_t i = 0; i < order.size(); ++i) sorted[i] = instances[order[i] & kSequenceMask];
    backend.Upload(sorted);

    auto sameRun = [&](std::size_t a, std::size_t b) {
        const Key& ka = keys[order[a] & kSequenceMask];
        const Key& kb = keys[order[b] & kSequenceMask];
        return (order[a] >> 56) == (order[b] >> 56) && ka.texture == kb.texture &&
               ka.blend == kb.blend;
    };
    std::size_t draws = 0;
    int currentRank = -1;
    std::size_t runStart = 0;
    for (std::size_t i = 1; i <= order.size(); ++i) {
        if (i < order.size() && sameRun(runStart, i)) continue;
        const int rank = static_cast<int>(order[runStart] >> 56);
        if (rank != currentRank) {
            backend.SetCamera(ViewProjection(cameras[rank], aspect));
            currentRank = rank;
        }
        const Key& key = keys[order[runStart] & kSequenceMask];
        backend.Draw(key.texture, key.blend, runStart, i - runStart);
        ++draws;
        runStart = i;
    }

    lastCameras = cameras;
    cameras.clear();
    cameraNames.resize(1);
    instances.clear();
    keys.clear();
    depths.clear();
    return draws;
}

}  // namespace graphics
