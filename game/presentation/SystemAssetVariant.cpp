#include "game/presentation/SystemAssetVariant.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <system_error>

#include "engine/ComponentSprite.h"
#include "engine/JsonRead.h"
#include "engine/MessageEntity.h"
#include "engine/SimulationSeed.h"

namespace fs = std::filesystem;

namespace {

std::uint32_t ClockSeed() {
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(ticks) ^ static_cast<std::uint32_t>(ticks >> 32);
}

/// The folder without a trailing slash, or nothing for names that could leave the textures.
std::optional<std::string> NormalFolder(std::string_view folder) {
    if (folder.empty()) return std::nullopt;
    const fs::path path{std::string(folder)};
    if (path.has_root_path()) return std::nullopt;
    for (const auto& part : path) {
        if (part == "..") return std::nullopt;
    }
    std::string name = path.lexically_normal().generic_string();
    while (!name.empty() && name.back() == '/') name.pop_back();
    if (name.empty() || name == ".") return std::nullopt;
    return name;
}

}  // namespace

void from_json(const nlohmann::json& j, ComponentAssetVariant& variant) {
    json_read::Key(j, "Variant Folder", variant.VariantFolder);
    json_read::Key(j, "Chance", variant.Chance);
    if (j.is_object() && j.contains("Variant Folder") &&
        !SystemAssetVariant::IsSafeFolder(variant.VariantFolder)) {
        throw nlohmann::json::other_error::create(
            501,
            "\"Variant Folder\" \"" + variant.VariantFolder +
                "\" must name a folder inside Assets/Textures/ (not empty, not absolute, no "
                "\"..\")",
            &j);
    }
}

SystemAssetVariant::SystemAssetVariant()
    : SystemAssetVariant(simulation_seed::SeedFor("Variant", ClockSeed())) {}

SystemAssetVariant::SystemAssetVariant(std::uint32_t seed) : seed(seed), generator(seed) {}

bool SystemAssetVariant::IsSafeFolder(std::string_view folder) {
    return NormalFolder(folder).has_value();
}

std::vector<std::string> SystemAssetVariant::ListVariants(std::string_view folder) {
    std::vector<std::string> names;
    const auto name = NormalFolder(folder);
    if (!name) return names;
    std::error_code error;
    fs::directory_iterator it(fs::path(kTextureRoot) / *name, error);
    if (error) return names;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) return {};
        const fs::directory_entry& entry = *it;
        std::error_code kind;
        if (!entry.is_regular_file(kind) || entry.path().extension() != ".png") continue;
        names.push_back(*name + "/" + entry.path().stem().string());
    }
    // Listing order differs between file systems; the draw must not.
    std::sort(names.begin(), names.end());
    return names;
}

bool SystemAssetVariant::HandleMessage(const Message& message) {
    if (message.TypeId() == MessageId::EntityBirth) {
        SetVariant(static_cast<const MessageEntityBirth&>(message).entity);
        return false;
    }
    return System::HandleMessage(message);
}

void SystemAssetVariant::SetVariant(EntityId entity) {
    auto found = components.find(entity);
    if (found == components.end()) return;
    const ComponentAssetVariant variant = found->second;
    if (variant.Chance <= 0) return;
    if (std::uniform_int_distribution<int>(1, variant.Chance)(generator) != 1) return;

    const std::function<void(ComponentSprite&)> pick = [&](ComponentSprite& sprite) {
        const auto names = ListVariants(variant.VariantFolder);
        if (names.empty()) return;
        const auto last = static_cast<int>(names.size()) - 1;
        sprite.texture = names[std::uniform_int_distribution<int>(0, last)(generator)];
    };
    SendMessage(MessageQuery<ComponentSprite>(entity, pick));
}
