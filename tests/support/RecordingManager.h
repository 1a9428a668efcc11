#pragma once

#include <cmath>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <typeinfo>
#include <vector>

#include "engine/Manager.h"

/// The fields a test checks of a delivered message: what it names (an event, a trigger, a
/// state, a bus, an effect), its value (a flag, a level, a count) and the entity it is about,
/// whichever of them it has. Values compare within a millionth: most are floats, written in a
/// test as decimals.
struct Sent {
    std::string name;
    double value = 0;
    int entity = 0;
    bool operator==(const Sent& other) const {
        return name == other.name && std::abs(value - other.value) < 1e-6 && entity == other.entity;
    }
    friend std::ostream& operator<<(std::ostream& out, const Sent& sent) {
        out << "{\"" << sent.name << "\", " << sent.value;
        if (sent.entity != 0) out << ", entity " << sent.entity;
        return out << "}";
    }
};

/// Keeps what reaches the end of the bus: the id and trace text of every message that no
/// earlier handler consumed. Messages live on their sender's stack, so `onMessage` lets a
/// test read the fields of a message while it is delivered.
class RecordingManager : public Manager {
public:
    struct Record {
        int id;
        std::string trace;
        /// For the message types whose fields are kept (see KeepFieldsOf).
        std::optional<Sent> fields;
    };

    /// Every recorder of the program keeps the fields of messages of type M from now on: its
    /// `name` (or `bus`), its `value` (or `volume`, or `count`) and its `entity`; `pick` may
    /// choose others. Returns true, for use in an initialiser (tests/support/KeptFields.h).
    template <class M>
    static bool KeepFieldsOf();
    template <class M, class F>
    static bool KeepFieldsOf(F pick);

    bool HandleMessage(const Message& message) override;

    /// Texts of the records with this id, in arrival order.
    std::vector<std::string> Traces(int id) const;
    /// Texts of every record, in arrival order.
    std::vector<std::string> Traces() const;
    /// Text of the latest record with this id; empty when there is none.
    std::optional<std::string> Last(int id) const;
    /// Number of records with this id.
    int Count(int id) const;
    /// Fields of the records with this id whose fields are kept, in arrival order.
    std::vector<Sent> Fields(int id) const;
    /// Fields of the latest such record; empty when there is none.
    std::optional<Sent> LastFields(int id) const;
    /// Number of records with this id and these fields.
    int Count(int id, const Sent& fields) const;
    void Clear() { records.clear(); }

    std::vector<Record> records;
    std::function<void(const Message&)> onMessage;
    /// Benchmarks turn this off: the record would grow with every iteration and its trace
    /// text would be timed with the work.
    bool keepRecords = true;

private:
    using Picker = std::function<std::optional<Sent>(const Message&)>;
    static std::vector<Picker>& Pickers();
};

template <class M, class F>
bool RecordingManager::KeepFieldsOf(F pick) {
    Pickers().push_back([pick](const Message& message) -> std::optional<Sent> {
        // Exact type, compared by name across shared libraries (as MessageAs does).
        if (typeid(message) != typeid(M)) return std::nullopt;
        return pick(static_cast<const M&>(message));
    });
    return true;
}

template <class M>
bool RecordingManager::KeepFieldsOf() {
    return KeepFieldsOf<M>([](const M& message) {
        Sent fields;
        if constexpr (requires { message.name; }) {
            fields.name = std::string(message.name);
        } else if constexpr (requires { message.bus; }) {
            fields.name = std::string(message.bus);
        }
        if constexpr (requires { message.value; }) {
            fields.value = static_cast<double>(message.value);
        } else if constexpr (requires { message.volume; }) {
            fields.value = static_cast<double>(message.volume);
        } else if constexpr (requires { message.count; }) {
            fields.value = static_cast<double>(message.count);
        }
        if constexpr (requires { message.entity; }) {
            fields.entity = static_cast<int>(message.entity);
        }
        return fields;
    });
}
