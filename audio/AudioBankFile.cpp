#include "audio/AudioBankFile.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/ContentPath.h"
#include "engine/DataFile.h"

namespace audio {

using json = nlohmann::json;

float Curve::At(float x) const {
    if (points.empty()) return 1.0f;
    if (x <= points.front().x) return points.front().y;
    if (x >= points.back().x) return points.back().y;
    auto upper = std::upper_bound(points.begin(), points.end(), x,
                                  [](float value, const glm::vec2& p) { return value < p.x; });
    const glm::vec2& b = *upper;
    const glm::vec2& a = *(upper - 1);
    float t = (b.x > a.x) ? (x - a.x) / (b.x - a.x) : 1.0f;
    return a.y + t * (b.y - a.y);
}

namespace {

// Reads one bank with the key path at hand, so that every complaint names where it is.
class Reader {
public:
    explicit Reader(std::string file) : file(std::move(file)) {}

    [[noreturn]] void Fail(const std::string& what) const {
        std::string where;
        for (const auto& key : path) where += "\"" + key + "\"/";
        if (!where.empty()) where.back() = ':';
        throw BankFormatError(file + ": " + (where.empty() ? "" : where + " ") + what);
    }

    const json& Object(const json& j) const {
        if (!j.is_object()) Fail(std::string("type must be object, but is ") + j.type_name());
        return j;
    }

    void OnlyKeys(const json& j, std::initializer_list<std::string_view> allowed) {
        for (auto it = j.begin(); it != j.end(); ++it) {
            if (std::find(allowed.begin(), allowed.end(), it.key()) == allowed.end()) {
                path.push_back(it.key());
                Fail("unknown key");
            }
        }
    }

    float Number(const json& j, const char* key, float fallback, float low, float high) {
        auto it = j.find(key);
        if (it == j.end()) return fallback;
        path.emplace_back(key);
        if (!it->is_number()) Fail(std::string("type must be number, but is ") + it->type_name());
        // Checked as a double: a value beyond float's range must not be narrowed first.
        const double value = it->get<double>();
        if (!std::isfinite(value) || value < low || value > high) {
            Fail("must lie in [" + Format(low) + ", " + Format(high) + "]");
        }
        path.pop_back();
        return static_cast<float>(value);
    }

    bool Flag(const json& j, const char* key, bool fallback) {
        auto it = j.find(key);
        if (it == j.end()) return fallback;
        path.emplace_back(key);
        if (!it->is_boolean()) Fail(std::string("type must be boolean, but is ") + it->type_name());
        path.pop_back();
        return it->get<bool>();
    }

    std::string Text(const json& j) const {
        if (!j.is_string()) Fail(std::string("type must be string, but is ") + j.type_name());
        return j.get<std::string>();
    }

    std::vector<std::string> Texts(const json& j, const char* key) {
        std::vector<std::string> out;
        auto it = j.find(key);
        if (it == j.end()) return out;
        path.emplace_back(key);
        if (!it->is_array()) Fail(std::string("type must be array, but is ") + it->type_name());
        for (const auto& item : *it) out.push_back(Text(item));
        path.pop_back();
        return out;
    }

    Curve ReadCurve(const json& j) {
        Curve curve;
        if (!j.is_array() || j.empty()) Fail("must be a non-empty array of [x, y] points");
        for (const auto& point : j) {
            if (!point.is_array() || point.size() != 2 || !point[0].is_number() ||
                !point[1].is_number()) {
                Fail("every point must be an array of two numbers");
            }
            const double x = point[0].get<double>();
            const double y = point[1].get<double>();
            constexpr double kLimit = 1e30;
            if (!std::isfinite(x) || !std::isfinite(y) || std::abs(x) > kLimit ||
                std::abs(y) > kLimit) {
                Fail("points must be finite and within 1e30");
            }
            glm::vec2 p(static_cast<float>(x), static_cast<float>(y));
            if (!curve.points.empty() && p.x <= curve.points.back().x) {
                Fail("points must be in increasing x");
            }
            curve.points.push_back(p);
        }
        return curve;
    }

