#pragma once

#include <algorithm>
#include <vector>

#include "engine/MessageEntity.h"

/// The ids of a component table in ascending order. Walking this snapshot instead of the table
/// keeps outcomes independent of the hash order and safe against handlers that add or remove
/// components while the walk sends messages.
template <class Table>
std::vector<EntityId> SortedIds(const Table& table) {
    std::vector<EntityId> ids;
    ids.reserve(table.size());
    for (const auto& entry : table) ids.push_back(entry.first);
    std::sort(ids.begin(), ids.end());
    return ids;
}
