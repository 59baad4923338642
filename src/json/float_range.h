// Which stored numbers the float getters accept.
#ifndef ORVJSON_SRC_JSON_FLOAT_RANGE_H
#define ORVJSON_SRC_JSON_FLOAT_RANGE_H

#include "json_types.h"

namespace orv {

// The double nearest to 3.4028234e38 (bits 0x47EFFFFFD586B834). It lies just
// below the largest float, so that float itself is outside the range.
constexpr double kFloatBound = 3.4028234e38;

// A number stored as a double within [-kFloatBound, kFloatBound]; integers
// and NaN are outside.
inline bool IsInFloatRange(const Value& value) {
  if (!value.IsDouble()) return false;
  const double d = value.GetDouble();
  return d >= -kFloatBound && d <= kFloatBound;
}

}  // namespace orv

#endif  // ORVJSON_SRC_JSON_FLOAT_RANGE_H
