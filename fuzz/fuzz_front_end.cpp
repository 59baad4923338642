// libFuzzer target: the front end against the reader it replaced, on any
// bytes: the same acceptance, error code and offset, and the same document;
// and the writer against RapidJSON's Writer: the same text.
#include <cstdint>
#include <cstring>
#include <string>

#include "reference_reader.h"
#include "require.h"
#include "text/json_parse.h"
#include "text/json_write.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // The deepest nesting may also be small, as for copies placed deep.
  const unsigned maxDepth = size > 0 && data[0] == '!' ? 2 : orv::kMaxNestingDepth;
  orv::Document ours, theirs;
  const orv::ParseOutcome a = orv::ParseJsonText(ours, text.c_str(), text.size(), maxDepth);
  const orv::ParseOutcome b = orvref::ParseJsonTextReference(theirs, text.c_str(), text.size(), maxDepth);
  ORV_REQUIRE(a.problem == b.problem && a.code == b.code && a.offset == b.offset);
  ORV_REQUIRE(orvref::SameValue(ours, theirs));
  if (!a) return 0;
  rapidjson::StringBuffer expected;
  rapidjson::Writer<rapidjson::StringBuffer> writer(expected);
  ORV_REQUIRE(theirs.Accept(writer));
  ORV_REQUIRE(orv::JsonText(ours) == std::string(expected.GetString(), expected.GetSize()));
  return 0;
}
