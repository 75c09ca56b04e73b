#include "core/formats/file_types.h"

#include <gtest/gtest.h>

#include "core/record/lobeview.h"

namespace lobe {
namespace {

TEST(FileTypes, OpenCommandTakesTheExtensionInAnyCase) {
  EXPECT_EQ(open_type_from_extension("nsma"), FT_NSMA99);
  EXPECT_EQ(open_type_from_extension("Nsma"), FT_NSMA99);
  EXPECT_EQ(open_type_from_extension("LABZ"), FT_LABZ);
  EXPECT_EQ(open_type_from_extension("adf"), FT_ADF);
  EXPECT_EQ(open_type_from_extension("aNt"), FT_ANT);
  EXPECT_EQ(open_type_from_extension("TXT"), FT_4NEC);
  EXPECT_EQ(open_type_from_extension("pla"), FT_PLANET);
  EXPECT_EQ(open_type_from_extension("msi"), FT_PLANET);
  EXPECT_EQ(open_type_from_extension(""), FT_PLANET);
}

TEST(FileTypes, DialogExtensionReadsAtMostFourCharacters) {
  EXPECT_EQ(dialog_extension("/data/p.nsma"), "nsma");
  EXPECT_EQ(dialog_extension("/data/p.nsmaold"), "nsma");
  EXPECT_EQ(dialog_extension("/data/p.v2.Ant"), "Ant");
  EXPECT_EQ(dialog_extension("/data.d/pattern"), "");
  EXPECT_EQ(dialog_extension("C:\\x.y\\p.adf"), "adf");
  EXPECT_EQ(dialog_extension("/data/p.ab cd"), "ab");
}

TEST(FileTypes, StartupNameRuleIsSubstringsWithLaterMatchesWinning) {
  EXPECT_EQ(startup_type_from_name("/x/site.antenna.nsma"), FT_ANT);
  EXPECT_EQ(startup_type_from_name("/x/pattern.Nsma"), 0);
  EXPECT_EQ(startup_type_from_name("/x/pattern.NSMA"), FT_NSMA99);
  EXPECT_EQ(startup_type_from_name("/x/p.labz"), FT_LABZ);
  EXPECT_EQ(startup_type_from_name("/x/p.ADF"), FT_ADF);
  EXPECT_EQ(startup_type_from_name("/x/p.placid.nsma"), FT_PLANET);
  EXPECT_EQ(startup_type_from_name("/x/p.txt"), 0);
  EXPECT_EQ(startup_type_from_name("/x/p.msi"), 0);
}

TEST(FileTypes, SaveRouting) {
  EXPECT_EQ(save_type_from_extension("labz"), FT_LABZ);
  EXPECT_EQ(save_type_from_extension("NSMA"), FT_NSMA99);
  EXPECT_EQ(save_type_from_extension("Adf"), FT_ADF);
  EXPECT_EQ(save_type_from_extension("ant"), FT_ANT);
  EXPECT_EQ(save_type_from_extension("txt"), FT_PLANET);
  EXPECT_EQ(save_type_from_extension("pla"), FT_PLANET);
}

}  // namespace
}  // namespace lobe
