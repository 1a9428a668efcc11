#include "particle/SystemParticleEmitterRectangle.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/JsonRead.h"
#include "particle/ParticleCurve.h"
#include "particle/SystemParticlePool.h"

namespace {

using json = nlohmann::json;
constexpr const char* kAxes[3] = {"x", "y", "z"};

/// Three arrays of numbers (x, y, z) under `key`; further elements are ignored.
void ReadAxes(const json& j, const char* key, std::array<std::vector<float>, 3>& axes) {
    auto it = j.find(key);
    if (it == j.end()) return;
    RequireArray(*it);
    std::array<std::vector<float>, 3> read;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        RequireArray(it->at(axis));
        read[axis] = it->at(axis).get<std::vector<float>>();
    }
    axes = std::move(read);
}

/// Whether an axis's boundaries and weights make a distribution: with fewer than two
/// boundaries the axis is the unit interval and anything goes; otherwise boundaries must rise
/// strictly and there must be one weight per piece, none negative and not all zero.
/// Returns what is wrong, or nothing.
std::string AxisProblem(const std::vector<float>& intervals, const std::vector<float>& weights) {
    if (intervals.size() < 2) return {};
    for (std::size_t i = 0; i < intervals.size(); ++i) {
        if (!std::isfinite(intervals[i])) return "\"Intervals\" must be finite numbers";
        if (i > 0 && !(intervals[i] > intervals[i - 1])) {
            return "\"Intervals\" must rise strictly";
        }
    }
    const std::size_t pieces = intervals.size() - 1;
    if (weights.size() < pieces) {
        return "\"Weights\" has " + std::to_string(weights.size()) + " weights for " +
               std::to_string(pieces) + " intervals";
    }
    float total = 0.0f;
    for (std::size_t i = 0; i < pieces; ++i) {
        if (!(weights[i] >= 0.0f) || !std::isfinite(weights[i])) {
            return "\"Weights\" must not be negative";
        }
        total += weights[i];
    }
    if (!(total > 0.0f)) return "\"Weights\" must not all be 0";
    return {};
}

/// The axis's distribution; an axis that fails AxisProblem (possible only for settings built
/// in code) draws from the unit interval instead of breaking the distribution.
std::piecewise_constant_distribution<float> AxisDistribution(const std::vector<float>& intervals,
                                                             const std::vector<float>& weights) {
    if (intervals.size() < 2 || !AxisProblem(intervals, weights).empty()) return {};
    return std::piecewise_constant_distribution<float>(intervals.begin(), intervals.end(),
                                                       weights.begin());
}

}  // namespace

void from_json(const json& j, RectangleSettings& settings) {
    json_read::RequireObject(j);
    if (!j.is_object()) return;
    if (j.contains("Spawn Area")) {
        glm::vec3 area{0.0f};
        json_read::Vec<3>(j, "Spawn Area", area);
        settings.HalfArea = area * 0.5f;
    }
    ReadAxes(j, "Weights", settings.Weights);
    ReadAxes(j, "Intervals", settings.Intervals);
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const std::string problem = AxisProblem(settings.Intervals[axis], settings.Weights[axis]);
        if (!problem.empty()) {
            throw json::other_error::create(501, problem + " (axis " + kAxes[axis] + ")", &j);
        }
    }
}

void from_json(const json& j, ComponentParticleEmitterRectangle& rectangle) {
    if (!j.is_object()) return;
    for (const auto& [name, value] : j.items()) from_json(value, rectangle.effects[name]);
}

bool SystemParticleEmitterRectangle::HandleMessage(const Message& message) {
    if (message.TypeId() == MessageId::PopulateParticlePool) {
        Scatter(static_cast<const MessagePopulateParticlePool&>(message));
        return false;
    }
    return System::HandleMessage(message);
}

void SystemParticleEmitterRectangle::Scatter(const MessagePopulateParticlePool& populate) {
    auto rectangle = components.find(populate.entity);
    if (rectangle == components.end()) return;
    auto found = rectangle->second.effects.find(populate.name);
    if (found == rectangle->second.effects.end()) return;
    const RectangleSettings& settings = found->second;

    std::piecewise_constant_distribution<float> axes[3];
    for (std::size_t axis = 0; axis < 3; ++axis) {
        axes[axis] = AxisDistribution(settings.Intervals[axis], settings.Weights[axis]);
    }
    const std::function<void(EntityId, ComponentParticlePool&)> scatter =
        [&](EntityId, ComponentParticlePool& pool) {
            const std::size_t size = pool.Transforms.size();
            const std::size_t first = size - std::min<std::uint64_t>(populate.count, size);
            for (std::size_t k = first; k < size; ++k) {
                const float x = axes[0](generator);
                const float y = axes[1](generator);
                const float z = axes[2](generator);
                pool.Transforms[k].translation += glm::vec3(x, y, z) * settings.HalfArea;
            }
        };
    SendMessage(MessageQueryParticlePool(populate.name, scatter));
}
