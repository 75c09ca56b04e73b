#include "app/painted_text.h"

namespace lobe {

void fit_text(surface& dc, int x, int y, std::string_view text, int room, std::vector<painted_text>& out,
              const QWidget* owner) {
  const lobe::font wanted = dc.select_font({});
  dc.select_font(wanted);
  lobe::font f = wanted;
  point extent = dc.text_extent(text);
  while (extent.x > room && f.height > 9) {
    --f.height;
    dc.select_font(f);
    extent = dc.text_extent(text);
  }
  dc.text_out(x, y, text);
  out.push_back({{x, y, x + extent.x, y + extent.y}, std::string(text), owner});
  dc.select_font(wanted);
}

}  // namespace lobe
