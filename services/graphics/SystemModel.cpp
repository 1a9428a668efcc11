#include "services/graphics/SystemModel.h"

void from_json(const nlohmann::json& j, ComponentModel& model) {
    if (j.is_object()) model.description.merge_patch(j);
}
