#include "engine/ManagerTrace.h"

#include "engine/MessageId.h"
#include "engine/MessageViews.h"

ManagerTrace::ManagerTrace() : log("trace.log", std::ios::out | std::ios::trunc) {}

bool ManagerTrace::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
        case MessageId::Render:
        case MessageId::SpriteRender:
        case MessageId::CursorWorldPosition:
        case MessageId::ServiceHighRateA:
        case MessageId::ServiceHighRateB:
        case MessageId::QueryViews:
            return false;
        default:
            break;
    }
    std::lock_guard lock(logMutex);
    message.Trace(log) << std::endl;
    return false;
}
