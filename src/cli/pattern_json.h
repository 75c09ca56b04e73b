// The loaded pattern as JSON, for `lobeconv dump`.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "core/lobe_state.h"

namespace lobe {

// `status_error` is the text the load left in the error field of the status bar.
nlohmann::ordered_json pattern_to_json(const lobe_state& st, const std::string& status_error);

// A float as the shortest decimal that reads back to it (0.1f gives 0.1, not 0.100000001).
double json_number(float v);

}  // namespace lobe
