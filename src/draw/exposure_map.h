// A site's RF exposure as a picture: the total exposure ratio seen from
// above at one height, or from the side along one antenna's azimuth, with
// the standard it is measured against named on the picture.
#pragma once

#include "core/exposure/site_exposure.h"
#include "draw/surface.h"

namespace lobe {

struct exposure_view {
  bool top = true;     // else the side view
  double z = 1.5;      // height of the top view, metres
  int antenna = 0;     // the side view runs along this antenna's azimuth
};

// Total exposure ratio 1 or more red, 0.1 to 1 yellow, over a square wide
// enough for every compliance boundary.
void draw_exposure_map(const site& s, const exposure_view& v, surface& dc, int width, int height);

}  // namespace lobe
