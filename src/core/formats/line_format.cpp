#include "core/formats/line_format.h"

#include <cmath>

namespace lobe {

float crosspol_scale(const pattern_record& rec, bool scale_to_strongest, const cut_data_type& cut,
                     bool format_carries_peak) {
  if (format_carries_peak || !scale_to_strongest || !(cut.emax > 0.0f) || !(rec.all_emax > 0.0f)) return 0.0f;
  return static_cast<float>(std::fabs(20.0 * std::log10(cut.emax / rec.all_emax)));
}

}  // namespace lobe
