#include "game/replay/ReplayFile.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>

#include "engine/DataError.h"
#include "engine/DataFile.h"

using json = nlohmann::json;

namespace {

json Vec2(const glm::vec2& v) {
    return json::array({v.x, v.y});
}

json InputToJson(const ReplayInput& input) {
    json j = {{"frame", input.frame}};
    switch (input.kind) {
        case ReplayInput::Kind::Key:
            j["key"] = {input.key, input.action, input.mods, input.debug};
            break;
        case ReplayInput::Kind::Scroll:
            j["scroll"] = Vec2(input.value);
            break;
        case ReplayInput::Kind::Focus:
            j["focus"] = input.focused;
            break;
        case ReplayInput::Kind::Cursor: {
            json offsets = json::array();
            for (const auto& offset : input.offsets) {
                offsets.push_back({offset.camera, offset.offset.x, offset.offset.y});
            }
            j["cursor"] = {{"position", Vec2(input.value)}, {"offsets", offsets}};
            break;
        }
    }
    return j;
}

// Reads, or explains which key of which file is wrong.
class Reader {
public:
    explicit Reader(const std::string& file) : file(file) {}

    [[noreturn]] void Fail(const std::string& where, const std::string& what) const {
        throw DataError(file + ": " + where + ": " + what);
    }

    const json& Member(const json& j, const char* key, const std::string& where) const {
        auto it = j.find(key);
        if (it == j.end()) Fail(where, std::string("missing \"") + key + "\"");
        return *it;
    }

    template <class T>
    T Get(const json& j, const std::string& where) const {
        try {
            return j.get<T>();
        } catch (const json::exception& e) {
            Fail(where, e.what());
        }
    }

    float Number(const json& j, const std::string& where) const {
        if (!j.is_number()) Fail(where, "not a number");
        // Beyond a float the value would read as infinity and be written back as null.
        const double value = j.get<double>();
        if (!(std::abs(value) <= static_cast<double>(std::numeric_limits<float>::max()))) {
            Fail(where, j.dump() + " is beyond the range of a float");
        }
        return static_cast<float>(value);
    }

    /// A whole number from `low` to INT_MAX; anything else (a fraction, a number beyond int)
    /// fails instead of wrapping.
    int Integer(const json& j, const std::string& where, int low = 0) const {
        bool fits = false;
        if (j.is_number_unsigned()) {
            fits = j.get<std::uint64_t>() <= static_cast<std::uint64_t>(kMaxInt);
        } else if (j.is_number_integer()) {
            const auto value = j.get<std::int64_t>();
            fits = value >= low && value <= kMaxInt;
        } else {
            Fail(where, "not an integer");
        }
        if (!fits) {
            Fail(where, j.dump() + " is out of range (" + std::to_string(low) + " to " +
                            std::to_string(kMaxInt) + ")");
        }
        return static_cast<int>(j.get<std::int64_t>());
    }

    glm::vec2 Vec2(const json& j, const std::string& where) const {
        if (!j.is_array() || j.size() != 2) Fail(where, "not an array of two numbers");
        return {Number(j[0], where), Number(j[1], where)};
    }

    ReplayInput Input(const json& j, const std::string& where) const {
        if (!j.is_object()) Fail(where, "not an object");
        ReplayInput input;
        input.frame = Integer(Member(j, "frame", where), where + ".frame");
        if (auto it = j.find("key"); it != j.end()) {
            if (!it->is_array() || it->size() != 4 || !(*it)[0].is_number_integer() ||
                !(*it)[1].is_number_integer() || !(*it)[2].is_number_integer() ||
                !(*it)[3].is_boolean()) {
                Fail(where + ".key", "not [code, action, mods, debug]");
            }
            input.kind = ReplayInput::Kind::Key;
            input.key = Integer((*it)[0], where + ".key", kMinInt);
            input.action = Integer((*it)[1], where + ".key", kMinInt);
            input.mods = Integer((*it)[2], where + ".key", kMinInt);
            input.debug = (*it)[3].get<bool>();
        } else if (auto scroll = j.find("scroll"); scroll != j.end()) {
            input.kind = ReplayInput::Kind::Scroll;
            input.value = Vec2(*scroll, where + ".scroll");
        } else if (auto focus = j.find("focus"); focus != j.end()) {
            if (!focus->is_boolean()) Fail(where + ".focus", "not true or false");
            input.kind = ReplayInput::Kind::Focus;
            input.focused = focus->get<bool>();
        } else if (auto cursor = j.find("cursor"); cursor != j.end()) {
            const std::string at = where + ".cursor";
            if (!cursor->is_object()) Fail(at, "not an object");
            input.kind = ReplayInput::Kind::Cursor;
            input.value = Vec2(Member(*cursor, "position", at), at + ".position");
            const json& offsets = Member(*cursor, "offsets", at);
            if (!offsets.is_array()) Fail(at + ".offsets", "not an array");
            // Every frame looks each camera up among them: a handful is all a scene has.
            if (offsets.size() > kMaxCameras) {
                Fail(at + ".offsets", "more than " + std::to_string(kMaxCameras) + " cameras");
            }
            for (const json& o : offsets) {
                if (!o.is_array() || o.size() != 3 || !o[0].is_string()) {
                    Fail(at + ".offsets", "an entry is not [camera, x, y]");
                }
                input.offsets.push_back(
                    {o[0].get<std::string>(),
                     {Number(o[1], at + ".offsets"), Number(o[2], at + ".offsets")}});
            }
        } else {
            Fail(where, "none of \"key\", \"scroll\", \"focus\", \"cursor\"");
        }
        return input;
    }

private:
    static constexpr std::int64_t kMaxInt = std::numeric_limits<int>::max();
    static constexpr int kMinInt = std::numeric_limits<int>::min();
    static constexpr std::size_t kMaxCameras = 64;

