#include "core/text/number_scan.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/text/c_numeric.h"
#include "core/text/field_text.h"

namespace lobe {

bool is_usable_number(float v) { return std::isfinite(v); }
bool is_usable_level(float v) { return std::isfinite(v) && std::fabs(v) <= MAX_LEVEL_DB; }

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A plain decimal number at p (after blanks): sign, digits, point, digits,
// exponent. False when the text is anything else; scanf then decides.
// Inlined into both of its calls per point line (the compiler would not),
// so that the two numbers stay in registers: 6 % of an NSMA read.
[[gnu::always_inline]] inline bool plain_float(const char*& p, float& out) {
  while (is_c_space(*p)) ++p;
  const char* s = p;
  bool negative = false;
  if (*s == '+' || *s == '-') negative = *s++ == '-';
  const char* start = s;
  if (s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) return false;
  int digits = 0, decimals = 0;
  std::uint32_t mantissa = 0;
  while (is_digit(*s)) mantissa = mantissa * 10 + static_cast<std::uint32_t>(*s++ - '0'), ++digits;
  if (*s == '.') {
    ++s;
    while (is_digit(*s)) mantissa = mantissa * 10 + static_cast<std::uint32_t>(*s++ - '0'), ++digits, ++decimals;
  }
  if (digits == 0) return false;
  // Up to 7 digits the mantissa and the power of ten are exact floats, and
  // one division rounds correctly: the value from_chars would give.
  if (digits <= 7 && *s != 'e' && *s != 'E') {
    static constexpr float k_tens[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f};
    const float v = static_cast<float>(mantissa) / k_tens[decimals];
    out = negative ? -v : v;
    p = s;
    return true;
  }
  if (*s == 'e' || *s == 'E') {
    const char* e = s + 1;
    if (*e == '+' || *e == '-') ++e;
    if (!is_digit(*e)) return false;  // "1e" and "1e+": scanf's own rules apply
    while (is_digit(*e)) ++e;
    s = e;
  }
  float v = 0.0f;
  const auto r = std::from_chars(start, s, v, std::chars_format::general);
  if (r.ec != std::errc() || r.ptr != s) return false;
  out = negative ? -v : v;
  p = s;
  return true;
}

}  // namespace

int scan_two_floats(const char* line, char separator, float& a, float& b) {
  float x = 0.0f, y = 0.0f;
  const int got = scan_two_floats_raw(line, separator, x, y);
  // "nan", "inf" and 1e308 read as numbers, but are no angle or level: the
  // line is skipped like one that does not parse, and so is a level beyond
  // what any pattern holds.
  if (got == 2 && (!is_usable_number(x) || !is_usable_level(y))) return 0;
  if (got >= 1) a = x;
  if (got >= 2) b = y;
  return got;
}

int scan_two_floats_raw(const char* line, char separator, float& a, float& b) {
  const char* p = line;
  float x = 0.0f, y = 0.0f;
  bool clean = plain_float(p, x);
  if (clean) {
    if (separator == ',') clean = *p++ == ',';
    clean = clean && plain_float(p, y);
  }
  if (clean) {
    a = x;
    b = y;
    return 2;
  }
  return separator == ',' ? c_sscanf(line, "%f,%f", &a, &b) : c_sscanf(line, "%f %f", &a, &b);
}

std::size_t format_fixed3(char* out, double v) {
  const auto r = std::to_chars(out, out + 63, v, std::chars_format::fixed, 3);
  if (r.ec == std::errc()) {
    *r.ptr = '\0';
    return static_cast<std::size_t>(r.ptr - out);
  }
  const int n = c_snprintf(out, 64, "%.3f", v);
  return n < 0 ? 0 : (n > 63 ? 63 : static_cast<std::size_t>(n));
}

std::size_t format_fixed3(char* out, float f) {
  // A float times 1000 is exact in a double (24 + 10 bits), so rounding that
  // product to the nearest integer, ties to even, is printf's own rounding.
  if (!std::isfinite(f) || std::fabs(f) >= 1e12f) return format_fixed3(out, static_cast<double>(f));
  const double scaled = std::nearbyint(static_cast<double>(f) * 1000.0);
  unsigned long long q = static_cast<unsigned long long>(std::fabs(scaled));
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + q % 10);
    q /= 10;
  } while (q > 0 || n < 4);
  std::size_t len = 0;
  if (std::signbit(f)) out[len++] = '-';
  for (int i = n - 1; i >= 3; --i) out[len++] = digits[i];
  out[len++] = '.';
  for (int i = 2; i >= 0; --i) out[len++] = digits[i];
  out[len] = '\0';
  return len;
}

}  // namespace lobe
