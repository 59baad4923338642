// Where and why a text was refused, kept by a document after a failed load.
#ifndef ORVJSON_SRC_JSON_LOAD_PROBLEM_H
#define ORVJSON_SRC_JSON_LOAD_PROBLEM_H

#include <cstddef>

namespace orv {

struct LoadProblem {
  std::size_t offset = 0;    // bytes from the start of the text
  std::size_t line = 1;      // counted from 1
  std::size_t column = 1;    // counted from 1, in UTF-8 characters
  const char* message = "";  // static English text
  bool tooLarge = false;     // a string, array or object larger than a document holds
};

}  // namespace orv

#endif  // ORVJSON_SRC_JSON_LOAD_PROBLEM_H