    const std::string& file;
};

}  // namespace

json ReplayToJson(const Replay& replay) {
    json input = json::array();
    for (const auto& event : replay.input) input.push_back(InputToJson(event));
    return {{"format", Replay::kFormat}, {"version", Replay::kVersion},
            {"start", replay.start},     {"expect", replay.expect},
            {"step", replay.step},       {"seed", replay.seed},
            {"frames", replay.frames},   {"input", input}};
}

Replay ReplayFromJson(const json& j, const std::string& file) {
    const Reader read(file);
    if (!j.is_object()) read.Fail("top level", "not an object");
    if (read.Member(j, "format", "top level") != Replay::kFormat) {
        read.Fail("format", std::string("not \"") + Replay::kFormat + "\"");
    }
    if (read.Member(j, "version", "top level") != Replay::kVersion) {
        read.Fail("version", "not " + std::to_string(Replay::kVersion));
    }
    Replay replay;
    replay.start = read.Get<std::string>(read.Member(j, "start", "top level"), "start");
    replay.expect = read.Get<std::string>(read.Member(j, "expect", "top level"), "expect");
    if (replay.start.empty()) read.Fail("start", "empty");
    replay.step = read.Number(read.Member(j, "step", "top level"), "step");
    if (!(replay.step > 0.0f && replay.step <= 1.0f / 30.0f + 1e-6f)) {
        read.Fail("step", "not a frame time above 0 and at most 1/30 s");
    }
    const json& seed = read.Member(j, "seed", "top level");
    if (!seed.is_number_unsigned() || seed.get<std::uint64_t>() > 0xffffffffu) {
        read.Fail("seed", "not an unsigned 32-bit integer");
    }
    replay.seed = seed.get<std::uint32_t>();
    const json& frames = read.Member(j, "frames", "top level");
    if (!frames.is_number_unsigned()) read.Fail("frames", "not a count of frames");
    replay.frames = read.Integer(frames, "frames");
    const json& input = read.Member(j, "input", "top level");
    if (!input.is_array()) read.Fail("input", "not an array");
    int last = 0;
    for (std::size_t i = 0; i < input.size(); ++i) {
        const std::string where = "input[" + std::to_string(i) + "]";
        ReplayInput event = read.Input(input[i], where);
        if (event.frame < last) read.Fail(where + ".frame", "earlier than the input before it");
        if (event.frame >= replay.frames) read.Fail(where + ".frame", "not below \"frames\"");
        last = event.frame;
        replay.input.push_back(std::move(event));
    }
    return replay;
}

Replay ReadReplayFile(const std::string& path) {
    // Missing files, pipes, text that is not JSON, numbers beyond a double and deep nesting
    // are DataErrors naming the file.
    return ReplayFromJson(ReadDataFile(path), path);
}

void WriteReplayFile(const std::string& path, const Replay& replay) {
    std::ofstream out(path, std::ios::trunc);
    if (!out) throw DataError(path + ": cannot write the replay file");
    // One input per line: small diffs when a recording is made again.
    const json j = ReplayToJson(replay);
    out << "{\n";
    for (const char* key : {"format", "version", "start", "expect", "step", "seed", "frames"}) {
        out << "  \"" << key << "\": " << j.at(key).dump() << ",\n";
    }
    out << "  \"input\": [";
    const json& input = j.at("input");
    for (std::size_t i = 0; i < input.size(); ++i) {
        out << (i ? ",\n    " : "\n    ") << input[i].dump();
    }
    out << (input.empty() ? "]\n}\n" : "\n  ]\n}\n");
    out.flush();
    if (!out) throw DataError(path + ": cannot write the replay file");
}
