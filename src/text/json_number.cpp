#include "json_number.h"

#include <charconv>
#include <system_error>

namespace orv {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// For a range error only: a number whose magnitude is below one can only have
// underflowed, any other only overflowed. The decimal exponent of the first
// significant digit tells which.
bool MagnitudeBelowOne(const char* p, const char* end) {
  if (p != end && *p == '-') ++p;
  long long leading = 0;  // decimal exponent of the first significant digit
  bool seen = false;
  const char* digits = p;
  while (p != end && IsDigit(*p)) ++p;
  const char* intEnd = p;
  for (const char* q = digits; q != intEnd; ++q) {
    if (*q != '0') {
      leading = intEnd - q - 1;
      seen = true;
      break;
    }
  }
  if (p != end && *p == '.') {
    ++p;
    for (long long position = -1; p != end && IsDigit(*p); ++p, --position) {
      if (!seen && *p != '0') {
        leading = position;
        seen = true;
      }
    }
  }
  long long exponent = 0;
  if (p != end && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool negative = p != end && *p == '-';
    if (p != end && (*p == '-' || *p == '+')) ++p;
    for (; p != end && IsDigit(*p); ++p) {
      if (exponent < 1000000000LL) exponent = exponent * 10 + (*p - '0');
    }
    if (negative) exponent = -exponent;
  }
  return leading + exponent < 0;
}

bool IsIntegerText(const char* p, const char* end) {
  for (; p != end; ++p) {
    if (*p == '.' || *p == 'e' || *p == 'E') return false;
  }
  return true;
}

}  // namespace

bool ParseJsonNumber(const char* text, std::size_t length, JsonNumber& out) {
  const char* end = text + length;
  if (IsIntegerText(text, end)) {
    if (*text == '-') {
      std::int64_t value = 0;
      const auto result = std::from_chars(text, end, value);
      if (result.ec == std::errc() && result.ptr == end) {
        // "-0" is the integer 0, as RapidJSON stores it: unsigned like any
        // other non-negative integer.
        out.kind = value == 0 ? JsonNumber::Kind::kUnsigned : JsonNumber::Kind::kSigned;
        out.i = value;
        out.u = 0;
        return true;
      }
    } else {
      std::uint64_t value = 0;
      const auto result = std::from_chars(text, end, value);
      if (result.ec == std::errc() && result.ptr == end) {
        out.kind = JsonNumber::Kind::kUnsigned;
        out.u = value;
        return true;
      }
    }
    // Integers beyond 64 bits are stored as doubles.
  }
  double value = 0.0;
  const auto result = std::from_chars(text, end, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    if (!MagnitudeBelowOne(text, end)) return false;
    value = *text == '-' ? -0.0 : 0.0;
  } else if (result.ec != std::errc() || result.ptr != end) {
    return false;
  }
  out.kind = JsonNumber::Kind::kDouble;
  out.d = value;
  return true;
}

}  // namespace orv
