// Shared by the fuzz harnesses: a program state with a silent window and no log.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/record/lobe_state.h"
#include "core/io/run_log.h"
#include "core/range/range_events.h"

namespace lobe::fuzz {

struct harness {
  std::unique_ptr<lobe_state> st = make_lobe_state();
  run_log log;  // never opened: logging stays off
  action_report report;
  core_io io{log, report};
  range_events events;  // the test range's window: does nothing
  range_io range{log, events};
};

inline std::string as_text(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace lobe::fuzz
