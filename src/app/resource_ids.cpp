#include "app/resource_ids.h"

namespace lobe {

namespace {
constexpr int k_line_limit = 100;
constexpr int k_high_base = 20000;  // ids of lines 100 and later: base + 1000 * kind + line

int low_base(row_control kind) {
  switch (kind) {
    case row_control::patcut: return IDC_PD_PATCUT;
    case row_control::polari: return IDC_PD_POLARI;
    case row_control::showhide: return IDC_PD_SHOWHIDE;
    case row_control::sweep: return IDC_PD_SWEEP;
    case row_control::del: return IDC_PD_DELETE;
    case row_control::plus: return IDC_PD_PLUS;
    case row_control::minus: return IDC_PD_MINUS;
    case row_control::mavg: return IDC_PD_MAVG;
  }
  return 0;
}
}  // namespace

int row_control_id(row_control kind, int line) {
  if (line < k_line_limit) return low_base(kind) + line;
  return k_high_base + 1000 * static_cast<int>(kind) + line;
}

bool decode_row_control(int id, row_control& kind, int& line) {
  if (id >= k_high_base) {
    const int k = (id - k_high_base) / 1000;
    if (k > static_cast<int>(row_control::mavg)) return false;
    kind = static_cast<row_control>(k);
    line = (id - k_high_base) % 1000;
    return line >= k_line_limit;
  }
  for (int k = 0; k <= static_cast<int>(row_control::mavg); ++k) {
    const int base = low_base(static_cast<row_control>(k));
    if (id >= base && id < base + k_line_limit) {
      kind = static_cast<row_control>(k);
      line = id - base;
      return true;
    }
  }
  return false;
}

}  // namespace lobe
