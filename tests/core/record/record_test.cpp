// The pattern record's own rules: clearing, the limits of its tables, the
// half-power crossings read from a cut, the cut edits (moving average,
// mirror, Undo), and the gain with its unit (read where it is used, written
// where a format has a field for it, kept through conversions, and the
// exposure figures from it).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <tuple>
#include <vector>

#include "core/session/antenna_loader.h"
#include "core/formats/nsma_writer.h"
#include "core/formats/planet_format.h"
#include "core/record/cut_editing.h"
#include "core/record/gain_units.h"
#include "core/record/half_power.h"
#include "core/record/lobe_state.h"
#include "core/record/pattern_record.h"
#include "core/text/field_text.h"
#include "support/test_support.h"

namespace lobe {
namespace {

TEST(PatternRecord, ClearingCutDataTouchesOnlyCutsInUseAndTheFirst360Slots) {
  auto st = make_lobe_state();
  antenna_data_type& pd = st->pd;
  pd.nofreq = 1;
  pd.freq[0].numcut = 1;
  pd.freq[0].cut[0].signal[360] = 5.0f;
  pd.freq[0].cut[1].signal[0] = 6.0f;
  pd.freq[1].cut[0].signal[0] = 7.0f;
  clear_cut_data(pd);
  EXPECT_FLOAT_EQ(pd.freq[0].cut[0].signal[0], NO_SIG_DATA);
  EXPECT_FLOAT_EQ(pd.freq[0].cut[0].signal[359], NO_SIG_DATA);
  EXPECT_FLOAT_EQ(pd.freq[0].cut[0].signal[360], 5.0f);
  EXPECT_FLOAT_EQ(pd.freq[0].cut[1].signal[0], 6.0f);
  EXPECT_FLOAT_EQ(pd.freq[1].cut[0].signal[0], 7.0f);
  // A count past the table (a bad file) clears no further than the table.
  pd.freq[0].numcut = 100;
  for (int a = 0; a < MAX_SAMPLES; ++a) pd.freq[1].cut[0].angle[a] = pd.freq[1].cut[0].signal[a] = 1.0f + a;
  pd.nofreq = 1;
  const freq_data_type next = pd.freq[1];
  clear_cut_data(pd);
  EXPECT_EQ(std::memcmp(&next, &pd.freq[1], sizeof next), 0);
}

TEST(PatternRecord, AddingFrequenciesAndCutsStopsAtTheLimits) {
  auto st = make_lobe_state();
  for (int f = 0; f < MAX_FREQ; ++f) ASSERT_TRUE(add_freq_record(st->pd));
  EXPECT_FALSE(add_freq_record(st->pd));
  EXPECT_EQ(st->pd.nofreq, MAX_FREQ);
  st->flags.cut[2][0] = {1, 1};
  for (int c = 0; c < MAX_CUTS; ++c) ASSERT_TRUE(add_cut_record(st->pd, st->flags, 2));
  EXPECT_FALSE(add_cut_record(st->pd, st->flags, 2));
  EXPECT_FALSE(add_cut_record(st->pd, st->flags, MAX_FREQ));
  const cut_data_type& c = st->pd.freq[2].cut[0];
  EXPECT_FLOAT_EQ(c.emax, 1.0f);
  EXPECT_EQ(c.nupoin, 0);
  EXPECT_EQ(st->flags.cut[2][0].hide, 0);
  EXPECT_EQ(st->flags.cut[2][0].sweep_completed, 0) << "a new cut is not swept";
}

TEST(HalfPower, TheJoinOfAFullCircleAndGaps) {
  auto st = make_lobe_state();
  // Peak at 180; the crossing back up lies between 359 and 0 (the join).
  std::vector<std::pair<float, float>> pts;
  for (int a = 0; a < 360; ++a) pts.emplace_back(static_cast<float>(a), a == 359 ? 2.0f : (a == 0 ? 4.0f : (a < 180 ? 5.0f : 1.0f)));
  test::put_cut(*st, 0, 0, "V", pts);
  auto x = level_crossings(st->pd.freq[0].cut[0]);
  ASSERT_EQ(x.size(), 2u);
  EXPECT_FLOAT_EQ(x[0].angle, 179.5f);
  EXPECT_NEAR(x[1].angle, 359.5f, 1e-4f) << "across the join, inside the cut's range";
  EXPECT_TRUE(x[1].falling);
  // A crossing on the first sample itself, reached across the join, is told at its own angle.
  test::put_full_cut(*st, 0, 2, "V", [](int a) { return a == 359 ? 2.0 : (a == 0 ? 3.0 : (a < 180 ? 5.0 : 1.0)); });
  for (const level_crossing& c : level_crossings(st->pd.freq[0].cut[2])) {
    EXPECT_GE(c.angle, 0.0f);
    EXPECT_LT(c.angle, 360.0f);
  }
  // No crossing is made up across a gap (no reading).
  test::put_cut(*st, 0, 1, "V", {{0, 1}, {1, 99}, {2, 5}});
  EXPECT_TRUE(level_crossings(st->pd.freq[0].cut[1]).empty());
  // Falling to exactly 3 dB is half power: down and up again at that sample.
  test::put_cut(*st, 0, 3, "H", {{0, 0}, {10, 3.0f}, {20, 0}, {200, 0}});
  x = level_crossings(st->pd.freq[0].cut[3]);
  ASSERT_EQ(x.size(), 2u);
  EXPECT_FLOAT_EQ(x[0].angle, 10.0f);
  EXPECT_TRUE(x[0].falling);
  EXPECT_FLOAT_EQ(x[1].angle, 10.0f);
  EXPECT_FALSE(x[1].falling);
  // Nor across the join when the first sample is a gap.
  test::put_full_cut(*st, 0, 4, "H", [](int a) { return a == 0 ? 99.0 : 1.0; });
  EXPECT_TRUE(level_crossings(st->pd.freq[0].cut[4]).empty());
  // A cut that never drops to half power has none.
  test::put_cut(*st, 0, 2, "H", {{0, 0}, {90, 1}, {180, 2.9f}, {270, 1}});
  EXPECT_TRUE(level_crossings(st->pd.freq[0].cut[2]).empty());
}

using test::harness;

std::vector<float> signals(const cut_data_type& c) { return {c.signal, c.signal + c.nupoin}; }

TEST(CutEditing, MovingAverageIsCircularAndReReferencedAndEmptyCutsArmUndo) {
  harness h;
  test::put_cut(*h.st, 0, 0, "H", {{0, 0}, {90, 3}, {180, 6}, {270, 3}});
  moving_average_cut_data(*h.st, 0, 0);
  EXPECT_EQ(signals(h.cut(0, 0)), (std::vector<float>{0, 1, 2, 1}));
  EXPECT_EQ(h.st->edit.undo_fr_cut, 0);
  undo_cut_data_edit(*h.st);
  EXPECT_EQ(signals(h.cut(0, 0)), (std::vector<float>{0, 3, 6, 3}));
  EXPECT_EQ(h.st->edit.undo_fr_cut, -1);

  test::put_cut(*h.st, 0, 0, "H", {{0, 3}, {1, 9}});
  moving_average_cut_data(*h.st, 0, 0);
  // (2*9 + 3)/3 = 7 and (2*3 + 9)/3 = 5, less the smaller.
  EXPECT_EQ(signals(h.cut(0, 0)), (std::vector<float>{2, 0}));

  test::put_cut(*h.st, 0, 0, "H", {{0, 95}, {1, 95}, {2, 95}});
  moving_average_cut_data(*h.st, 0, 0);
  EXPECT_EQ(signals(h.cut(0, 0)), (std::vector<float>{5, 5, 5})) << "all 90 or more: everything drops by 90";

  test::put_cut(*h.st, 0, 0, "H", {});
  moving_average_cut_data(*h.st, 0, 0);
  EXPECT_EQ(h.st->edit.undo_fr_cut, 0);
  undo_cut_data_edit(*h.st);
  EXPECT_EQ(h.st->edit.undo_fr_cut, 0) << "nothing to put back: the undo stays armed";
}

// Each mirror keeps one half of the cut and reflects it onto the other, in
// whatever angle range the cut is stored; the result stays in that range in
// angle order, mirroring again changes nothing, and Undo gives the cut back
// byte for byte.
TEST(CutEditing, MirrorKeepsOneHalfAndReflectsItInAnyAngleRange) {
  const struct {
    int quad;
    bool (*kept)(int);
    int axis;  // twice the mirror line's angle: a is reflected to axis - a
  } quads[] = {
      {ID_LABS_MIRROR_TOP, [](int a) { return a == 0 || a >= 180; }, 360},
      {ID_LABS_MIRROR_BOTTOM, [](int a) { return a <= 180; }, 360},
      {ID_LABS_MIRROR_RIGHT, [](int a) { return a <= 90 || a >= 270; }, 180},
      {ID_LABS_MIRROR_LEFT, [](int a) { return a >= 90 && a <= 270; }, 180},
  };
  const struct {
    const char* name;
    int first, count;
  } layouts[] = {{"0..359", 0, 360}, {"-180..179", -180, 360}, {"-179..180", -179, 360}, {"-180..180", -180, 361}};
  auto wrap = [](int a) { return ((a % 360) + 360) % 360; };
  for (const auto& l : layouts)
    for (const auto& q : quads) {
      SCOPED_TRACE(std::string(l.name) + " quad " + std::to_string(q.quad));
      harness h;
      std::vector<std::pair<float, float>> pts;
      for (int a = l.first; a < l.first + l.count; ++a) pts.emplace_back(a, wrap(a) * 0.1f);
      test::put_cut(*h.st, 0, 0, "H", pts);
      h.st->pd.freq[0].cut[0].fstlst[0] = -1.5f;  // Undo gives back these too
      h.st->pd.freq[0].cut[0].fstlst[1] = 181.5f;
      const cut_data_type before = h.cut(0, 0);
      const int whole = l.count == 360 ? MIRROR_OK : MIRROR_NOT_360;
      EXPECT_EQ(mirror_cut_data(*h.st, q.quad), whole);
      const cut_data_type& c = h.cut(0, 0);
      for (int i = 0; i < c.nupoin; ++i) {
        ASSERT_GE(c.angle[i], l.first) << "stays in its own range";
        ASSERT_LE(c.angle[i], l.first + l.count - 1);
        ASSERT_TRUE(i == 0 || c.angle[i] > c.angle[i - 1]) << "in angle order";
        const int a = wrap(static_cast<int>(c.angle[i]));
        ASSERT_EQ(c.signal[i], (q.kept(a) ? a : wrap(q.axis - a)) * 0.1f) << "at " << c.angle[i];
      }
      EXPECT_GE(c.nupoin, 360);
      const auto once = signals(c);
      EXPECT_EQ(mirror_cut_data(*h.st, q.quad), whole);
      EXPECT_EQ(signals(c), once);
      undo_cut_data_edit(*h.st);
      EXPECT_EQ(signals(c), once) << "Undo undoes one step";
      h.st->pd.freq[0].cut[0] = before;
      mirror_cut_data(*h.st, q.quad);
      undo_cut_data_edit(*h.st);
      EXPECT_EQ(std::memcmp(&h.cut(0, 0), &before, sizeof before), 0) << "Undo gives the cut back whole";
    }
}

// A mirror that has nothing to work on changes nothing and arms no undo; one
// of fewer than 360 points is done, with a warning rather than an error.
TEST(CutEditing, MirrorRefusalsLeaveTheRecordAndTheUndoAlone) {
  harness h;
  auto record = [&] { return std::string(reinterpret_cast<const char*>(&h.st->pd), sizeof h.st->pd); };
  std::string before = record();
  EXPECT_EQ(mirror_cut_data(*h.st, ID_LABS_MIRROR_TOP), MIRROR_NO_CUT);
  test::put_cut(*h.st, 0, 0, "V", {});
  before = record();
  EXPECT_EQ(mirror_cut_data(*h.st, ID_LABS_MIRROR_TOP), MIRROR_NO_POINTS);
  EXPECT_EQ(record(), before);
  EXPECT_EQ(h.st->edit.undo_fr_cut, -1) << "nothing to take back";
  EXPECT_TRUE(mirror_result_message(MIRROR_NO_POINTS).error);
  test::put_cut(*h.st, 0, 0, "V", {{0, 0}, {10, 3}, {20, 6}});
  EXPECT_EQ(mirror_cut_data(*h.st, ID_LABS_MIRROR_TOP), MIRROR_NOT_360);
  EXPECT_EQ(h.st->edit.undo_fr_cut, 0) << "done, and armed";
  EXPECT_FALSE(mirror_result_message(MIRROR_NOT_360).error);
  EXPECT_EQ(mirror_result_message(MIRROR_OK).text, nullptr);
}

// Cuts that are not 360 whole degrees: the result stays inside the record,
// and Undo gives back the cut whole, count and all.
TEST(CutEditing, MirrorOfOddCutsStaysInsideTheRecordAndUndoes) {
  for (int quad : {ID_LABS_MIRROR_TOP, ID_LABS_MIRROR_RIGHT, ID_LABS_MIRROR_BOTTOM, ID_LABS_MIRROR_LEFT}) {
    for (int kind = 0; kind < 3; ++kind) {
      harness h;
      std::vector<std::pair<float, float>> pts;
      if (kind == 0)
        for (int i = 0; i < MAX_SAMPLES; ++i) pts.emplace_back(400.0f - i * 1.3f, 1.0f);  // descending, beyond 360
      if (kind == 1)
        for (int a = 0; a < 180; ++a) pts.emplace_back(a + 0.5f, 1.0f);  // half-degree angles
      if (kind == 2)
        for (int a = 0; a < 180; a += 3) pts.emplace_back(static_cast<float>(a), a * 0.05f);  // half a cut
      test::put_cut(*h.st, 0, 0, "V", pts);
      const cut_data_type before = h.cut(0, 0);
      const int result = mirror_cut_data(*h.st, quad);
      if (kind > 0) {
        EXPECT_EQ(result, MIRROR_NOT_360);
      }
      EXPECT_GE(h.cut(0, 0).nupoin, 0);
      EXPECT_LE(h.cut(0, 0).nupoin, MAX_SAMPLES);
      undo_cut_data_edit(*h.st);
      EXPECT_EQ(std::memcmp(&h.cut(0, 0), &before, sizeof before), 0) << quad << " kind " << kind;
    }
  }
}


TEST(GainUnits, AnExplicitUnitWinsElseGunitsElseDbd) {
  struct row {
    const char* gain;
    const char* gunits;
    bool valid;
    float value;
    gain_unit unit;
    bool in_text;
  };
  for (const row& r : {row{"10.00 dBi", "DBD/DBD", true, 10.0f, gain_unit::dbi, true},
                       row{"16.95 dBd", "DBI/DBI", true, 16.95f, gain_unit::dbd, true},
                       row{"18.5dbi", "", true, 18.5f, gain_unit::dbi, true},
                       row{"10.0", "DBI/DBR", true, 10.0f, gain_unit::dbi, false},
                       row{" 7 ", "dbd/dbd", true, 7.0f, gain_unit::dbd, false},
                       row{"7", "", true, 7.0f, gain_unit::dbd, false},
                       row{"7 dB", "DBI/DBI", true, 7.0f, gain_unit::dbi, false},
                       row{"", "DBI/DBI", false, 0.0f, gain_unit::dbi, false},
                       row{"n/a", "", false, 0.0f, gain_unit::dbd, false}}) {
    const gain_reading g = read_gain(r.gain, r.gunits);
    EXPECT_EQ(g.valid, r.valid) << r.gain;
    EXPECT_FLOAT_EQ(g.value, r.value) << r.gain;
    EXPECT_EQ(g.unit, r.unit) << r.gain << " / " << r.gunits;
    EXPECT_EQ(g.unit_in_text, r.in_text) << r.gain;
  }
  EXPECT_EQ(read_gain("10.00 dBi", "").number, "10.00");
  EXPECT_FLOAT_EQ(read_gain("10 dBi", "").dbd(), 7.85f);
  EXPECT_FLOAT_EQ(read_gain("10", "").dbi(), 12.15f);
}

// NSMA writes a plain number under GUNITS: a gain with its own unit moves the
// unit there, unless low- and high-band gains already stand under GUNITS
// (then the gain is converted).
TEST(GainUnits, NsmaWritesAPlainNumberUnderItsUnit) {
  for (const auto& [mdgain, lwgain, gunits, mdgain_out] :
       {std::tuple{"10.00 dBi", "", "DBI/DBI", "10.00"}, {"10.00 dBi", "15.0", "DBD/DBD", "7.85"},
        {"9.1", "15.0", "DBD/DBD", "9.1"}}) {
    antenna_data_type pd{};
    set_field(pd.gunits, "DBD/DBD");
    set_field(pd.mdgain, mdgain);
    set_field(pd.lwgain, lwgain);
    const nsma_gain_fields f = nsma_gain_fields_of(pd);
    EXPECT_EQ(f.gunits, gunits) << mdgain;
    EXPECT_EQ(f.mdgain, mdgain_out) << mdgain;
  }
}

}  // namespace
}  // namespace lobe
