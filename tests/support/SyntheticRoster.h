#pragma once

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/JsonRead.h"
#include "engine/System.h"
#include "engine/SystemTransform.h"

/// A roster the size of the game's, made of distinct filler systems with SystemTransform at a
/// chosen place, to measure and check delivery without the game's own behaviour.
template <int N>
struct ComponentFiller {
    static constexpr char kNameText[] = {
        'F', 'i', 'l', 'l', 'e', 'r', ' ', char('A' + N / 26), char('a' + N % 26), '\0'};
    static constexpr std::string_view kName{kNameText};
    float value = 0.0f;
};

template <int N>
void from_json(const nlohmann::json& j, ComponentFiller<N>& filler) {
    json_read::Key(j, "Value", filler.value);
}

template <int N>
class SystemFiller : public System<ComponentFiller<N>, SystemFiller<N>> {};

namespace synthetic_detail {
template <int... I>
void AppendFillers(std::vector<std::unique_ptr<SystemBase>>& out, int count,
                   std::integer_sequence<int, I...>) {
    ((static_cast<int>(out.size()) < count ? out.push_back(std::make_unique<SystemFiller<I>>())
                                           : void()),
     ...);
}
}  // namespace synthetic_detail

/// `count` systems (at most 64), SystemTransform at zero-based index `transformIndex`.
inline std::vector<std::unique_ptr<SystemBase>> MakeSyntheticRoster(int count, int transformIndex) {
    std::vector<std::unique_ptr<SystemBase>> fillers;
    synthetic_detail::AppendFillers(fillers, count - 1, std::make_integer_sequence<int, 64>());
    std::vector<std::unique_ptr<SystemBase>> roster;
    for (int i = 0; i < count; ++i) {
        if (i == transformIndex) {
            roster.push_back(std::make_unique<SystemTransform>());
        } else {
            roster.push_back(std::move(fillers.back()));
            fillers.pop_back();
        }
    }
    return roster;
}
