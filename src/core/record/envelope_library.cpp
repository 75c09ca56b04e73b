#include "core/record/envelope_library.h"

#include "core/record/pattern_record.h"
#include "core/text/field_text.h"

namespace lobe {

namespace {
int library_size(const envelopes_type& ed) {
  return count_in(ed.numenv, MAX_ENVELOPES);
}
}  // namespace

void set_active_envelope(envelopes_type& ed, int env) {
  for (int e = 0; e < library_size(ed); ++e) {
    ed.env[e].display = e == env ? 1 : 0;
  }
}

const envelope_data_type* active_envelope(const envelopes_type& ed) {
  for (int e = 0; e < library_size(ed); ++e)
    if (ed.env[e].display == 1) return &ed.env[e];
  return nullptr;
}

int envelope_titled(const envelopes_type& ed, std::string_view title) {
  for (int e = 0; e < library_size(ed); ++e)
    if (equals_nocase(ed.env[e].title, title)) return e;
  return -1;
}

}  // namespace lobe
