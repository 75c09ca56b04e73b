#include "core/formats/signed_levels.h"

#include <algorithm>

#include "core/formats/long_cuts.h"
#include "core/text/c_numeric.h"

namespace lobe {

void finish_signed_levels(pattern_record& rec, reader_state& rs) {
  for (int f = 0; f < count_in(rec.pd.nofreq, MAX_FREQ); ++f)
    for (int c = 0; c < count_in(rec.pd.freq[f].numcut, MAX_CUTS); ++c) {
      const std::bitset<MAX_SAMPLES>& negative = rs.negative[f][c];
      if (negative.none()) continue;
      cut_data_type& cut = rec.pd.freq[f].cut[c];
      const int n = stored_points(cut);
      auto value = [&](int p) { return negative[static_cast<std::size_t>(p)] ? -cut.signal[p] : cut.signal[p]; };
      float highest = -INFINITY, lowest = INFINITY;
      int points = 0;
      for (int p = 0; p < n && cut.angle[p] != END_MARKER; ++p, ++points) {
        highest = std::max(highest, value(p));
        lowest = std::min(lowest, value(p));
      }
      if (!(highest > MIXED_SIGN_MARGIN_DB && lowest < -MIXED_SIGN_MARGIN_DB)) continue;
      rs.found.facts_of(f, c).mixed_signs = true;
      const std::string range = c_format("from %+.2f to %+.2f", double(highest), double(lowest));
      if (!rs.options.signed_levels) {
        rs.found.notices.push_back(c_format(
            "%s: levels of both signs (%s), read as dB below the peak whatever their sign. If they are gains, set "
            "Signed-levels=1 in section [Extra] of the settings file (lobeconv: --signed-levels) to read them as such.",
            cut_name(rec.pd, f, c).c_str(), range.c_str()));
        continue;
      }
      for (int p = points - 1; p >= 0; --p) cut.signal[p] = highest - value(p);
      rs.found.notices.push_back(c_format("%s: levels of both signs (%s) read as gains: %.2f is the peak.",
                                              cut_name(rec.pd, f, c).c_str(), range.c_str(), double(highest)));
    }
}

}  // namespace lobe
