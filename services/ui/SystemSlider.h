#pragma once

#include <string>
#include <string_view>

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>
#include <nlohmann/json.hpp>

#include "engine/System.h"
#include "services/ui/Font.h"
#include "services/ui/UICursor.h"

/// A horizontal slider over a sound bus's volume. The entity's "UI Element" is the track (its
/// rectangle, visibility and look); the slider draws the knob. Keys are listed in docs/ui.md.
struct ComponentSlider {
    static constexpr std::string_view kName = "Slider";

    /// Bus name without the "bus:/" prefix, for example "Music".
    std::string bus;
    float minimum = 0.0f;
    float maximum = 1.0f;
    /// Change per key press.
    float step = 0.1f;
    /// Until the bus answers; then the bus's volume.
    float value = 1.0f;
    std::string knobTexture;
    glm::vec2 knobSize{0.3f, 0.6f};
    glm::vec4 knobColor{1.0f, 1.0f, 1.0f, 1.0f};
    glm::vec4 knobHighlightColor{1.0f, 0.85f, 0.45f, 1.0f};
    /// Tint of the track's part left of the knob, drawn with the track's texture.
    glm::vec4 fillColor{1.0f, 0.85f, 0.45f, 1.0f};
    /// Text height of the value, in percent of the range, right of the track; 0: not shown.
    float valueTextSize = 0.4f;

    /// Following the mouse since a press on it.
    bool dragging = false;

    /// Value as a fraction of the range, 0..1.
    float Fraction() const;
};

void from_json(const nlohmann::json& j, ComponentSlider& slider);

/// Sets bus volumes: the slider starts from what MessageQueryBusVolume answers at its birth,
/// follows the mouse while the first button is held after a press on it, steps with Left/Right
/// (A/D) while focused, and sends MessageSetBusVolume on every change. Draws its fill, its
/// knob and its value in percent.
class SystemSlider : public System<ComponentSlider, SystemSlider> {
public:
    bool HandleMessage(const Message& message) override;

    /// Depth added to the track's z for the knob, and for the fill under it.
    static constexpr float kKnobDepth = 0.02f;
    static constexpr float kFillDepth = 0.01f;
    /// Space between the track's right end and its value text, in world units.
    static constexpr float kValueGap = 0.25f;

    /// Sets the value (clamped to the range) and tells the bus if it changed.
    void SetValue(EntityId entity, float value);

private:
    void OnBirth(EntityId entity);
    void OnKey(int key, int action);
    void Drag();
    void Render();

    UICursor cursor;
    /// The value's font, by name, read when a slider with a value text is born.
    std::unordered_map<std::string, std::shared_ptr<const Font>> fonts;
};
