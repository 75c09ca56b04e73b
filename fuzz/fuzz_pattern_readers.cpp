// Every pattern reader on one input, then the writers and the charts on
// whatever the reader left in the record. The first byte picks the format.
#include <cstdint>

#include "core/session/save_routing.h"
#include "core/formats/ant_format.h"
#include "core/session/antenna_loader.h"
#include "core/io/file_sink.h"
#include "core/formats/nec_reader.h"
#include "core/formats/nsma_writer.h"
#include "core/formats/planet_format.h"
#include "draw/emr_chart.h"
#include "draw/polar_chart.h"
#include "draw/print_page.h"
#include "draw/recording_surface.h"
#include "fuzz_support.h"

#ifndef LOBE_FUZZ_FORMAT
#define LOBE_FUZZ_FORMAT -1
#endif

using namespace lobe;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const int k_types[] = {FT_NSMA99, FT_ADF, FT_LABZ, FT_PLANET, FT_ANT, FT_NSMA89, FT_4NEC};
  const int type = LOBE_FUZZ_FORMAT >= 0 ? LOBE_FUZZ_FORMAT : k_types[data[0] % 7];
  fuzz::harness h;
  const std::string image = fuzz::as_text(data + 1, size - 1);
  if (type == FT_4NEC) {
    h.st->nec = {data[0] % 4, (data[0] / 4) % 4};
    add_4nec_image(*h.st, h.io, &image);
  } else {
    h.st->file.file_type = type;
    read_antenna_image(*h.st, h.io, &image);
  }
  string_sink out;
  write_nsma_file(*h.st, out, h.log, data[0] & 1, write_options_of(*h.st));
  write_planet_file(*h.st, out, h.io, write_options_of(*h.st));
  h.st->file.ant_file_type = 1 + data[0] % 3;
  write_ant_file(*h.st, out, h.log, write_options_of(*h.st));

  recording_surface dc;
  h.st->view.mv_display = data[0] & 2 ? 1 : 0;
  h.st->view.log_display = data[0] & 4 ? 1 : 0;
  h.st->view.scale_to_max_mode = data[0] & 8 ? 1 : 0;
  init_chart(*h.st, dc, 1.0f, 400, 300, 280);
  plot_chart(*h.st, dc, 1.0f, 400, 400, 300, 280);
  const rect area{265, 35, 1115, 800};
  for (int view : {DISPLAY_TYPE_RECT, DISPLAY_TYPE_RECT90}) {
    h.st->view.display_type = view;
    init_rect_chart(*h.st, dc, 1.0f, area);
    plot_rect_chart(*h.st, dc, 1.0f, area, area);
  }
  emr_text_layout layout;
  plot_emr_chart(*h.st, h.log, dc, 1.0f, layout, 100, 700, 300, 280);
  return 0;
}
