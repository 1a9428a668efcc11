#include "game/menu/SystemContentErrorLabel.h"

#include "engine/JsonRead.h"
#include "engine/MessageComponent.h"
#include "engine/MessageContentError.h"
#include "services/ui/ElementText.h"

void from_json(const nlohmann::json& j, ComponentContentErrorLabel& label) {
    json_read::Key(j, "Line Length", label.LineLength);
    if (label.LineLength < 8) {
        throw nlohmann::json::other_error::create(501, "\"Line Length\" must be 8 or more", &j);
    }
}

std::string WrapLines(std::string_view text, int length) {
    const auto limit = static_cast<std::size_t>(length);
    std::string out;
    while (text.size() > limit) {
        // The last break point in reach; a break right at the start would make no progress.
        std::size_t cut = text.find_last_of(" /", limit - 1);
        if (cut == std::string_view::npos || cut == 0) {
            cut = limit;
        } else if (text[cut] == '/' && text[cut - 1] == ' ') {
            cut = cut - 1;  // a path's leading slash stays with it
        } else {
            cut = cut + 1;
        }
        std::string_view line = text.substr(0, cut);
        while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
        out.append(line);
        out.push_back('\n');
        text.remove_prefix(cut);
        while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    }
    out.append(text);
    return out;
}

bool SystemContentErrorLabel::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::ContentError:
            failure = static_cast<const MessageContentError&>(message).text;
            return false;
        case MessageId::Update: {
            if (failure.empty()) return false;
            for (auto& [entity, label] : components) {
                ui::SetText(SendMessage, entity, WrapLines(failure, label.LineLength));
            }
            return false;
        }
        default:
            return System::HandleMessage(message);
    }
}
