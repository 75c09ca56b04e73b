#include "core/record/cut_editing.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace lobe {

namespace {

cut_data_type* cut_at(lobe_state& st, int f, int c) {
  if (f < 0 || f >= MAX_FREQ || c < 0 || c >= MAX_CUTS) return nullptr;
  return &st.pd.freq[f].cut[c];
}

// The whole table is kept, not only the points in use: a mirror may write
// beyond the old count, and Undo gives the cut back exactly as it was.
void save_for_undo(lobe_state& st, int f, int c, const cut_data_type& cut) {
  st.edit.undo_fr_freq = f;
  st.edit.undo_fr_cut = c;
  st.edit.undo_nupoin = cut.nupoin;
  st.edit.undo_fstlst[0] = cut.fstlst[0];
  st.edit.undo_fstlst[1] = cut.fstlst[1];
  for (int i = 0; i < MAX_SAMPLES; ++i) {
    st.edit.undo_buffer[i][SIG_BUF_ANGLE] = cut.angle[i];
    st.edit.undo_buffer[i][SIG_BUF_SIGNAL] = cut.signal[i];
  }
}

}  // namespace

void shift_cut_data(lobe_state& st, int f, int c, int this_inc) {
  cut_data_type* cut = cut_at(st, f, c);
  if (!cut) return;
  const int n = stored_points(*cut);
  if (n == 0) return;
  float work[MAX_SAMPLES];
  for (int i = 0; i < n; ++i) work[i] = this_inc >= 1 ? cut->signal[(i + n - 1) % n] : cut->signal[(i + 1) % n];
  for (int i = 0; i < n; ++i) cut->signal[i] = work[i];
}

void moving_average_cut_data(lobe_state& st, int f, int c) {
  cut_data_type* cut = cut_at(st, f, c);
  if (!cut) return;
  const int n = stored_points(*cut);
  float work[MAX_SAMPLES];
  float reference = 90.0f;
  // One point is its own neighbour on both sides, so it keeps its level.
  for (int i = 0; i < n; ++i) {
    work[i] = (cut->signal[(i + n - 1) % n] + cut->signal[i] + cut->signal[(i + 1) % n]) / 3.0f;
    if (work[i] < reference) reference = work[i];
  }
  save_for_undo(st, f, c, *cut);
  for (int i = 0; i < n; ++i) cut->signal[i] = work[i] - reference;
}

namespace {

// The rebuilt series, never longer than the record's cut.
class mirror_output {
 public:
  explicit mirror_output(cut_data_type& cut) : cut_(cut) {}
  void put(float angle, float signal) {
    if (count_ >= MAX_SAMPLES) return;
    cut_.angle[count_] = angle;
    cut_.signal[count_] = signal;
    ++count_;
  }
  int count() const { return count_; }

