#include "json_parse.h"

#include <rapidjson/reader.h>

#include "json_number.h"

namespace orv {
namespace {

using rapidjson::SizeType;

// Stands between RapidJSON's reader and the document's own handler: numbers
// arrive as text and are converted exactly, and nesting is bounded. Returning
// false from any event ends the parse as an error.
class ExactHandler {
 public:
  ExactHandler(rapidjson::Document& doc, unsigned maxDepth) : doc_(doc), maxDepth_(maxDepth) {}

  bool Null() { return doc_.Null(); }
  bool Bool(bool b) { return doc_.Bool(b); }
  bool Int(int i) { return doc_.Int(i); }
  bool Uint(unsigned u) { return doc_.Uint(u); }
  bool Int64(std::int64_t i) { return doc_.Int64(i); }
  bool Uint64(std::uint64_t u) { return doc_.Uint64(u); }
  bool Double(double d) { return doc_.Double(d); }
  bool String(const char* s, SizeType length, bool copy) { return doc_.String(s, length, copy); }
  bool Key(const char* s, SizeType length, bool copy) { return doc_.Key(s, length, copy); }

  bool RawNumber(const char* s, SizeType length, bool) {
    JsonNumber number;
    if (!ParseJsonNumber(s, length, number)) return false;
    switch (number.kind) {
      case JsonNumber::Kind::kSigned:
        return doc_.Int64(number.i);
      case JsonNumber::Kind::kUnsigned:
        return doc_.Uint64(number.u);
      case JsonNumber::Kind::kDouble:
        break;
    }
    return doc_.Double(number.d);
  }

  bool StartObject() { return Enter() && doc_.StartObject(); }
  bool EndObject(SizeType members) {
    --depth_;
    return doc_.EndObject(members);
  }
  bool StartArray() { return Enter() && doc_.StartArray(); }
  bool EndArray(SizeType elements) {
    --depth_;
    return doc_.EndArray(elements);
  }

 private:
  bool Enter() { return ++depth_ <= maxDepth_; }

  rapidjson::Document& doc_;
  const unsigned maxDepth_;
  unsigned depth_ = 0;
};

constexpr unsigned kParseFlags = rapidjson::kParseDefaultFlags | rapidjson::kParseNumbersAsStringsFlag;

}  // namespace

bool ParseJsonText(rapidjson::Document& doc, const char* text, unsigned maxDepth) {
  bool parsed = false;
  // Populate moves the finished value into the root only when the generator
  // succeeds, and empties the document's value stack either way.
  auto generate = [&](rapidjson::Document& target) {
    rapidjson::StringStream stream(text);
    rapidjson::Reader reader;
    ExactHandler handler(target, maxDepth);
    parsed = !reader.Parse<kParseFlags>(stream, handler).IsError();
    return parsed;
  };
  doc.Populate(generate);
  return parsed;
}

}  // namespace orv
