// Lengths of keys and strings as RapidJSON stores them.
#ifndef ORVJSON_SRC_JSON_STRING_LENGTH_H
#define ORVJSON_SRC_JSON_STRING_LENGTH_H

#include <cstddef>
#include <limits>
#include <stdexcept>

#include <rapidjson/rapidjson.h>

namespace orv {

// RapidJSON keeps string lengths in 32 bits. A longer string would be stored
// cut short, so it is refused the way the standard library refuses a string
// beyond its max_size().
inline rapidjson::SizeType StringLength(std::size_t length) {
  if (length > std::numeric_limits<rapidjson::SizeType>::max()) {
    throw std::length_error("OrvJson: a key or string is longer than 4 GiB - 1 bytes");
  }
  return static_cast<rapidjson::SizeType>(length);
}

}  // namespace orv

#endif  // ORVJSON_SRC_JSON_STRING_LENGTH_H
