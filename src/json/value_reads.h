// What each getter accepts, in one place for the C++ exports (which say
// only accepted or not) and the C interface (which says why not).
#ifndef ORVJSON_SRC_JSON_VALUE_READS_H
#define ORVJSON_SRC_JSON_VALUE_READS_H

#include <cstdint>

#include "json_types.h"

namespace orv {

enum class Read {
  kAccepted,    // the output holds the value
  kWrongKind,   // a value of another kind; the output untouched
  kOutOfRange,  // a number of the right kind outside the output's range; the output untouched
};

// The double nearest to 3.4028234e38 (bits 0x47EFFFFFD586B834). It lies just
// below the largest float, so that float itself is outside the float range.
constexpr double kFloatBound = 3.4028234e38;

// A number stored as an integer (RapidJSON keeps doubles apart).
inline bool IsInteger(const Value& v) { return v.IsNumber() && !v.IsDouble(); }

// An integer refused for its range rather than its kind.
inline Read Refused(const Value& v) { return IsInteger(v) ? Read::kOutOfRange : Read::kWrongKind; }

// --- Keyed getters, and the float, double and bool index getters --------

// 32-bit integers, and null as 0.
inline Read ReadInt(const Value& v, std::int32_t& out) {
  if (v.IsInt()) {
    out = v.GetInt();
  } else if (v.IsNull()) {
    out = 0;
  } else {
    return Refused(v);
  }
  return Read::kAccepted;
}

inline Read ReadUint(const Value& v, std::uint32_t& out) {
  if (!v.IsUint()) return Refused(v);
  out = v.GetUint();
  return Read::kAccepted;
}

// Doubles within [-kFloatBound, kFloatBound] (NaN is outside); never integers.
inline Read ReadFloat(const Value& v, float& out) {
  if (!v.IsDouble()) return Read::kWrongKind;
  const double d = v.GetDouble();
  if (!(d >= -kFloatBound && d <= kFloatBound)) return Read::kOutOfRange;
  out = static_cast<float>(d);
  return Read::kAccepted;
}

inline Read ReadDouble(const Value& v, double& out) {
  if (!v.IsDouble()) return Read::kWrongKind;
  out = v.GetDouble();
  return Read::kAccepted;
}

inline Read ReadBool(const Value& v, bool& out) {
  if (!v.IsBool()) return Read::kWrongKind;
  out = v.GetBool();
  return Read::kAccepted;
}

// --- Elements of array members ------------------------------------------

// 32-bit integers from low to high.
inline Read ReadIntBetween(const Value& v, int low, int high, int& out) {
  if (!v.IsInt()) return Refused(v);
  const int i = v.GetInt();
  if (i < low || i > high) return Read::kOutOfRange;
  out = i;
  return Read::kAccepted;
}

// --- Elements of an array root ------------------------------------------

// 32-bit integers, and true and false as 1 and 0.
inline Read ReadIntAt(const Value& v, std::int32_t& out) {
  if (v.IsInt()) {
    out = v.GetInt();
  } else if (v.IsBool()) {
    out = v.GetBool() ? 1 : 0;
  } else {
    return Refused(v);
  }
  return Read::kAccepted;
}

// As ReadIntAt keeping the low 16 bits (by design), and null as 0.
inline Read ReadShortAt(const Value& v, std::int16_t& out) {
  std::int32_t i = 0;
  if (v.IsNull()) {
    out = 0;
  } else if (ReadIntAt(v, i) == Read::kAccepted) {
    out = static_cast<std::int16_t>(i);
  } else {
    return Refused(v);
  }
  return Read::kAccepted;
}

}  // namespace orv

#endif  // ORVJSON_SRC_JSON_VALUE_READS_H
