// What a text may hold and still fit in a document.
#ifndef ORVJSON_SRC_TEXT_TEXT_LIMITS_H
#define ORVJSON_SRC_TEXT_TEXT_LIMITS_H

#include <cstddef>

namespace orv {

// False, with offset at the string or container concerned, when the text
// (length bytes, ending at its first NUL) holds a string longer than
// kMaxStringLength once unescaped, or an array or object with more than
// kMaxElements entries. RapidJSON's reader keeps those lengths and counts in
// 32 bits and would wrap them silently. Only a text of 4 GiB or more can
// hold either, so a shorter one is not looked at.
bool FitsInDocument(const char* text, std::size_t length, std::size_t& offset);

}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_TEXT_LIMITS_H