 private:
  cut_data_type& cut_;
  int count_ = 0;
};

struct mirror_source {
  std::vector<float> a, s;
  int n = 0;
  // Index of the sample at exactly `angle` (the last one when it repeats);
  // without one, the first sample beyond it, or the last sample.
  int index_of(float angle) const {
    int found = -1;
    for (int i = 0; i < n; ++i)
      if (a[i] == angle) found = i;
    if (found >= 0) return found;
    for (int i = 0; i < n; ++i)
      if (a[i] > angle) return i;
    return n - 1;
  }
};

void mirror_top(const mirror_source& src, mirror_output& out) {
  const int i0 = src.index_of(0.0f);
  out.put(0.0f, src.s[i0]);
  int stop = src.n;
  for (int i = src.n - 1; i >= 1; --i) {
    const float mapped = 360.0f - src.a[i];
    if (mapped > 179.0f) {
      stop = i;
      break;
    }
    out.put(mapped, src.s[i]);
  }
  for (int i = stop; i < src.n; ++i) out.put(src.a[i], src.s[i]);
}

void mirror_right(const mirror_source& src, mirror_output& out) {
  const int i0 = src.index_of(0.0f), i90 = src.index_of(90.0f), i270 = src.index_of(270.0f);
  for (int i = i0; i < i90; ++i) out.put(src.a[i], src.s[i]);
  for (int i = i90; i >= 0; --i) {
    out.put(180.0f - src.a[i], src.s[i]);
    if (src.a[i] == 0.0f) break;
  }
  for (int i = src.n - 1; i > i270; --i) out.put(540.0f - src.a[i], src.s[i]);
  for (int i = i270; i < src.n; ++i) out.put(src.a[i], src.s[i]);
}

void mirror_bottom(const mirror_source& src, mirror_output& out) {
  int k = 0;
  while (k < src.n && src.a[k] <= 179.0f) {
    out.put(src.a[k], src.s[k]);
    ++k;
  }
  // A cut that ends before 180 degrees is mirrored from its last point.
  for (int i = k < src.n ? k : src.n - 1; i >= 1; --i) out.put(360.0f - src.a[i], src.s[i]);
}

void mirror_left(const mirror_source& src, mirror_output& out) {
  const int i180 = src.index_of(180.0f);
  int i90 = 0;
  for (int i = i180; i >= 0; --i) {
    out.put(180.0f - src.a[i], src.s[i]);
    i90 = i;
    if (src.a[i] == 90.0f) break;
  }
  int i270 = src.n;
  for (int i = i90 + 1; i < src.n; ++i) {
    out.put(src.a[i], src.s[i]);
    if (src.a[i] == 270.0f) {
      i270 = i;
      break;
    }
  }
  for (int i = i270 - 1; i >= 0; --i) {
    const float mapped = 540.0f - src.a[i];
    if (mapped > 359.0f) break;
    out.put(mapped, src.s[i]);
  }
}

// The mirror walks look for the samples at 0, 90, 180 and 270 degrees of a
// cut stored 0..359. A cut stored another way round (-180..179, -179..180)
// is turned to 0..359 for the walk and back to its own range afterwards.
struct compass_frame {
  bool turned = false;
  float low = 0.0f;     // the cut's first angle: its range is [low, low + 360)
  bool closed = false;  // the cut repeats its first point 360 degrees on
  int n = 0;            // points in the turned series
};

compass_frame to_compass(cut_data_type& cut, int n) {
  compass_frame f;
  f.n = n;
  float low = cut.angle[0], high = cut.angle[0];
  for (int i = 1; i < n; ++i) {
    low = std::min(low, cut.angle[i]);
    high = std::max(high, cut.angle[i]);
  }
  if (low >= 0.0f && high < 360.0f) return f;
  f.turned = true;
  f.low = low;
  f.closed = n > 1 && cut.angle[n - 1] == cut.angle[0] + 360.0f;
  std::vector<std::pair<float, float>> pts;
  for (int i = 0; i < n; ++i) {
    float a = std::fmod(cut.angle[i], 360.0f);
    if (a < 0.0f) a += 360.0f;
    pts.emplace_back(a, cut.signal[i]);
  }
  std::stable_sort(pts.begin(), pts.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  pts.erase(std::unique(pts.begin(), pts.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
            pts.end());
  f.n = static_cast<int>(pts.size());
  for (int i = 0; i < f.n; ++i) {
    cut.angle[i] = pts[static_cast<std::size_t>(i)].first;
    cut.signal[i] = pts[static_cast<std::size_t>(i)].second;
  }
  return f;
}

// Puts the first `n` points back into the cut's own range; returns the count.
int from_compass(cut_data_type& cut, const compass_frame& f, int n) {
  if (!f.turned) return n;
  std::vector<std::pair<float, float>> pts;
  for (int i = 0; i < n; ++i) {
    float a = cut.angle[i];
    if (a >= f.low + 360.0f) a -= 360.0f;
    if (a < f.low) a += 360.0f;
    pts.emplace_back(a, cut.signal[i]);
  }
  std::stable_sort(pts.begin(), pts.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  if (f.closed && !pts.empty() && static_cast<int>(pts.size()) < MAX_SAMPLES)
    pts.emplace_back(pts.front().first + 360.0f, pts.front().second);
  for (std::size_t i = 0; i < pts.size(); ++i) {
    cut.angle[i] = pts[i].first;
    cut.signal[i] = pts[i].second;
  }
  return static_cast<int>(pts.size());
}

}  // namespace

int mirror_cut_data(lobe_state& st, int quad) {
  int f_sel = -1, c_sel = -1;
  for (int f = 0; f < st.pd.nofreq && f < MAX_FREQ && f_sel < 0; ++f)
    for (int c = 0; c < st.pd.freq[f].numcut && c < MAX_CUTS; ++c)
      if (!st.flags.cut[f][c].hide) {
        f_sel = f;
        c_sel = c;
        break;
      }
  if (f_sel < 0) return MIRROR_NO_CUT;
  st.edit.capture_freq = f_sel;
  st.edit.capture_cut = c_sel;
  cut_data_type& cut = st.pd.freq[f_sel].cut[c_sel];
  const int n = stored_points(cut);
  if (n == 0) return MIRROR_NO_POINTS;

  save_for_undo(st, f_sel, c_sel, cut);
  const compass_frame frame = to_compass(cut, n);
  mirror_source src;
  src.n = frame.n;
  src.a.assign(cut.angle, cut.angle + frame.n);
  src.s.assign(cut.signal, cut.signal + frame.n);
  mirror_output out(cut);
  switch (quad) {
    case ID_LABS_MIRROR_TOP: mirror_top(src, out); break;
    case ID_LABS_MIRROR_RIGHT: mirror_right(src, out); break;
    case ID_LABS_MIRROR_BOTTOM: mirror_bottom(src, out); break;
    case ID_LABS_MIRROR_LEFT: mirror_left(src, out); break;
    default:
      from_compass(cut, frame, frame.n);
      return n == MAX_BEARINGS ? MIRROR_OK : MIRROR_NOT_360;
  }
  cut.nupoin = from_compass(cut, frame, out.count());
  if (cut.nupoin < MAX_SAMPLES) cut.angle[cut.nupoin] = END_MARKER;
  return n == MAX_BEARINGS ? MIRROR_OK : MIRROR_NOT_360;
}

mirror_message mirror_result_message(int code) {
  switch (code) {
    case MIRROR_NO_CUT: return {"No cut found to mirror", true};
    case MIRROR_NO_POINTS: return {"Cut has no points to mirror", true};
    case MIRROR_NOT_360: return {"Results are unpredictable unless there are 360 points to mirror", false};
    default: return {nullptr, false};
  }
}

void undo_cut_data_edit(lobe_state& st) {
  if (st.edit.undo_fr_cut < 0) return;
  cut_data_type* cut = cut_at(st, st.edit.undo_fr_freq, st.edit.undo_fr_cut);
  if (!cut) return;
  // The edit may have changed the count (a mirror rebuilds the series); the
  // cut comes back as it was saved, count and first/last angles included.
  if (count_in(st.edit.undo_nupoin, MAX_SAMPLES) == 0) return;  // nothing was saved: the undo stays armed
  for (int i = 0; i < MAX_SAMPLES; ++i) {
    cut->angle[i] = st.edit.undo_buffer[i][SIG_BUF_ANGLE];
    cut->signal[i] = st.edit.undo_buffer[i][SIG_BUF_SIGNAL];
  }
  cut->nupoin = st.edit.undo_nupoin;
  cut->fstlst[0] = st.edit.undo_fstlst[0];
  cut->fstlst[1] = st.edit.undo_fstlst[1];
  st.edit.undo_fr_cut = -1;
}

}  // namespace lobe
