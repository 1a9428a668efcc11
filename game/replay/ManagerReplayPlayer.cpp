#include "game/replay/ManagerReplayPlayer.h"

#include "engine/MessageCursor.h"
#include "engine/MessageId.h"
#include "engine/MessageKey.h"
#include "engine/MessageQuit.h"
#include "engine/MessageTrigger.h"
#include "engine/TriggerNames.h"

ManagerReplayPlayer::ManagerReplayPlayer(const Replay& replay) : replay(replay) {}

bool ManagerReplayPlayer::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Initialize:
            // A recording of no frames ends the loop before its first frame.
            if (replay.frames <= 0) SendMessage(MessageQuit());
            return false;
        case MessageId::Update:
            ++frame;
            return false;
        case MessageId::Render:
            break;
        default:
            return false;
    }
    if (frame < 0) return false;
    while (next < replay.input.size() && replay.input[next].frame <= frame) {
        Deliver(replay.input[next++]);
    }
    SendCursor();
    if (frame + 1 >= replay.frames) SendMessage(MessageQuit());
    return false;
}

void ManagerReplayPlayer::Deliver(const ReplayInput& input) {
    switch (input.kind) {
        case ReplayInput::Kind::Key:
            SendMessage(MessageKey(input.key, input.action, input.mods, input.debug));
            return;
        case ReplayInput::Kind::Scroll:
            SendMessage(MessageScroll(input.value));
            return;
        case ReplayInput::Kind::Focus:
            SendMessage(MessageTrigger(trigger::WindowFocus, input.focused));
            return;
        case ReplayInput::Kind::Cursor:
            // Sent after the frame's other input, as the window does.
            cursor = input;
            hasCursor = true;
            return;
    }
}

void ManagerReplayPlayer::SendCursor() {
    if (!hasCursor) return;
    SendMessage(MessageCursorPosition(cursor.value));
    for (const auto& offset : cursor.offsets) {
        SendMessage(MessageCursorWorldPosition(offset.camera, offset.offset));
    }
}
