#include "core/analysis/library_lint.h"

#include <cmath>

#include "core/analysis/cut_parameters.h"
#include "core/formats/file_errors.h"
#include "core/record/gain_units.h"
#include "core/text/c_numeric.h"

namespace lobe {

namespace {

const char* unit_name(gain_unit u) { return u == gain_unit::dbi ? "dBi" : "dBd"; }

void lint_cut(std::vector<lint_finding>& out, const std::string& name, const cut_data_type& cut) {
  const int n = stored_points(cut);
  int repeated = 0, backwards = 0, first_backwards = -1;
  for (int p = 0; p < n && cut.angle[p] != END_MARKER; ++p) {
    if (p > 0 && cut.angle[p] == cut.angle[p - 1]) ++repeated;
    if (p > 0 && cut.angle[p] < cut.angle[p - 1] && ++backwards == 1) first_backwards = p;
  }
  const level_census levels = census_of(cut);
  if (repeated) out.push_back({true, c_format("%s: %d angles repeat the one before", name.c_str(), repeated)});
  if (backwards)
    out.push_back({false, c_format("%s: angles do not increase (first at point %d, %d places)", name.c_str(),
                                   first_backwards + 1, backwards)});
  if (levels.no_level)
    out.push_back({false, c_format("%s: %d points hold no level (fewer points than NUPOIN)", name.c_str(),
                                   levels.no_level)});
  if (levels.gaps)
    out.push_back({false, c_format("%s: %d points have no reading (98 dB or more down)", name.c_str(), levels.gaps)});
  if (!levels.normalised())
    out.push_back({false, c_format("%s: not normalised, its strongest point is %.2f dB down", name.c_str(),
                                   static_cast<double>(levels.strongest))});
}

}  // namespace

std::string why_no_pattern(std::string_view head, long long size) {
  if (size == 0) return "it holds no pattern: the file is empty";
  if (head.size() >= 4 && head.substr(0, 4) == "\x7f" "ELF") return "it holds no pattern: it is a program";
  const bool bom16 = head.size() >= 2 && ((head[0] == '\xff' && head[1] == '\xfe') || (head[0] == '\xfe' && head[1] == '\xff'));
  std::size_t nuls = 0;
  for (char c : head) nuls += c == '\0';
  // UTF-16 text of ASCII characters has a NUL beside every one of them.
  if (bom16 || (head.size() >= 4 && nuls * 2 >= head.size() - 1 && nuls < head.size()))
    return "it holds no pattern: it is UTF-16 text; save it as ASCII or UTF-8";
  if (nuls > 0) return "it holds no pattern: it holds NUL bytes (a binary file)";
  return "it holds no pattern: no point of any cut was read from it";
}

std::vector<lint_finding> lint_pattern(const lobe_state& st) {
  std::vector<lint_finding> out;
  const antenna_data_type& pd = st.pd;
  // What the load said: points dropped, levels of both signs folded into
  // magnitudes, or nothing read from an LF-only file, is data lost or misread.
  for (const std::string& notice : st.file.load_notices)
    out.push_back({notice.find("dropped") != std::string::npos || notice.find("both signs") != std::string::npos ||
                       st.file.lf_only_empty,
                   notice});
  if (st.file.file_errors) out.push_back({true, file_error_text(st.file.file_errors)});
  const gain_reading g = read_gain(pd.mdgain, pd.gunits);
  gain_unit named;
  if (g.valid && g.unit_in_text && gunits_names(pd.gunits, named) && named != g.unit)
    out.push_back({false, c_format("MDGAIN \"%s\" is in %s, GUNITS \"%s\" says %s", pd.mdgain, unit_name(g.unit),
                                   pd.gunits, unit_name(named))});
  for (int f = 0; f < count_in(pd.nofreq, MAX_FREQ); ++f)
    for (int c = 0; c < count_in(pd.freq[f].numcut, MAX_CUTS); ++c) {
      const cut_data_type& cut = pd.freq[f].cut[c];
      lint_cut(out, c_format("cut %d (%s) of %s MHz", c + 1, cut.patcut, pd.freq[f].patfre), cut);
    }
  for (const datasheet_difference& d : datasheet_check(pd)) out.push_back({false, d.text});
  return out;
}

}  // namespace lobe
