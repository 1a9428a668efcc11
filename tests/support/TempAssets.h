#pragma once

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

/// A fresh temporary working directory with an Assets/ tree that the test writes. The engine
/// reads ./Assets relative to the working directory, so this changes into the folder for its
/// lifetime and changes back on destruction.
class TempAssets {
public:
    /// Writes an empty Index.json so that a ManagerState can be built.
    TempAssets();
    ~TempAssets();
    TempAssets(const TempAssets&) = delete;
    TempAssets& operator=(const TempAssets&) = delete;

    /// Writes `text` to `relative` (for example "Assets/Data/Scene/Level.json").
    void Write(const std::string& relative, const std::string& text) const;
    void WriteJson(const std::string& relative, const nlohmann::json& value) const;
    /// Shorthands for the three data folders.
    void Index(const nlohmann::json& value) const;
    void Scene(const std::string& name, const nlohmann::json& value) const;
    void Entity(const std::string& name, const nlohmann::json& value) const;

    /// Copies a folder of the shipped game (for example "Assets/Data") over the same place
    /// here, so a test runs on the real content; a folder missing from the source tree throws.
    void CopyShipped(const std::string& relative) const;

    const std::filesystem::path& Root() const { return root; }

private:
    std::filesystem::path root;
    std::filesystem::path previous;
};
