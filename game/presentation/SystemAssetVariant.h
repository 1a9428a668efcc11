#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// On its entity's birth, one in `Chance` entities takes a texture picked at random from the
/// `.png` files of a folder under Assets/Textures/.
struct ComponentAssetVariant {
    static constexpr std::string_view kName = "Variant";

    /// Relative to Assets/Textures/, without climbing out of it.
    std::string VariantFolder;
    /// 1: always; 0 or less: never.
    int Chance = 1;
};

/// A "Variant Folder" that is empty, absolute or contains ".." is a JSON error, which the
/// entity builder reports with the entity file's name.
void from_json(const nlohmann::json& j, ComponentAssetVariant& variant);

/// Gives newly born entities a texture variant. One generator per system, seeded once: it is
/// copied with the state (a checkpoint restore draws the same scenery again) and continues
/// from birth to birth.
class SystemAssetVariant : public System<ComponentAssetVariant, SystemAssetVariant> {
public:
    /// Seeded from the clock, so every run of the game looks a little different, or from the
    /// recording's seed while one is recorded or replayed.
    SystemAssetVariant();
    /// A fixed seed repeats every draw, for replays and tests.
    explicit SystemAssetVariant(std::uint32_t seed);

    bool HandleMessage(const Message& message) override;

    std::uint32_t Seed() const { return seed; }

    /// The texture names of a variant folder: folder + "/" + file stem for every regular
    /// `.png` file directly in Assets/Textures/<folder>, sorted. A folder that is missing,
    /// unreadable or not a safe relative name gives none.
    static std::vector<std::string> ListVariants(std::string_view folder);
    /// Whether `folder` names a folder inside Assets/Textures/.
    static bool IsSafeFolder(std::string_view folder);

    static constexpr std::string_view kTextureRoot = "./Assets/Textures/";

private:
    void SetVariant(EntityId entity);

    std::uint32_t seed;
    std::mt19937 generator;
};
