// The gain and its unit (read where it is used, written where a format has a
// field for it, kept through conversions), and the exposure figures from it.
#include "core/record/gain_units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "core/formats/antenna_loader.h"
#include "core/record/emr_exposure.h"
#include "core/text/field_text.h"
#include "core/formats/file_types.h"
#include "core/formats/nsma_writer.h"
#include "core/formats/planet_format.h"
#include "core/formats/save_routing.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

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

TEST(GainUnits, ExposureUsesTheGainInItsOwnUnit) {
  // A 10 dBi antenna is 10 dBi, not 12.15: EIRP 200 W x 10.
  const emr_transmitter dbi = emr_transmitter_quantities(200.0f, 0.0f, "10.00 dBi", "DBD/DBD");
  EXPECT_FLOAT_EQ(dbi.GainDBi, 10.0f);
  EXPECT_NEAR(dbi.EIRP, 2000.0f, 0.01f);
  EXPECT_FLOAT_EQ(emr_transmitter_quantities(200.0f, 0.0f, "10", "DBI/DBI").GainDBi, 10.0f);
  EXPECT_FLOAT_EQ(emr_transmitter_quantities(200.0f, 0.0f, "10", "DBD/DBD").GainDBi, 12.15f);
  EXPECT_FLOAT_EQ(emr_transmitter_quantities(200.0f, 0.0f, "10").GainDBi, 12.15f) << "no unit anywhere: dBd";
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

// Reads `path`, saves it as `ext`, reads that back.
void convert(harness& from, harness& to, const std::string& path, const char* ext, test::temp_dir& dir) {
  ASSERT_TRUE(open_file(*from.st, from.log, path, dialog_extension(path)).ok);
  const std::string out = dir.file(std::string("out.") + ext);
  ASSERT_TRUE(save_file(*from.st, from.log, out).ok);
  ASSERT_TRUE(open_file(*to.st, to.log, out, dialog_extension(out)).ok);
}

TEST(GainUnits, RoundTripsKeepTheGainAndItsUnit) {
  test::temp_dir dir;
  // Planet -> NSMA -> Planet.
  const std::string pla = dir.file("in.pla");
  test::write_bytes(pla, "NAME X\r\nMAKE Y\r\nFREQUENCY 900\r\nGAIN 10.00 dBi\r\nHORIZONTAL 2\r\n0 0\r\n180 10\r\n");
  harness a, b, c;
  convert(a, b, pla, "nsma", dir);
  EXPECT_STREQ(b.st->pd.mdgain, "10.00");
  EXPECT_STREQ(b.st->pd.gunits, "DBI/DBI");
  EXPECT_NE(test::read_bytes(dir.file("out.nsma")).find("GUNITS:,DBI/DBI\r\n"), std::string::npos);
  const std::string back = dir.file("back.pla");
  ASSERT_TRUE(save_file(*b.st, b.log, back).ok);
  EXPECT_NE(test::read_bytes(back).find("GAIN 10.00 dBi\r\n"), std::string::npos);
  // Planet -> Planet keeps the file's own gain line as it was.
  ASSERT_TRUE(save_file(*a.st, a.log, dir.file("same.pla")).ok);
  EXPECT_NE(test::read_bytes(dir.file("same.pla")).find("GAIN 10.00 dBi\r\n"), std::string::npos);

  // NSMA -> Planet -> NSMA: the plain dBd gain goes out with its unit and comes back plain.
  const std::string nsma = test::data_path("convert/src.nsma");
  harness d, e;
  convert(d, e, nsma, "pla", dir);
  const std::string gain = d.st->pd.mdgain;
  EXPECT_EQ(std::string(e.st->pd.mdgain), gain + " dBd");
  ASSERT_TRUE(save_file(*e.st, e.log, dir.file("again.nsma")).ok);
  const std::string again = test::read_bytes(dir.file("again.nsma"));
  EXPECT_NE(again.find("MDGAIN:," + gain + "\r\n"), std::string::npos);
  EXPECT_NE(again.find("GUNITS:,DBD/DBD\r\n"), std::string::npos);
  // NSMA -> NSMA stays byte for byte once written by us.
  harness f, g;
  ASSERT_TRUE(open_file(*f.st, f.log, nsma, dialog_extension(nsma)).ok);
  ASSERT_TRUE(save_file(*f.st, f.log, dir.file("copy.nsma")).ok);
  ASSERT_TRUE(open_file(*g.st, g.log, dir.file("copy.nsma"), "nsma").ok);
  ASSERT_TRUE(save_file(*g.st, g.log, dir.file("copy2.nsma")).ok);
  EXPECT_TRUE(test::read_bytes(dir.file("copy.nsma")) == test::read_bytes(dir.file("copy2.nsma")));
}

TEST(EmrExposure, LimitBandsIncludeTheirLowerEdge) {
  const float none = NAN;  // that limit is not looked at here
  for (const auto& [mhz, public_limit, occupational_limit] :
       {std::tuple{10.0f, 2.0f, 10.0f}, {9.99f, 0.0f, 12.4f}, {2000.0f, 10.0f, 50.0f}, {0.5f, 0.0f, 0.0f},
        {4.0f, none, 62.6f}, {1.0f, none, 1001.0f}, {1799.9f, 7.5f, none}, {900.0f, 4.5f, none}}) {
    if (!std::isnan(public_limit)) {
      EXPECT_FLOAT_EQ(gimme_public_power_density_limit(mhz), public_limit) << mhz;
    }
    if (!std::isnan(occupational_limit)) {
      EXPECT_FLOAT_EQ(gimme_occupational_power_density_limit(mhz), occupational_limit) << mhz;
    }
  }
}

}  // namespace
}  // namespace lobe
