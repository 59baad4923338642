// What a text may hold and still fit in a document.
#ifndef ORVJSON_SRC_TEXT_TEXT_LIMITS_H
#define ORVJSON_SRC_TEXT_TEXT_LIMITS_H

#include <cstddef>

namespace orv {

// False, with offset at the bracket concerned, when the text (length bytes,
// ending at its first NUL) holds an array or object with more than
// kMaxElements entries: RapidJSON's reader counts them in 32 bits and would
// wrap the count silently. (Strings are measured by the string scanner as
// it reads them.) Every entry takes two bytes or more, so a text shorter
// than twice the limit is not looked at.
bool FitsInDocument(const char* text, std::size_t length, std::size_t& offset);

}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_TEXT_LIMITS_H
