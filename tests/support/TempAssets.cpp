#include "tests/support/TempAssets.h"

#include <atomic>
#include <fstream>
#include <stdexcept>

#include <unistd.h>

namespace fs = std::filesystem;

TempAssets::TempAssets() {
    static std::atomic<int> counter{0};
    previous = fs::current_path();
    root = fs::temp_directory_path() /
           ("halvex-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(root);
    fs::create_directories(root / "Assets/Data/Scene");
    fs::create_directories(root / "Assets/Data/Entity");
    fs::create_directories(root / "Assets/Data/Tiled");
    fs::create_directories(root / "Assets/Textures");
    fs::create_directories(root / "Assets/Banks");
    fs::current_path(root);
    Index(nlohmann::json::object());
}

TempAssets::~TempAssets() {
    std::error_code ignored;
    fs::current_path(previous, ignored);
    fs::remove_all(root, ignored);
}

void TempAssets::Write(const std::string& relative, const std::string& text) const {
    const fs::path path = root / relative;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path.string());
    out << text;
}

void TempAssets::WriteJson(const std::string& relative, const nlohmann::json& value) const {
    Write(relative, value.dump(2));
}

void TempAssets::CopyShipped(const std::string& relative) const {
    const fs::path source = fs::path(HALVEX_SOURCE_DIR) / relative;
    if (!fs::is_directory(source)) throw std::runtime_error("no shipped folder " + source.string());
    fs::create_directories(root / relative);
    fs::copy(source, root / relative,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

void TempAssets::Index(const nlohmann::json& value) const {
    WriteJson("Assets/Data/Index.json", value);
}

void TempAssets::Scene(const std::string& name, const nlohmann::json& value) const {
    WriteJson("Assets/Data/Scene/" + name + ".json", value);
}

void TempAssets::Entity(const std::string& name, const nlohmann::json& value) const {
    WriteJson("Assets/Data/Entity/" + name + ".json", value);
}
