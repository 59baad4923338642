// The one parse that every load and every copy between objects goes through.
#ifndef ORVJSON_SRC_TEXT_JSON_PARSE_H
#define ORVJSON_SRC_TEXT_JSON_PARSE_H

#include "../json/json_types.h"

namespace orv {

// Deepest nesting of arrays and objects that a parse accepts. Everything that
// walks a document (writing, copying) recurses once per level, so this bound
// keeps their stack use small even on a thread with a 1 MiB stack.
constexpr unsigned kMaxNestingDepth = 1000;

// Parses the NUL-terminated UTF-8 text (it ends at its first NUL byte) with
// RapidJSON's default grammar, numbers converted exactly. On success the root
// of doc is replaced and true is returned; otherwise doc is left unchanged.
// A number whose value is not finite, or nesting deeper than maxDepth, makes
// the text invalid. A value parsed to be placed inside another document gets
// a smaller maxDepth, so that no document ever nests deeper than
// kMaxNestingDepth and everything written can be loaded again.
bool ParseJsonText(Document& doc, const char* text, unsigned maxDepth = kMaxNestingDepth);

}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_JSON_PARSE_H