    EventDefinition ReadEvent(const std::string& eventPath, const json& j,
                              const std::filesystem::path& folder) {
        EventDefinition event;
        event.path = eventPath;
        Object(j);
        OnlyKeys(j, {"Sounds", "Volume", "Volume Variation", "Pitch", "Pitch Variation", "Loop",
                     "Stream", "3D", "Min Distance", "Max Distance", "Bus", "Stops", "Parameters"});
        for (const auto& sound : Texts(j, "Sounds")) {
            if (!InsideAssets("Banks", sound)) {
                path.emplace_back("Sounds");
                Fail("\"" + sound + "\" leads outside Assets/");
            }
            event.sounds.push_back((folder / sound).lexically_normal().string());
        }
        event.volume = Number(j, "Volume", 1.0f, 0.0f, 16.0f);
        event.volumeVariation = Number(j, "Volume Variation", 0.0f, 0.0f, 1.0f);
        event.pitch = Number(j, "Pitch", 1.0f, 0.01f, 16.0f);
        event.pitchVariation = Number(j, "Pitch Variation", 0.0f, 0.0f, 0.99f);
        event.loop = Flag(j, "Loop", false);
        event.stream = Flag(j, "Stream", false);
        event.is3D = Flag(j, "3D", false);
        event.minDistance = Number(j, "Min Distance", 1.0f, 0.001f, 1e6f);
        event.maxDistance = Number(j, "Max Distance", 100.0f, 0.001f, 1e6f);
        if (event.maxDistance <= event.minDistance) {
            path.emplace_back("Max Distance");
            Fail("must be greater than \"Min Distance\"");
        }
        if (auto it = j.find("Bus"); it != j.end()) {
            path.emplace_back("Bus");
            event.bus = Text(*it);
            if (event.bus.rfind("bus:/", 0) != 0) Fail("must begin with \"bus:/\"");
            path.pop_back();
        }
        event.stops = Texts(j, "Stops");
        if (auto it = j.find("Parameters"); it != j.end()) {
            path.emplace_back("Parameters");
            Object(*it);
            for (auto p = it->begin(); p != it->end(); ++p) {
                path.push_back(p.key());
                Object(*p);
                OnlyKeys(*p, {"Volume", "Pitch"});
                ParameterBinding binding;
                binding.parameter = p.key();
                if (auto v = p->find("Volume"); v != p->end()) {
                    path.emplace_back("Volume");
                    binding.volume = ReadCurve(*v);
                    path.pop_back();
                }
                if (auto v = p->find("Pitch"); v != p->end()) {
                    path.emplace_back("Pitch");
                    binding.pitch = ReadCurve(*v);
                    for (const auto& point : binding.pitch->points) {
                        if (point.y <= 0.0f) Fail("pitch must stay above 0");
                    }
                    path.pop_back();
                }
                event.bindings.push_back(std::move(binding));
                path.pop_back();
            }
            path.pop_back();
        }
        return event;
    }

    BankFile Read(const json& root, const std::filesystem::path& folder) {
        BankFile bank;
        Object(root);
        OnlyKeys(root, {"Buses", "Parameters", "Events"});
        if (auto it = root.find("Buses"); it != root.end()) {
            path.emplace_back("Buses");
            Object(*it);
            for (auto b = it->begin(); b != it->end(); ++b) {
                path.push_back(b.key());
                if (b.key().rfind("bus:/", 0) != 0) Fail("bus paths begin with \"bus:/\"");
                Object(*b);
                OnlyKeys(*b, {"Volume"});
                bank.busVolumes[b.key()] = Number(*b, "Volume", 1.0f, 0.0f, 16.0f);
                path.pop_back();
            }
            path.pop_back();
        }
        if (auto it = root.find("Parameters"); it != root.end()) {
            path.emplace_back("Parameters");
            Object(*it);
            for (auto p = it->begin(); p != it->end(); ++p) {
                path.push_back(p.key());
                Object(*p);
                OnlyKeys(*p, {"Minimum", "Maximum", "Default", "Seek Speed"});
                ParameterDefinition def;
                def.minimum = Number(*p, "Minimum", 0.0f, -1e9f, 1e9f);
                def.maximum = Number(*p, "Maximum", 1.0f, -1e9f, 1e9f);
                if (def.maximum < def.minimum) Fail("\"Maximum\" is below \"Minimum\"");
                def.initial = Number(*p, "Default", def.minimum, def.minimum, def.maximum);
                def.seekSpeed = Number(*p, "Seek Speed", 0.0f, 0.0f, 1e9f);
                bank.parameters[p.key()] = def;
                path.pop_back();
            }
            path.pop_back();
        }
        if (auto it = root.find("Events"); it != root.end()) {
            path.emplace_back("Events");
            Object(*it);
            for (auto e = it->begin(); e != it->end(); ++e) {
                path.push_back(e.key());
                if (e.key().rfind("event:/", 0) != 0 || e.key().size() == 7) {
                    Fail("event paths begin with \"event:/\" and name something");
                }
                bank.events.push_back(ReadEvent(e.key(), *e, folder));
                // A silent event is only useful for what it stops.
                if (bank.events.back().sounds.empty() && bank.events.back().stops.empty()) {
                    path.emplace_back("Sounds");
                    Fail("an event needs at least one sound, or \"Stops\"");
                }
                path.pop_back();
            }
            path.pop_back();
        }
        return bank;
    }

private:
    static std::string Format(float value) {
        std::string text = std::to_string(value);
        text.erase(text.find_last_not_of('0') + 1);
        if (!text.empty() && text.back() == '.') text.pop_back();
        return text;
    }

    std::string file;
    std::vector<std::string> path;
};

}  // namespace

BankFile ReadBankFile(const std::string& file) {
    json root;
    try {
        root = ReadDataFile(file);
    } catch (const DataError& e) {
        // Every JSON error, a number too large for a double included, arrives as a DataError.
        throw BankFormatError(e.what());
    }
    return Reader(file).Read(root, std::filesystem::path(file).parent_path());
}

}  // namespace audio
