#include "core/text/c_numeric.h"

#include <clocale>
#include <cstdio>
#include <locale.h>

namespace lobe {

namespace {

locale_t c_locale() {
  static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

// Switches this thread to the "C" locale for the lifetime of the guard.
class c_locale_scope {
 public:
  c_locale_scope() : old_(uselocale(c_locale())) {}
  ~c_locale_scope() { uselocale(old_); }
  c_locale_scope(const c_locale_scope&) = delete;
  c_locale_scope& operator=(const c_locale_scope&) = delete;

 private:
  locale_t old_;
};

}  // namespace

int c_sscanf(const char* s, const char* fmt, ...) {
  c_locale_scope scope;
  va_list ap;
  va_start(ap, fmt);
  const int r = std::vsscanf(s, fmt, ap);
  va_end(ap);
  return r;
}

int c_snprintf(char* buf, std::size_t n, const char* fmt, ...) {
  c_locale_scope scope;
  va_list ap;
  va_start(ap, fmt);
  const int r = std::vsnprintf(buf, n, fmt, ap);
  va_end(ap);
  return r;
}

std::string c_format(const char* fmt, ...) {
  c_locale_scope scope;
  va_list ap;
  va_start(ap, fmt);
  va_list ap2;
  va_copy(ap2, ap);
  const int n = std::vsnprintf(nullptr, 0, fmt, ap);
  va_end(ap);
  std::string out;
  if (n > 0) {
    out.resize(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(out.data(), out.size(), fmt, ap2);
    out.resize(static_cast<std::size_t>(n));
  }
  va_end(ap2);
  return out;
}

}  // namespace lobe
