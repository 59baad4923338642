// Compact JSON text: RapidJSON's default Writer, never cut short.
#ifndef ORVJSON_SRC_TEXT_JSON_WRITE_H
#define ORVJSON_SRC_TEXT_JSON_WRITE_H

#include <string>

#include "../json/json_types.h"

namespace orv {

// Writes the compact text of value into out. Returns false when the value
// holds a NaN or an infinite double, which JSON text cannot express; out then
// holds an incomplete text that must not be used.
bool WriteJsonText(const Value& value, StringBuffer& out);

// The compact text of value, or an empty string when it has none.
std::string JsonText(const Value& value);

}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_JSON_WRITE_H
