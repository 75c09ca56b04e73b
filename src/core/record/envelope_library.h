// The envelope library: named masks drawn over the rectangular chart.
#pragma once

#include <string_view>

#include "core/base/lobeview.h"

namespace lobe {


struct envelope_data_type {
  char title[80];
  int display;  // 1 for the one active envelope
  int nupoin;
  float angle1[MAX_ENV_SAMPLES];
  float angle2[MAX_ENV_SAMPLES];
  float signal[MAX_ENV_SAMPLES];
};

struct envelopes_type {
  int numenv;
  envelope_data_type env[MAX_ENVELOPES];
};

// Makes envelope `env` the only displayed one (the menu ticks follow `display`);
// any value that is no envelope index switches them all off.
void set_active_envelope(envelopes_type& ed, int env);

// The first envelope with `display` set, or nullptr.
const envelope_data_type* active_envelope(const envelopes_type& ed);

// The index of the first envelope titled `title` (any case), or -1.
int envelope_titled(const envelopes_type& ed, std::string_view title);

}  // namespace lobe
