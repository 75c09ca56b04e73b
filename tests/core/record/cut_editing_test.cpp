#include "core/record/cut_editing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

std::vector<float> signals(const cut_data_type& c) { return {c.signal, c.signal + c.nupoin}; }
std::vector<float> angles(const cut_data_type& c) { return {c.angle, c.angle + c.nupoin}; }

TEST(CutEditing, ShiftRotatesSignalsOnlyAndUndoesItself) {
  harness h;
  test::put_cut(*h.st, 0, 0, "H", {{0, 1}, {1, 2}, {2, 3}, {3, 4}});
  const auto before = signals(h.cut(0, 0));
  shift_cut_data(*h.st, 1);
  EXPECT_EQ(signals(h.cut(0, 0)), (std::vector<float>{4, 1, 2, 3}));
  EXPECT_EQ(angles(h.cut(0, 0)), (std::vector<float>{0, 1, 2, 3}));
  shift_cut_data(*h.st, -1);
  EXPECT_EQ(signals(h.cut(0, 0)), before);
  EXPECT_EQ(h.st->edit.undo_fr_cut, -1);

  test::put_cut(*h.st, 0, 1, "H", {{0, 5}});
  h.st->edit.capture_cut = 1;
  shift_cut_data(*h.st, 1);
  EXPECT_FLOAT_EQ(h.cut(0, 1).signal[0], 5.0f);
}

TEST(CutEditing, MovingAverageIsCircularAndReReferenced) {
  harness h;
  test::put_cut(*h.st, 0, 0, "H", {{0, 0}, {90, 3}, {180, 6}, {270, 3}});
  moving_average_cut_data(*h.st);
  EXPECT_EQ(signals(h.cut(0, 0)), (std::vector<float>{0, 1, 2, 1}));
  EXPECT_EQ(h.st->edit.undo_fr_cut, 0);
  undo_cut_data_edit(*h.st);
  EXPECT_EQ(signals(h.cut(0, 0)), (std::vector<float>{0, 3, 6, 3}));
  EXPECT_EQ(h.st->edit.undo_fr_cut, -1);

  test::put_cut(*h.st, 0, 0, "H", {{0, 3}, {1, 9}});
  moving_average_cut_data(*h.st);
  // (2*9 + 3)/3 = 7 and (2*3 + 9)/3 = 5, less the smaller.
  EXPECT_EQ(signals(h.cut(0, 0)), (std::vector<float>{2, 0}));

  test::put_cut(*h.st, 0, 0, "H", {{0, 95}, {1, 95}, {2, 95}});
  moving_average_cut_data(*h.st);
  EXPECT_EQ(signals(h.cut(0, 0)), (std::vector<float>{5, 5, 5})) << "all 90 or more: everything drops by 90";
}

TEST(CutEditing, EmptyCutArmsUndoWithoutChange) {
  harness h;
  test::put_cut(*h.st, 0, 0, "H", {});
  moving_average_cut_data(*h.st);
  EXPECT_EQ(h.st->edit.undo_fr_cut, 0);
  undo_cut_data_edit(*h.st);
  EXPECT_EQ(h.st->edit.undo_fr_cut, 0) << "nothing to put back: the undo stays armed";
}

// A 360-point cut whose level at angle a is a distinct value.
void full_cut(harness& h) {
  test::put_full_cut(*h.st, 0, 0, "H", [](int a) { return a * 0.1; });
}

float level_at(const cut_data_type& c, int angle) {
  for (int i = 0; i < c.nupoin; ++i)
    if (c.angle[i] == static_cast<float>(angle)) return c.signal[i];
  ADD_FAILURE() << "no point at " << angle;
  return -1;
}

