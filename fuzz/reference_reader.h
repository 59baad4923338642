// The reader the library used before its own front end: RapidJSON's reader
// with the library's number and string scanners. Kept as the reference that
// the tests and the differential fuzz target compare the front end with.
#ifndef ORVJSON_FUZZ_REFERENCE_READER_H
#define ORVJSON_FUZZ_REFERENCE_READER_H

#include <cstddef>

#include "json/json_types.h"
#include "json/limits.h"
#include "text/json_parse.h"

namespace orvref {

// What ParseJsonText promises, computed the old way.
orv::ParseOutcome ParseJsonTextReference(orv::Document& doc, const char* text, std::size_t length,
                                         unsigned maxDepth = orv::kMaxNestingDepth);

// Whether two values are the same document: kinds and integer flags,
// numbers to the bit, strings and names byte for byte, members in order.
bool SameValue(const orv::Value& a, const orv::Value& b);

}  // namespace orvref

#endif  // ORVJSON_FUZZ_REFERENCE_READER_H
