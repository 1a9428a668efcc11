#pragma once

#include "engine/Message.h"
#include "engine/MessageId.h"
#include "services/graphics/CameraMath.h"

namespace graphics {

/// A camera of the current state, announced by the camera systems on every render so that the
/// window draws this frame's sprites through it. Uses the service's first high-rate id, which
/// game code and the trace ignore.
class MessageCamera final : public Message {
public:
    explicit MessageCamera(const CameraView& camera) : camera(camera) {}
    int TypeId() const override { return MessageId::ServiceHighRateA; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Camera " << camera.name;
    }

    const CameraView& camera;
};

}  // namespace graphics
