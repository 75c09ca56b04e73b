// The bundled samples load cleanly in every format and look like the
// antennas they model.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/formats/antenna_loader.h"
#include "core/formats/file_types.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

bool load_sample(harness& h, const std::string& name) {
  const std::string path = std::string(LOBE_SAMPLES) + "/" + name;
  return open_file(*h.st, h.log, path, dialog_extension(path)).ok;
}

// Width of the region within 3 dB of the peak around the peak's angle.
int half_power_width(const cut_data_type& c) {
  int peak = 0;
  for (int i = 0; i < c.nupoin; ++i)
    if (c.signal[i] < c.signal[peak]) peak = i;
  int width = 1;
  for (int d = 1; d < c.nupoin / 2 && c.signal[(peak + d) % c.nupoin] < 3.0f; ++d) ++width;
  for (int d = 1; d < c.nupoin / 2 && c.signal[(peak - d + c.nupoin) % c.nupoin] < 3.0f; ++d) ++width;
  return width;
}

TEST(Samples, EveryFormatLoadsWithoutComplaint) {
  const struct {
    const char* name;
    int type;
    int nofreq;
  } samples[] = {{"dipole.nsma", FT_NSMA99, 1},      {"yagi.nsma", FT_NSMA99, 2},
                 {"panel.nsma", FT_NSMA99, 3},       {"panel.adf", FT_ADF, 3},
                 {"panel.labz", FT_LABZ, 3},         {"panel.pla", FT_PLANET, 1},
                 {"panel.ant", FT_ANT, 1},           {"panel-older-layout.nsma", FT_NSMA89, 1},
                 {"panel-vertical-4nec.txt", FT_4NEC, 1}};
  for (const auto& s : samples) {
    harness h;
    ASSERT_TRUE(load_sample(h, s.name)) << s.name;
    EXPECT_EQ(h.st->file.file_type, s.type) << s.name;
    EXPECT_EQ(h.st->file.file_errors, 0) << s.name;
    EXPECT_EQ(h.st->pd.nofreq, s.nofreq) << s.name;
    EXPECT_GE(h.cut(0, 0).nupoin, 359) << s.name;
  }
}

TEST(Samples, AntennasLookTheirPart) {
  harness panel;
  ASSERT_TRUE(load_sample(panel, "panel.nsma"));
  EXPECT_NEAR(half_power_width(panel.cut(1, 0)), 65, 3) << "a 65 degree sector";
  int tilt = 0;
  for (int i = 0; i < 360; ++i)
    if (panel.cut(1, 1).signal[i] < panel.cut(1, 1).signal[tilt]) tilt = i;
  EXPECT_NEAR(tilt, 6, 1) << "the beam points 6 degrees down";

  harness dipole;
  ASSERT_TRUE(load_sample(dipole, "dipole.nsma"));
  EXPECT_NEAR(half_power_width(dipole.cut(0, 1)), 78, 2) << "a half-wave dipole's 78 degrees";

  harness labz;
  ASSERT_TRUE(load_sample(labz, "panel.labz"));
  EXPECT_STREQ(labz.st->view.envelope_disp_requested, "Class B wide");
  EXPECT_FLOAT_EQ(labz.st->all_emax, 812.5f);
}

}  // namespace
}  // namespace lobe
