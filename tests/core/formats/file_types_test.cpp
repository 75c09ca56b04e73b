#include "core/formats/file_types.h"

#include <gtest/gtest.h>

#include "core/record/lobeview.h"

namespace lobe {
namespace {

// The Open command and the Save routing take the extension in any case; a
// path given at start-up is typed by the substrings of its name, later ones
// winning; the dialog's extension is at most four characters.
TEST(FileTypes, ExtensionsNamesAndTheirTypes) {
  for (const auto& [ext, type] : {std::pair{"nsma", FT_NSMA99}, {"Nsma", FT_NSMA99}, {"LABZ", FT_LABZ}, {"adf", FT_ADF},
                                  {"aNt", FT_ANT}, {"TXT", FT_4NEC}, {"pla", FT_PLANET}, {"msi", FT_PLANET}, {"", FT_PLANET}})
    EXPECT_EQ(open_type_from_extension(ext), type) << ext;
  for (const auto& [ext, type] : {std::pair{"labz", FT_LABZ}, {"NSMA", FT_NSMA99}, {"Adf", FT_ADF}, {"ant", FT_ANT},
                                  {"txt", FT_PLANET}, {"pla", FT_PLANET}})
    EXPECT_EQ(save_type_from_extension(ext), type) << ext;
  for (const auto& [name, type] : {std::pair{"/x/site.antenna.nsma", FT_ANT}, {"/x/pattern.Nsma", 0},
                                   {"/x/pattern.NSMA", FT_NSMA99}, {"/x/p.labz", FT_LABZ}, {"/x/p.ADF", FT_ADF},
                                   {"/x/p.placid.nsma", FT_PLANET}, {"/x/p.txt", 0}, {"/x/p.msi", 0}})
    EXPECT_EQ(startup_type_from_name(name), type) << name;
  for (const auto& [path, ext] : {std::pair{"/data/p.nsma", "nsma"}, {"/data/p.nsmaold", "nsma"}, {"/data/p.v2.Ant", "Ant"},
                                  {"/data.d/pattern", ""}, {"C:\\x.y\\p.adf", "adf"}, {"/data/p.ab cd", "ab"}})
    EXPECT_EQ(dialog_extension(path), ext) << path;
}

}  // namespace
}  // namespace lobe
