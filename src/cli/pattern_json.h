// The loaded pattern as JSON, for `lobeconv dump`.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "core/record/lobe_state.h"

namespace lobe {

// The loaded pattern as `lobeconv dump` prints it (JSON, indented by two).
// `status_error` is the text the load left in the error field of the status bar.
std::string pattern_json_text(const lobe_state& st, const std::string& status_error);

// The envelope library: numenv, and env with title, nupoin and rows of [angle1, angle2, signal].
nlohmann::ordered_json envelopes_to_json(const envelopes_type& ed);

// The help sections: files, views, testrange.
nlohmann::ordered_json help_to_json(const help_texts& help);

// A float as the shortest decimal that reads back to it (0.1f gives 0.1, not 0.100000001).
double json_number(float v);

}  // namespace lobe
