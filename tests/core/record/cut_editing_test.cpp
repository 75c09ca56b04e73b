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

TEST(CutEditing, MovingAverageIsCircularAndReReferencedAndEmptyCutsArmUndo) {
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

  test::put_cut(*h.st, 0, 0, "H", {});
  moving_average_cut_data(*h.st);
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

TEST(CutEditing, MirrorResultCodes) {
  harness h;
  EXPECT_EQ(mirror_cut_data(*h.st, ID_LABS_MIRROR_TOP), MIRROR_NO_CUT);
  test::put_full_cut(*h.st, 0, 0, "H", [](int a) { return a * 0.1; });
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
  std::vector<float> even;
  for (int a = 0; a < 360; a += 2) even.push_back(static_cast<float>(a));
  EXPECT_EQ(angles(steps.cut(0, 0)), even) << "mirrored all the same";
  EXPECT_FLOAT_EQ(steps.cut(0, 0).signal[1], 35.8f);

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
