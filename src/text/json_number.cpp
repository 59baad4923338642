#include "json_number.h"

#include <cmath>
#include <system_error>

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

namespace {

// ScannedToDoubleInGeneral where fast_float must compare digits one by one
// (rare).
__attribute__((noinline)) bool ScannedToDoubleByDigits(const ScannedDecimal& number, fast_float::adjusted_mantissa am,
                                                       double& out) {
  fast_float::parsed_number_string scanned;
  scanned.exponent = number.exponent;
  scanned.mantissa = number.digits;
  scanned.negative = number.negative;
  scanned.valid = true;
  scanned.too_many_digits = false;
  scanned.integer = fast_float::byte_span(number.integer, number.integerLength);
  scanned.fraction = fast_float::byte_span(number.fraction, number.fractionLength);
  am = fast_float::digit_comp<double>(scanned, am);
  double value = 0.0;
  fast_float::to_float(number.negative, am, value);
  if (!std::isfinite(value)) return false;
  out = value;
  return true;
}

}  // namespace

bool ScannedToDoubleInGeneral(const ScannedDecimal& number, double& out) {
  using Binary = fast_float::binary_format<double>;
  const fast_float::adjusted_mantissa am = fast_float::compute_float<Binary>(number.exponent, number.digits);
  if (am.power2 < 0) return ScannedToDoubleByDigits(number, am, out);
  double value = 0.0;
  fast_float::to_float(number.negative, am, value);
  if (!std::isfinite(value)) return false;
  out = value;
  return true;
}

}  // namespace orv
