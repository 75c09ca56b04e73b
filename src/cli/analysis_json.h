// The parameters of a pattern (`lobeconv analyse --json`).
#pragma once

#include <nlohmann/json.hpp>

#include "core/record/lobe_state.h"

namespace lobe {

// {"cuts": [...], "pairs": [...], "directivity": [...], "datasheet": [...]};
// angles in degrees, levels in dB relative to each cut's peak, null where a
// value does not exist (the beamwidth of an omnidirectional cut).
nlohmann::ordered_json analysis_to_json(const lobe_state& st);

}  // namespace lobe
