// Compact JSON text, byte for byte what RapidJSON's default Writer gives,
// never cut short.
#ifndef ORVJSON_SRC_TEXT_JSON_WRITE_H
#define ORVJSON_SRC_TEXT_JSON_WRITE_H

#include <cstdio>
#include <string>

#include "../json/json_types.h"

namespace orv {

// Writes the compact text of value into out, replacing what it held.
// Returns false when the value holds a NaN or an infinite double, which JSON
// text cannot express; out then holds an incomplete text that must not be
// used. expected is about how long the text will be: out starts that large
// instead of growing to it.
bool WriteJsonText(const Value& value, std::string& out, std::size_t expected = 0);

// The compact text of value, or an empty string when it has none.
std::string JsonText(const Value& value, std::size_t expected = 0);

// Whether value has JSON text: false when it holds a NaN or an infinity.
bool HasJsonText(const Value& value);

// Writes the compact text of value into the open file, through a 64 KiB
// buffer. False when a write fails or the value has no text (the file then
// holds part of it).
bool WriteJsonFile(const Value& value, std::FILE* file);

}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_JSON_WRITE_H
