#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/Manager.h"

/// Keeps what reaches the end of the bus: the id and trace text of every message that no
/// earlier handler consumed. Messages live on their sender's stack, so `onMessage` lets a
/// test read the fields of a message while it is delivered.
class RecordingManager : public Manager {
public:
    struct Record {
        int id;
        std::string trace;
    };

    bool HandleMessage(const Message& message) override;

    /// Texts of the records with this id, in arrival order.
    std::vector<std::string> Traces(int id) const;
    /// Number of records with this id.
    int Count(int id) const;
    void Clear() { records.clear(); }

    std::vector<Record> records;
    std::function<void(const Message&)> onMessage;
};
