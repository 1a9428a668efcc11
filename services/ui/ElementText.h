#pragma once

#include <functional>
#include <string>

#include "engine/Manager.h"
#include "engine/MessageComponent.h"
#include "services/ui/SystemUIElement.h"

namespace ui {

/// Writes `text` into the "UI Element" of `entity`, if it has one: the one way the labels that
/// show game values (time, seconds, trigger states, errors) set what their element says.
inline void SetText(const SendCallback& send, EntityId entity, const std::string& text) {
    const std::function<void(ComponentUIElement&)> write = [&text](ComponentUIElement& e) {
        if (e.text != text) e.text = text;
    };
    send(MessageQuery<ComponentUIElement>(entity, write));
}

}  // namespace ui
