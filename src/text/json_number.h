// Exact conversion of JSON number text.
#ifndef ORVJSON_SRC_TEXT_JSON_NUMBER_H
#define ORVJSON_SRC_TEXT_JSON_NUMBER_H

#include <cstddef>

namespace orv {

// Converts text that already matches the JSON number grammar to the double
// nearest to it (correctly rounded, independent of the locale). Returns false
// when that value is not finite. A value too small for a double becomes a
// zero of the same sign.
bool ParseJsonDouble(const char* text, std::size_t length, double& out);

}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_JSON_NUMBER_H
