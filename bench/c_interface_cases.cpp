// The C interface against the C++ exports doing the same work: what a call
// through orvjson_c.h costs beyond one through OrvJson.h.
#include <cstring>
#include <string>
#include <vector>

#include "corpus.h"
#include "harness.h"
#include "orvjson_c.h"

namespace orvbench {
namespace {

// orvjson_get_int on the last of 1,000 members (OrvKeyedGetter/1000's work).
const bool kCKeyedGetter = Add("CKeyedGetter/1000", [] {
  auto h = NewHandle();
  LoadFromString(*h, ObjectOfMembers(1000));
  const std::string key = "m999";
  return Body([h, key] {
    int32_t value = 0;
    Use(orvjson_get_int(*h, key.data(), key.size(), &value));
    Use(value);
  });
});

constexpr int kElements = 1000000;

// Every element of a 1,000,000-element array root (OrvIndexGetters' work).
const bool kCIndexGetters = Add("CIndexGetters", [] {
  auto h = NewHandle();
  LoadFromString(*h, ArrayOfDoubles(kElements));
  return Body([h] {
    double sum = 0, value = 0;
    for (std::size_t i = 0; i < kElements; ++i) {
      orvjson_get_double_at(*h, i, &value);
      sum += value;
    }
    Use(sum);
  });
});

// The whole text into a buffer the caller keeps (OrvGetString's work).
const bool kCText = AddOverCorpora("CText", [](std::size_t corpus) -> Body {
  auto h = NewHandle();
  LoadFromString(*h, Corpora()[corpus].text);
  auto buffer = std::make_shared<std::vector<char>>(GetString(*h).size() + 1);
  return [h, buffer] {
    std::size_t length = 0;
    Use(orvjson_text(*h, buffer->data(), buffer->size(), &length));
    Use(length);
  };
});

}  // namespace
}  // namespace orvbench
