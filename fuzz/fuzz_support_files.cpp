// The envelope library, the help text and the settings INI readers, and the
// envelope overlay drawn from whatever library the input makes.
#include <cstdint>

#include "core/formats/envelope_file.h"
#include "core/formats/help_file.h"
#include "core/settings/private_profile.h"
#include "draw/recording_surface.h"
#include "draw/rect_chart.h"
#include "fuzz_support.h"

using namespace lobe;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = fuzz::as_text(data, size);
#if LOBE_FUZZ_WHICH == 0
  fuzz::harness h;
  read_envelope_image(h.st->ed, text);
  for (int e = 0; e < h.st->ed.numenv; ++e) h.st->ed.env[e].display = 1;
  recording_surface dc;
  const rect area{265, 35, 1115, 800};
  for (int view : {DISPLAY_TYPE_RECT, DISPLAY_TYPE_RECT90}) {
    h.st->view.display_type = view;
    init_rect_chart(*h.st, dc, 1.0f, area);
    plot_rect_env(*h.st, dc, 1.0f, area, area);
  }
#elif LOBE_FUZZ_WHICH == 1
  help_texts help;
  read_help_image(help, text);
#else
  (void)find_profile_value(text, "Palette", "00");
  (void)find_profile_value(text, "Extra", "DSA-IP");
  (void)set_profile_value(text, "Extra", "DSA-IP", "127.0.0.1");
#endif
  return 0;
}
