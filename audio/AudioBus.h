#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "audio/AudioResult.h"

namespace audio {

/// The bus a path lies under: "bus:/SFX/Player" under "bus:/SFX", which lies under "bus:/".
std::string ParentBusPath(const std::string& path);

/// A node of the bus hierarchy. Its volume and pause reach every bus below it.
class Bus {
public:
    Bus(std::string path, const Bus* parent) : path(std::move(path)), parent(parent) {}
    Bus(const Bus&) = delete;
    Bus& operator=(const Bus&) = delete;

    const std::string& Path() const { return path; }
    Result SetVolume(float volume);
    Result GetVolume(float* volume) const;
    Result SetPaused(bool paused);
    Result GetPaused(bool* paused) const;

    /// Volume of this bus times that of every bus above it.
    float EffectiveVolume() const;
    /// Paused if this bus or any bus above it is.
    bool EffectivePaused() const;

private:
    std::string path;
    const Bus* parent;
    float volume = 1.0f;
    bool paused = false;
};

/// Every bus by path. The master bus "bus:/" always exists; a bus is made together with any
/// bus above it that is missing, each with volume 1. Buses live as long as the tree, so
/// handles stay valid.
class BusTree {
public:
    BusTree();

    Bus& Master() { return *Find("bus:/"); }
    Bus* Find(std::string_view path) const;
    /// The bus at `path`, made (with whatever lies above it) if it does not exist yet.
    Bus& Make(const std::string& path);

private:
    std::map<std::string, std::unique_ptr<Bus>, std::less<>> buses;
};

}  // namespace audio
