// A colour as the palette and the charts keep it: 0x00BBGGRR.
#pragma once

#include <cstdint>

namespace lobe {

using colorref = std::uint32_t;

constexpr colorref rgb(int r, int g, int b) {
  return static_cast<colorref>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int red_of(colorref c) { return static_cast<int>(c & 0xFF); }
constexpr int green_of(colorref c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blue_of(colorref c) { return static_cast<int>((c >> 16) & 0xFF); }

}  // namespace lobe
