#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include <glm/glm.hpp>

class Engine;
class ManagerState;

/// A 64-bit FNV-1a hash fed field by field. Floats go in by their bit pattern (with -0 taken
/// as 0 and every NaN as one NaN), so equal values hash equally in every build.
class StateHasher {
public:
    void Bytes(const void* data, std::size_t size);
    void Int(std::int64_t value);
    void Bool(bool value) { Int(value ? 1 : 0); }
    void Float(float value);
    void String(std::string_view text);
    template <int N, class T>
    void Vec(const glm::vec<N, T>& v) {
        for (int i = 0; i < N; ++i) {
            if constexpr (std::is_floating_point_v<T>) {
                Float(v[i]);
            } else {
                Int(v[i]);
            }
        }
    }

    std::uint64_t Value() const { return hash; }
    /// Sixteen lower-case hexadecimal digits.
    std::string Hex() const;

private:
    std::uint64_t hash = 14695981039346656037ull;
};

/// The hash of the current state: its name, its entities (id and entity file, in id order),
/// the entities each system holds a component for (in roster order), and the fields of the
/// components that carry the simulation: transforms, physics, colliders, the player's control,
/// collision and health, the camera controller, sprites, bullets and particle pools. Nothing that
/// depends on addresses or on the order of a hash table goes in. Main thread, between frames.
std::string HashCurrentState(Engine& engine, ManagerState& states);
