#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// Shows the last content failure (MessageContentError) as the text of the entity's
/// "UI Element", broken into lines that fit the screen.
struct ComponentContentErrorLabel {
    static constexpr std::string_view kName = "Content Error Label";

    /// Characters on one line at most; longer lines break after a space or a '/'.
    int LineLength = 60;
};

void from_json(const nlohmann::json& j, ComponentContentErrorLabel& label);

/// Breaks `text` into lines of at most `length` characters, after a space or a '/' where one
/// is in reach (a path stays readable), else anywhere.
std::string WrapLines(std::string_view text, int length);

/// Keeps the text of the last MessageContentError its state heard and writes it into every
/// "Content Error Label" entity's element on each update.
class SystemContentErrorLabel : public System<ComponentContentErrorLabel, SystemContentErrorLabel> {
public:
    bool HandleMessage(const Message& message) override;

private:
    std::string failure;
};
