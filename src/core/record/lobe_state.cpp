#include "core/record/lobe_state.h"

#include "core/text/field_text.h"

namespace lobe {

std::unique_ptr<lobe_state> make_lobe_state() {
  // Value-initialisation zero-fills the record before the member defaults apply.
  auto st = std::make_unique<lobe_state>();
  st->settings.gr_colours = gr_colours_init();
  set_field(st->settings.dsa_ip, default_dsa_ip());
  return st;
}

const cut_load_facts* file_state::find_facts(int f, int c) const {
  for (const cut_load_facts& x : cut_facts)
    if (x.freq == f && x.cut == c) return &x;
  return nullptr;
}

}  // namespace lobe
