// Exact conversion of JSON number text.
#ifndef ORVJSON_SRC_TEXT_JSON_NUMBER_H
#define ORVJSON_SRC_TEXT_JSON_NUMBER_H

#include <cstddef>
#include <cstdint>

namespace orv {

// A number as the document stores it. Integers without fraction or exponent
// that fit 64 bits stay integers, signed when negative; everything else is a
// double.
struct JsonNumber {
  enum class Kind { kSigned, kUnsigned, kDouble };
  Kind kind = Kind::kUnsigned;
  std::int64_t i = 0;
  std::uint64_t u = 0;
  double d = 0.0;
};

// Converts text that already matches the JSON number grammar to the value
// nearest to it (correctly rounded, independent of the locale). Returns false
// when that value is not finite. A value too small for a double becomes a
// zero of the same sign.
bool ParseJsonNumber(const char* text, std::size_t length, JsonNumber& out);

}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_JSON_NUMBER_H
