// The bundled samples load cleanly in every format and look like the
// antennas they model.
#include <gtest/gtest.h>

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


}  // namespace
}  // namespace lobe
