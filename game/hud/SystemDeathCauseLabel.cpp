#include "game/hud/SystemDeathCauseLabel.h"

#include <cmath>
#include <functional>

#include "engine/JsonRead.h"
#include "engine/MessageFrame.h"
#include "engine/MessageTrigger.h"
#include "services/ui/MessageUITrigger.h"
#include "services/ui/SystemUIElement.h"

void from_json(const nlohmann::json& j, ComponentDeathCauseLabel& label) {
    json_read::Key(j, "Texts", label.Texts);
    json_read::Key(j, "Show Time", label.ShowTime);
    json_read::Key(j, "Blink Period", label.BlinkPeriod);
}

const std::string& SystemDeathCauseLabel::Visible(const ComponentDeathCauseLabel& label) {
    static const std::string nothing;
    if (!(label.timeLeft > 0.0f)) return nothing;
    if (!(label.BlinkPeriod > 0.0f)) return label.shown;
    const float phase = std::fmod(label.shownFor, label.BlinkPeriod);
    return phase < 0.5f * label.BlinkPeriod ? label.shown : nothing;
}

bool SystemDeathCauseLabel::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Trigger: {
            auto& trigger = static_cast<const MessageTrigger&>(message);
            if (!trigger.value) return false;
            for (auto& [entity, label] : components) {
                const auto text = label.Texts.find(std::string(trigger.name));
                if (text == label.Texts.end()) continue;
                label.shown = text->second;
                label.shownFor = 0.0f;
                label.timeLeft = label.ShowTime;
            }
            return false;
        }
        case MessageId::Update:
            Update(static_cast<const MessageUpdate&>(message).dt);
            return false;
        default:
            return System::HandleMessage(message);
    }
}

void SystemDeathCauseLabel::Update(float dt) {
    for (auto& [entity, label] : components) {
        // Copied: the query may reach handlers that add components and move this one.
        const std::string text = Visible(label);
        if (label.timeLeft > 0.0f) {
            label.timeLeft -= dt;
            label.shownFor += dt;
        }
        std::string name;
        bool visible = true;
        const std::function<void(ComponentUIElement&)> write = [&](ComponentUIElement& e) {
            if (e.text != text) e.text = text;
            name = e.name;
            visible = e.visible;
        };
        SendMessage(MessageQuery<ComponentUIElement>(entity, write));
        // A named element is hidden whole while there is nothing to say, so that a panel
        // behind the text goes too.
        const bool wanted = !text.empty();
        if (!name.empty() && visible != wanted) {
            SendMessage(MessageUIVisibleTrigger(name, wanted));
        }
    }
}