// Each half of a 0..359 cut is kept and its mirror image replaces the other.
TEST(CutEditing, MirrorKeepsOneHalfAndReflectsIt) {
  using angle_test = bool (*)(int);
  const struct {
    int quad;
    angle_test kept;
    int axis;  // twice the mirror line's angle: a is reflected to axis - a
  } rows[] = {
      {ID_LABS_MIRROR_TOP, [](int a) { return a == 0 || a >= 180; }, 360},
      {ID_LABS_MIRROR_BOTTOM, [](int a) { return a <= 180; }, 360},
      {ID_LABS_MIRROR_RIGHT, [](int a) { return a <= 90 || a >= 270; }, 180},
      {ID_LABS_MIRROR_LEFT, [](int a) { return a >= 90 && a <= 270; }, 180},
  };
  for (const auto& r : rows) {
    harness h;
    full_cut(h);
    EXPECT_EQ(mirror_cut_data(*h.st, r.quad), MIRROR_OK);
    const cut_data_type& c = h.cut(0, 0);
    ASSERT_EQ(c.nupoin, 360);
    std::vector<bool> seen(360, false);
    for (int i = 0; i < 360; ++i) {
      const int a = static_cast<int>(c.angle[i]);
      ASSERT_TRUE(a >= 0 && a < 360 && !seen[a]) << "whole degrees, each once: " << a;
      seen[a] = true;
    }
    for (int a = 0; a < 360; ++a) {
      if (!r.kept(a)) continue;
      EXPECT_FLOAT_EQ(level_at(c, a), a * 0.1f) << r.quad << " keeps " << a;
      EXPECT_FLOAT_EQ(level_at(c, ((r.axis - a) % 360 + 360) % 360), a * 0.1f) << r.quad << " reflects " << a;
    }
    // Mirrored again the same way: a symmetric cut stays; Undo undoes one step.
    const auto once = signals(c);
    EXPECT_EQ(mirror_cut_data(*h.st, r.quad), MIRROR_OK);
    EXPECT_EQ(signals(c), once);
    undo_cut_data_edit(*h.st);
    EXPECT_EQ(signals(c), once);
  }
  harness back;
  full_cut(back);
  mirror_cut_data(*back.st, ID_LABS_MIRROR_TOP);
  undo_cut_data_edit(*back.st);
  for (int a = 0; a < 360; ++a) ASSERT_FLOAT_EQ(back.cut(0, 0).signal[a], a * 0.1f);
}

// A cut stored the other way round mirrors as its 0..359 twin does, stays in
// its own angle range, and Undo gives it back byte for byte.
TEST(CutEditing, MirrorKeepsOtherAngleRangesAndUndoRestoresTheCutExactly) {
  struct layout {
    const char* name;
    int first, step, count;
  };
  const int quads[] = {ID_LABS_MIRROR_TOP, ID_LABS_MIRROR_RIGHT, ID_LABS_MIRROR_BOTTOM, ID_LABS_MIRROR_LEFT};
  auto level = [](int a) { return ((a % 360) + 360) % 360 * 0.1; };
  for (const layout& l : {layout{"0..359", 0, 1, 360}, layout{"-180..179", -180, 1, 360},
                          layout{"-179..180", -179, 1, 360}, layout{"-180..180", -180, 1, 361},
                          layout{"2-degree steps", -180, 2, 180}}) {
    for (int quad : quads) {
      SCOPED_TRACE(std::string(l.name) + " quad " + std::to_string(quad));
      harness h, twin;
      std::vector<std::pair<float, float>> pts, twin_pts;
      for (int i = 0; i < l.count; ++i) {
        const int a = l.first + i * l.step;
        pts.emplace_back(static_cast<float>(a), static_cast<float>(level(a)));
      }
      for (int a = 0; a < 360; a += l.step) twin_pts.emplace_back(static_cast<float>(a), static_cast<float>(level(a)));
      test::put_cut(*h.st, 0, 0, "H", pts);
      test::put_cut(*twin.st, 0, 0, "H", twin_pts);
      const cut_data_type before = h.cut(0, 0);
      mirror_cut_data(*h.st, quad);
      mirror_cut_data(*twin.st, quad);
      const cut_data_type& c = h.cut(0, 0);
      const cut_data_type& t = twin.cut(0, 0);
      const int low = l.first, high = l.first + (l.count - 1) * l.step;
      for (int i = 0; i < c.nupoin; ++i) {
        ASSERT_GE(c.angle[i], low) << "stays in its own range";
        ASSERT_LE(c.angle[i], high);
        if (i == 0) continue;
        ASSERT_GT(c.angle[i], c.angle[i - 1]) << "in angle order";
      }
      // Every angle the twin has, the cut has with the same level.
      int matched = 0;
      for (int j = 0; j < t.nupoin; ++j)
        for (int i = 0; i < c.nupoin; ++i)
          if (std::fmod(c.angle[i] + 360.0f, 360.0f) == t.angle[j]) {
            ASSERT_FLOAT_EQ(c.signal[i], t.signal[j]) << "at " << t.angle[j];
            ++matched;
            break;
          }
      EXPECT_EQ(matched, t.nupoin);
      undo_cut_data_edit(*h.st);
      EXPECT_EQ(std::memcmp(&h.cut(0, 0), &before, sizeof before), 0) << "Undo gives the cut back whole";
    }
  }
}

