// The type codes that the type queries report, for the C++ exports and the
// C interface alike.
#ifndef ORVJSON_SRC_JSON_TYPE_CODES_H
#define ORVJSON_SRC_JSON_TYPE_CODES_H

#include "OrvJson.h"
#include "json_types.h"

namespace orv {

// Item type codes: RapidJSON's type numbers for containers and strings, its
// flag bits for booleans and numbers, and 0 (its null type) for null.
inline int ItemTypeCode(const Value& v) {
  if (v.IsObject()) return OrvItemObject;
  if (v.IsBool()) return OrvItemBool;
  if (v.IsNumber()) {
    if (v.IsInt()) return OrvItemInt;
    if (v.IsUint()) return OrvItemUint;
    if (v.IsInt64()) return OrvItemInt64;
    if (v.IsUint64()) return OrvItemUint64;
    return OrvItemDouble;
  }
  if (v.IsArray()) return OrvItemArray;
  if (v.IsString()) return OrvItemString;
  return OrvItemNull;
}

// Member type codes differ from item codes: strings are 1024, null is 32,
// and integers from 2^31 to 2^32-1 are 128.
inline int MemberTypeCode(const Value& v) {
  if (v.IsString()) return OrvMemberString;
  if (v.IsInt()) return OrvMemberIntOrNull;
  if (v.IsBool()) return OrvMemberBool;
  if (v.IsDouble()) return OrvMemberDouble;
  if (v.IsInt64()) return OrvMemberInt64;
  if (v.IsUint64()) return OrvMemberUint64;
  if (v.IsArray()) return OrvMemberArray;
  if (v.IsObject()) return OrvMemberObject;
  return OrvMemberIntOrNull;  // null
}

// Element kinds (an array root's list): RapidJSON's type numbers.
inline int ElementKind(const Value& v) {
  static_assert(
      int{OrvElementNull} == int{rapidjson::kNullType} && int{OrvElementNumber} == int{rapidjson::kNumberType},
      "element kinds are RapidJSON's type numbers");
  return static_cast<int>(v.GetType());
}

}  // namespace orv

#endif  // ORVJSON_SRC_JSON_TYPE_CODES_H
