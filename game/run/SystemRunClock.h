#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/SystemBase.h"
#include "game/run/RunRecord.h"

/// Keeps the run's record: adds the frame time of every update in which a level clock ("HUD
/// Timer") is counting, remembers the last state that had one as the level to retry, starts
/// a new run on the trigger "Run Start" and answers the trigger "Retry Level" by changing to
/// that level (the main menu when no level has been played). It has no component of its own;
/// every clone shares the record.
class SystemRunClock : public SystemBase {
public:
    explicit SystemRunClock(std::shared_ptr<RunRecord> record) : record(std::move(record)) {}
    /// Every copy is a clone of its own, told apart from the others by its serial number.
    SystemRunClock(const SystemRunClock& other)
        : SystemBase(other), record(other.record), serial(++record->clones) {}
    SystemRunClock& operator=(const SystemRunClock&) = delete;

    std::unique_ptr<SystemBase> Clone() const override {
        return std::make_unique<SystemRunClock>(*this);
    }
    std::string_view Name() const override { return "Run Clock"; }
    bool HandleMessage(const Message& message) override;

    static constexpr std::string_view kStartTrigger = "Run Start";
    static constexpr std::string_view kRetryTrigger = "Retry Level";
    /// Where a retry goes when no level has been played yet.
    static constexpr std::string_view kNoLevelState = "MainMenu";

private:
    void Update(float dt);
    void Retry();

    std::shared_ptr<RunRecord> record;
    unsigned long long serial = 0;
};
