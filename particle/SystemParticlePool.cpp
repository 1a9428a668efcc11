#include "particle/SystemParticlePool.h"

#include <limits>
#include <string>
#include <utility>

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include "engine/MessageFrame.h"
#include "engine/MessageSpriteRender.h"
#include "engine/MessageViews.h"

namespace {

template <class T>
void SwapRemove(std::vector<T>& values, std::size_t index) {
    if (index >= values.size()) return;
    if (index + 1 != values.size()) values[index] = std::move(values.back());
    values.pop_back();
}

}  // namespace

void ComponentParticlePool::RemoveSwapLast(std::size_t index) {
    SwapRemove(Ages, index);
    SwapRemove(Transforms, index);
    SwapRemove(Colors, index);
    SwapRemove(Frames, index);
}

void from_json(const nlohmann::json& j, ComponentParticlePool& pool) {
    // Only checked here; the system registers the name once the whole component has been read.
    j.at("Name").get<std::string>();
    if (j.contains("Sprite")) {
        const nlohmann::json& sprite = j.at("Sprite");
        json_read::RequireObject(sprite);
        from_json(sprite, pool.Sprite);
    }
}

bool SystemParticlePool::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            Age(static_cast<const MessageUpdate&>(message).dt);
            return false;
        case MessageId::Render:
            Render();
            return false;
        case MessageId::AddComponentJSON: {
            // Read first: a pool that fails to load must not claim its name.
            const bool consumed = System::HandleMessage(message);
            const auto& add = static_cast<const MessageAddComponentJSON&>(message);
            if (consumed && add.component == ComponentParticlePool::kName) {
                const auto name = add.json.at("Name").get<std::string>();
                auto [it, inserted] = names.try_emplace(name, add.entity);
                // A name whose pool is gone is free again.
                if (!inserted && !components.contains(it->second)) it->second = add.entity;
            }
            return consumed;
        }
        case MessageId::QueryParticlePool: {
            const auto& query = static_cast<const MessageQueryParticlePool&>(message);
            auto name = names.find(query.name);
            if (name == names.end()) return true;
            auto pool = components.find(name->second);
            if (pool != components.end()) query.callback(pool->first, pool->second);
            return true;
        }
        default:
            return System::HandleMessage(message);
    }
}

void SystemParticlePool::Age(float dt) {
    for (auto& [entity, pool] : components) {
        removed.clear();
        std::size_t j = 0;
        while (j < pool.Ages.size()) {
            glm::vec2& age = pool.Ages[j];
            age.x += dt;
            if (age.x > age.y) {
                // The former last particle now sits at j and is examined next.
                pool.RemoveSwapLast(j);
                removed.push_back(j);
            } else {
                ++j;
            }
        }
        if (removed.empty()) continue;
        MessageDeleteParticlePool deleted(entity, std::move(removed));
        SendMessage(deleted);
        removed = std::move(deleted.indices);
    }
}

namespace {

/// The box holding every particle of the pool.
WorldRect PoolBounds(const ComponentParticlePool& pool) {
    WorldRect box{glm::vec2(std::numeric_limits<float>::max()),
                  glm::vec2(-std::numeric_limits<float>::max())};
    for (const ComponentTransform& t : pool.Transforms) {
        // Half the diagonal bounds a particle at any angle.
        const float reach = 0.5f * glm::length(glm::vec2(t.scale));
        const glm::vec2 centre(t.translation);
        box.min = glm::min(box.min, centre - reach);
        box.max = glm::max(box.max, centre + reach);
    }
    return box;
}

}  // namespace

void SystemParticlePool::Render() {
    if (components.empty()) return;
    const MessageQueryViews views;
    SendMessage(views);
    for (const auto& [entity, pool] : components) {
        if (pool.Transforms.empty()) continue;
        // A pool is skipped whole: splitting it would copy its arrays every frame.
        if (views.answered && !views.unbounded) {
            const WorldRect box = PoolBounds(pool);
            if (!views.Sees(box.min, box.max)) continue;
        }
        SendMessage(
            MessageSpriteRenderBatch(pool.Sprite, pool.Transforms, pool.Colors, pool.Frames));
    }
}
