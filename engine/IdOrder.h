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

/// Calls `visit(id, component)` for each entry the table held when the walk began, lowest id
/// first. An entry removed by an earlier visit's messages is skipped; one added is not visited.
/// The reference stays valid while the entry exists (the table may rehash, but its elements do
/// not move); copy what you need before sending a message that may remove it.
template <class Table, class Visit>
void ForEachInIdOrder(Table& table, Visit&& visit) {
    for (EntityId id : SortedIds(table)) {
        auto it = table.find(id);
        if (it != table.end()) visit(id, it->second);
    }
}
