#include "core/formats/line_format.h"

#include <cmath>

namespace lobe {

float crosspol_scale(const lobe_state& st, const cut_data_type& cut, bool format_carries_peak) {
  if (format_carries_peak || !st.view.scale_to_max_mode || !(cut.emax > 0.0f) || !(st.all_emax > 0.0f)) return 0.0f;
  return static_cast<float>(std::fabs(20.0 * std::log10(cut.emax / st.all_emax)));
}

}  // namespace lobe
