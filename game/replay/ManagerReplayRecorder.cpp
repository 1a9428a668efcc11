#include "game/replay/ManagerReplayRecorder.h"

#include "engine/MessageComponent.h"
#include "engine/MessageCursor.h"
#include "engine/MessageId.h"
#include "engine/MessageKey.h"
#include "engine/MessageTrigger.h"
#include "engine/TriggerNames.h"

ManagerReplayRecorder::ManagerReplayRecorder(Replay& replay) : replay(replay) {}

bool ManagerReplayRecorder::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            FlushCursor();
            frame = replay.frames;
            ++replay.frames;
            return false;
        case MessageId::Key:
            if (auto* key = MessageAs<MessageKey>(message)) {
                ReplayInput input;
                input.frame = frame;
                input.kind = ReplayInput::Kind::Key;
                input.key = key->key;
                input.action = key->action;
                input.mods = key->mods;
                input.debug = key->debug;
                replay.input.push_back(input);
            }
            return false;
        case MessageId::Scroll:
            if (auto* scroll = MessageAs<MessageScroll>(message)) {
                ReplayInput input;
                input.frame = frame;
                input.kind = ReplayInput::Kind::Scroll;
                input.value = scroll->offset;
                replay.input.push_back(input);
            }
            return false;
        case MessageId::Trigger: {
            auto& trigger = static_cast<const MessageTrigger&>(message);
            if (trigger.name != trigger::WindowFocus) return false;
            ReplayInput input;
            input.frame = frame;
            input.kind = ReplayInput::Kind::Focus;
            input.focused = trigger.value;
            replay.input.push_back(input);
            return false;
        }
        case MessageId::CursorPosition:
            if (auto* position = MessageAs<MessageCursorPosition>(message)) {
                // A new cursor report begins; its camera offsets follow.
                FlushCursor();
                cursor = ReplayInput{};
                cursor.frame = frame;
                cursor.kind = ReplayInput::Kind::Cursor;
                cursor.value = position->position;
                cursorPending = true;
            }
            return false;
        case MessageId::CursorWorldPosition:
            if (auto* world = MessageAs<MessageCursorWorldPosition>(message)) {
                if (cursorPending) {
                    cursor.offsets.push_back({std::string(world->camera), world->position});
                }
            }
            return false;
        default:
            return false;
    }
}

void ManagerReplayRecorder::Finish() {
    FlushCursor();
}

void ManagerReplayRecorder::FlushCursor() {
    if (!cursorPending) return;
    cursorPending = false;
    if (hasLastCursor && cursor.value == lastCursor.value && cursor.offsets == lastCursor.offsets) {
        return;
    }
    replay.input.push_back(cursor);
    lastCursor = cursor;
    hasLastCursor = true;
}
