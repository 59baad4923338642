// Exact conversion of JSON number text.
#ifndef ORVJSON_SRC_TEXT_JSON_NUMBER_H
#define ORVJSON_SRC_TEXT_JSON_NUMBER_H

#include <cmath>
#include <cstddef>
#include <cstdint>

#include <fast_float/fast_float.h>

namespace orv {

// Converts text that already matches the JSON number grammar to the double
// nearest to it (correctly rounded, independent of the locale). Returns false
// when that value is not finite. A value too small for a double becomes a
// zero of the same sign.
bool ParseJsonDouble(const char* text, std::size_t length, double& out);

// A number as a scanner read it, with at most 19 digits: all its digits as
// one integer, the power of ten that scales it, and where its digits are.
struct ScannedDecimal {
  std::uint64_t digits = 0;
  std::int64_t exponent = 0;
  bool negative = false;
  const char* integer = nullptr;  // the digits before the point
  std::size_t integerLength = 0;
  const char* fraction = nullptr;  // the digits after it
  std::size_t fractionLength = 0;
};

// Whether this thread rounds to nearest, as it almost always does; fast_float
// takes a shortcut only then. Asked once for a whole text.
inline bool RoundsToNearest() { return fast_float::detail::rounds_to_nearest(); }

// ScannedToDouble past its shortcut: fast_float's general steps. Out of
// line, so that the shortcut, which most short numbers take, is inlined
// into the parser without them.
bool ScannedToDoubleInGeneral(const ScannedDecimal& number, double& out);

// What ParseJsonDouble gives the text the number was read from, without
// reading its digits again: fast_float's own steps after it has read a
// number (from_chars_advanced), to the bit. nearest: RoundsToNearest().
inline bool ScannedToDouble(const ScannedDecimal& number, bool nearest, double& out) {
  using Binary = fast_float::binary_format<double>;
  double value = 0.0;
  if (Binary::min_exponent_fast_path() <= number.exponent && number.exponent <= Binary::max_exponent_fast_path()) {
    if (nearest) {
      if (number.digits <= Binary::max_mantissa_fast_path()) {
        value = static_cast<double>(number.digits);
        if (number.exponent < 0) {
          value = value / Binary::exact_power_of_ten(-number.exponent);
        } else {
          value = value * Binary::exact_power_of_ten(number.exponent);
        }
        out = number.negative ? -value : value;
        return true;  // a power of ten of at most 22 keeps it finite
      }
    } else if (number.exponent >= 0 && number.digits <= Binary::max_mantissa_fast_path(number.exponent)) {
#if defined(__clang__)
      // Clang may map 0 to -0.0 when fegetround() == FE_DOWNWARD.
      if (number.digits == 0) {
        out = 0;
        return true;
      }
#endif
      value = static_cast<double>(number.digits) * Binary::exact_power_of_ten(number.exponent);
      out = number.negative ? -value : value;
      return true;
    }
  }
  return ScannedToDoubleInGeneral(number, out);
}

}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_JSON_NUMBER_H
