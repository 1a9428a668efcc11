#include "tests/support/RecordingManager.h"

#include <sstream>

#include "engine/MessageId.h"

bool RecordingManager::HandleMessage(const Message& message) {
    // Frame messages would swamp the record; they stay visible through onMessage.
    const int id = message.TypeId();
    if (keepRecords && id != MessageId::Update && id != MessageId::Render) {
        std::ostringstream text;
        message.Trace(text);
        std::optional<Sent> fields;
        for (const auto& pick : Pickers()) {
            if ((fields = pick(message))) break;
        }
        records.push_back({id, text.str(), std::move(fields)});
    }
    if (onMessage) onMessage(message);
    return false;
}

std::vector<std::string> RecordingManager::Traces(int id) const {
    std::vector<std::string> out;
    for (const auto& record : records) {
        if (record.id == id) out.push_back(record.trace);
    }
    return out;
}

std::vector<std::string> RecordingManager::Traces() const {
    std::vector<std::string> out;
    for (const auto& record : records) out.push_back(record.trace);
    return out;
}

std::optional<std::string> RecordingManager::Last(int id) const {
    for (auto record = records.rbegin(); record != records.rend(); ++record) {
        if (record->id == id) return record->trace;
    }
    return std::nullopt;
}

int RecordingManager::Count(int id) const {
    int n = 0;
    for (const auto& record : records) n += record.id == id;
    return n;
}

std::vector<RecordingManager::Picker>& RecordingManager::Pickers() {
    static std::vector<Picker> pickers;
    return pickers;
}

std::vector<Sent> RecordingManager::Fields(int id) const {
    std::vector<Sent> out;
    for (const auto& record : records) {
        if (record.id == id && record.fields) out.push_back(*record.fields);
    }
    return out;
}

std::optional<Sent> RecordingManager::LastFields(int id) const {
    for (auto record = records.rbegin(); record != records.rend(); ++record) {
        if (record->id == id && record->fields) return record->fields;
    }
    return std::nullopt;
}

int RecordingManager::Count(int id, const Sent& fields) const {
    int n = 0;
    for (const auto& record : records) n += record.id == id && record.fields == fields;
    return n;
}
