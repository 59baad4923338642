#include "json_number.h"

#include <cmath>
#include <system_error>

#include <fast_float/fast_float.h>

namespace orv {

bool ParseJsonDouble(const char* text, std::size_t length, double& out) {
  const char* end = text + length;
  double value = 0.0;
  // fast_float rounds correctly and ignores the locale. Out of range it gives
  // a signed zero (underflow, kept) or an infinity (refused).
  const auto result = fast_float::from_chars(text, end, value);
  if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) return false;
  out = value;
  return true;
}

}  // namespace orv
