#include "audio/AudioBus.h"

#include <cmath>

namespace audio {

std::string ParentBusPath(const std::string& path) {
    auto slash = path.find_last_of('/');
    // The slash of "bus:/" itself, or none at all: the master bus is the top.
    if (slash == std::string::npos || slash <= 4) return "bus:/";
    return path.substr(0, slash);
}

Result Bus::SetVolume(float value) {
    if (!std::isfinite(value) || value < 0.0f) return Result::ErrInvalidParam;
    volume = value;
    return Result::Ok;
}

Result Bus::GetVolume(float* value) const {
    if (!value) return Result::ErrInvalidParam;
    *value = volume;
    return Result::Ok;
}

Result Bus::SetPaused(bool value) {
    paused = value;
    return Result::Ok;
}

Result Bus::GetPaused(bool* value) const {
    if (!value) return Result::ErrInvalidParam;
    *value = paused;
    return Result::Ok;
}

float Bus::EffectiveVolume() const {
    float gain = 1.0f;
    for (const Bus* bus = this; bus; bus = bus->parent) gain *= bus->volume;
    return gain;
}

bool Bus::EffectivePaused() const {
    for (const Bus* bus = this; bus; bus = bus->parent) {
        if (bus->paused) return true;
    }
    return false;
}

BusTree::BusTree() {
    buses.emplace("bus:/", std::make_unique<Bus>("bus:/", nullptr));
}

Bus* BusTree::Find(std::string_view path) const {
    auto it = buses.find(path);
    return it == buses.end() ? nullptr : it->second.get();
}

Bus& BusTree::Make(const std::string& path) {
    if (Bus* bus = Find(path)) return *bus;
    Bus& parent = Make(ParentBusPath(path));
    return *buses.emplace(path, std::make_unique<Bus>(path, &parent)).first->second;
}

}  // namespace audio
