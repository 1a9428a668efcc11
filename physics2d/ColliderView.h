#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include <glm/vec2.hpp>

#include "engine/MessageEntity.h"
#include "engine/SystemTransform.h"

/// The colliders of one pass with their transforms, read from the live tables. Only handlers
/// of the messages the pass sends can change those tables (add, replace or erase entries), so
/// an entry is looked up once and again only after a send: the caller bumps `generation`
/// before every send. Ids are taken in table order when the pass starts, so colliders added
/// during the pass wait for the next one and erased ones drop out.
template <class C>
class ColliderView {
public:
    ColliderView(std::unordered_map<EntityId, C>& colliders,
                 std::unordered_map<EntityId, ComponentTransform>& transforms,
                 const std::uint64_t& generation)
        : colliders(colliders), transforms(transforms), generation(generation) {
        entries.reserve(colliders.size());
        for (const auto& entry : colliders) entries.push_back({entry.first});
    }

    std::size_t Size() const { return entries.size(); }
    EntityId Id(std::size_t i) const { return entries[i].id; }

    /// False when the collider or its transform is missing now; the entry then takes part in
    /// no test.
    bool Resolve(std::size_t i) {
        Entry& entry = entries[i];
        if (entry.stamp != generation) {
            entry.stamp = generation;
            auto collider = colliders.find(entry.id);
            auto transform = transforms.find(entry.id);
            entry.component = collider == colliders.end() ? nullptr : &collider->second;
            entry.transform = transform == transforms.end() ? nullptr : &transform->second;
        }
        return entry.component && entry.transform;
    }

    /// Valid after Resolve(i) returned true.
    C& Component(std::size_t i) const { return *entries[i].component; }

    /// The world x, y of a resolved entry: its translation plus its parents' translations.
    glm::vec2 Position(std::size_t i) const {
        const ComponentTransform* transform = entries[i].transform;
        glm::vec2 position{transform->translation.x, transform->translation.y};
        EntityId parent = transform->parent;
        // A chain longer than the table has a cycle; a missing parent ends the chain.
        for (std::size_t steps = 0; parent != 0 && steps < transforms.size(); ++steps) {
            auto link = transforms.find(parent);
            if (link == transforms.end()) break;
            position += glm::vec2{link->second.translation.x, link->second.translation.y};
            parent = link->second.parent;
        }
        return position;
    }

private:
    struct Entry {
        EntityId id;
        std::uint64_t stamp = ~std::uint64_t{0};
        C* component = nullptr;
        ComponentTransform* transform = nullptr;
    };

    std::unordered_map<EntityId, C>& colliders;
    std::unordered_map<EntityId, ComponentTransform>& transforms;
    const std::uint64_t& generation;
    std::vector<Entry> entries;
};

/// Runs one pass over the pairs of two views: every pair (i of `a`, j of `b`) whose entries
/// both resolve and that `overlaps(i, j)` gets `contact(a.Id(i), b.Id(j))`, with `generation`
/// bumped first, since a contact sends messages. With `a` and `b` the same view (`samePass`),
/// each unordered pair is tried once.
template <class A, class B, class Overlaps, class Contact>
void ForEachContact(ColliderView<A>& a, ColliderView<B>& b, bool samePass,
                    std::uint64_t& generation, Overlaps&& overlaps, Contact&& contact) {
    for (std::size_t i = 0; i < a.Size(); ++i) {
        for (std::size_t j = samePass ? i + 1 : 0; j < b.Size(); ++j) {
            if (!a.Resolve(i)) break;
            if (!b.Resolve(j)) continue;
            if (!overlaps(i, j)) continue;
            const EntityId first = a.Id(i);
            const EntityId second = b.Id(j);
            ++generation;
            contact(first, second);
        }
    }
}
