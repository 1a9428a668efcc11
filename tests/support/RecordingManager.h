#pragma once

#include <functional>
#include <optional>
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
    /// Texts of every record, in arrival order.
    std::vector<std::string> Traces() const;
    /// Text of the latest record with this id; empty when there is none.
    std::optional<std::string> Last(int id) const;
    /// Number of records with this id.
    int Count(int id) const;
    void Clear() { records.clear(); }

    std::vector<Record> records;
    std::function<void(const Message&)> onMessage;
    /// Benchmarks turn this off: the record would grow with every iteration and its trace
    /// text would be timed with the work.
    bool keepRecords = true;
};
