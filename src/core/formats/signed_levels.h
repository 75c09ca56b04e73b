// Cuts whose levels carry both signs. Files store a cut as attenuations of
// one sign, and the readers keep their magnitudes; a converter that writes
// gains instead (+10 at the peak, -43 in the null) gives levels of both
// signs, which as magnitudes make a flower of false lobes. Such a cut is
// reported, and read as gains when the user opts in.
#pragma once

#include "core/formats/pattern_io.h"

namespace lobe {

// Levels beyond this on both sides of 0 make a cut one of both signs: a
// normalised file's rounding (+0.01 at the peak) does not.
inline constexpr float MIXED_SIGN_MARGIN_DB = 1.0f;

// After a load: marks the cuts of both signs in st.file.cut_facts and tells
// the user once per cut; with settings.signed_levels, reads their levels as
// gains (attenuation = strongest - value).
void finish_signed_levels(pattern_record& rec, reader_state& rs);

}  // namespace lobe
