// Copies between objects, against a text round trip of the same value with
// RapidJSON: one write and one exact-number parse.
#include <string>

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "corpus.h"
#include "harness.h"

namespace orvbench {
namespace {

std::shared_ptr<long> Loaded(const std::string& text) {
  auto h = NewHandle();
  LoadFromString(*h, text);
  return h;
}

// SetValue with another object: the source copied in as a member.
const bool kCopyIn = AddOverCorpora("OrvCopyIn", [](std::size_t corpus) -> Body {
  auto source = Loaded(Corpora()[corpus].text);
  auto target = NewHandle();
  return [source, target] {
    Clear(*target);
    Use(SetValue(*target, "doc", static_cast<void*>(source.get())));
  };
});

// GetValue by key: a member copied out into another object.
const bool kCopyOutByKey = AddOverCorpora("OrvCopyOutByKey", [](std::size_t corpus) -> Body {
  auto source = Loaded("{\"doc\":" + Corpora()[corpus].text + "}");
  auto target = NewHandle();
  return [source, target] { Use(GetValue(*source, "doc", static_cast<void*>(target.get()))); };
});

// GetValue by index: an element copied out into another object.
const bool kCopyOutByIndex = AddOverCorpora("OrvCopyOutByIndex", [](std::size_t corpus) -> Body {
  auto source = Loaded("[" + Corpora()[corpus].text + "]");
  auto target = NewHandle();
  return [source, target] { Use(GetValue(*source, 0, static_cast<void*>(target.get()))); };
});

const bool kRapidWriteThenParse = AddOverCorpora("RapidWriteThenParse", [](std::size_t corpus) -> Body {
  auto source = std::make_shared<rapidjson::Document>();
  source->Parse<rapidjson::kParseFullPrecisionFlag>(Corpora()[corpus].text.c_str());
  return [source] {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    source->Accept(writer);
    rapidjson::Document copy;
    copy.Parse<rapidjson::kParseFullPrecisionFlag>(buffer.GetString());
    Use(copy.HasParseError());
  };
});

}  // namespace
}  // namespace orvbench
