#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"
#include "game/run/RunRecord.h"

/// Shows the run's play time as the text of the entity's "UI Element", after "Prefix".
struct ComponentRunTimeLabel {
    static constexpr std::string_view kName = "Run Time Label";

    std::string Prefix = "Time ";
};

void from_json(const nlohmann::json& j, ComponentRunTimeLabel& label);

/// Writes the run's time ("Time 3:42.5") into the text of every "Run Time Label" entity's UI
/// element on each update, so the win screen shows the run it ends.
class SystemRunTimeLabel : public System<ComponentRunTimeLabel, SystemRunTimeLabel> {
public:
    explicit SystemRunTimeLabel(std::shared_ptr<const RunRecord> record)
        : record(std::move(record)) {}

    bool HandleMessage(const Message& message) override;

private:
    std::shared_ptr<const RunRecord> record;
};