TEST(CutEditing, MirrorResultCodes) {
  harness h;
  EXPECT_EQ(mirror_cut_data(*h.st, ID_LABS_MIRROR_TOP), MIRROR_NO_CUT);
  full_cut(h);
  h.st->flags.cut[0][0].hide = 1;
  EXPECT_EQ(mirror_cut_data(*h.st, ID_LABS_MIRROR_TOP), MIRROR_NO_CUT);
  test::put_cut(*h.st, 0, 1, "V", {});
  EXPECT_EQ(mirror_cut_data(*h.st, ID_LABS_MIRROR_TOP), MIRROR_NO_POINTS);
  EXPECT_EQ(h.st->edit.capture_cut, 1);

  harness steps;
  std::vector<std::pair<float, float>> pts;
  for (int a = 0; a < 360; a += 2) pts.emplace_back(a, a * 0.1f);
  test::put_cut(*steps.st, 0, 0, "H", pts);
  EXPECT_EQ(mirror_cut_data(*steps.st, ID_LABS_MIRROR_TOP), MIRROR_NOT_360);
  const cut_data_type& c = steps.cut(0, 0);
  ASSERT_EQ(c.nupoin, 180);
  EXPECT_FLOAT_EQ(c.angle[0], 0.0f);
  EXPECT_FLOAT_EQ(c.angle[1], 2.0f);
  EXPECT_FLOAT_EQ(c.signal[1], 35.8f);
  EXPECT_FLOAT_EQ(c.angle[89], 178.0f);
  EXPECT_FLOAT_EQ(c.angle[90], 180.0f);
  EXPECT_FLOAT_EQ(c.angle[179], 358.0f);

  EXPECT_STREQ(mirror_result_message(MIRROR_NO_CUT).text, "No cut found to mirror");
  EXPECT_STREQ(mirror_result_message(MIRROR_NO_POINTS).text, "Cut has no points to mirror");
  EXPECT_STREQ(mirror_result_message(MIRROR_NOT_360).text,
               "Results are unpredictable unless there are 360 points to mirror");
  EXPECT_FALSE(mirror_result_message(MIRROR_NOT_360).error);
  EXPECT_EQ(mirror_result_message(MIRROR_OK).text, nullptr);
}

// A cut that ends before 180 degrees is mirrored downwards from its last point.
TEST(CutEditing, BottomMirrorOfAShortCutStartsFromItsLastPoint) {
  harness h;
  std::vector<std::pair<float, float>> pts;
  for (int a = 0; a <= 170; a += 10) pts.emplace_back(static_cast<float>(a), a * 0.1f);
  test::put_cut(*h.st, 0, 0, "H", pts);
  EXPECT_EQ(mirror_cut_data(*h.st, ID_LABS_MIRROR_BOTTOM), MIRROR_NOT_360);
  const cut_data_type& c = h.cut(0, 0);
  ASSERT_EQ(c.nupoin, 18 + 17);
  EXPECT_EQ(angles(c)[18], 190.0f);
  EXPECT_FLOAT_EQ(c.signal[18], 17.0f);
  EXPECT_EQ(angles(c).back(), 350.0f);
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

}  // namespace
}  // namespace lobe
