#include "json_parse.h"

#include "json_number.h"

namespace orv {
namespace {

using rapidjson::SizeType;

bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-'; }

// Stands between RapidJSON's reader and the document's own handler: doubles
// are converted again, exactly, from their text, and nesting is bounded.
// Returning false from any event ends the parse as an error.
class ExactHandler {
 public:
  ExactHandler(Document& doc, const rapidjson::StringStream& stream, unsigned maxDepth)
      : doc_(doc), stream_(stream), maxDepth_(maxDepth) {}

  bool Null() { return doc_.Null(); }
  bool Bool(bool b) { return doc_.Bool(b); }
  // RapidJSON reads integers exactly; only its doubles can be off.
  bool Int(int i) { return doc_.Int(i); }
  bool Uint(unsigned u) { return doc_.Uint(u); }
  bool Int64(std::int64_t i) { return doc_.Int64(i); }
  bool Uint64(std::uint64_t u) { return doc_.Uint64(u); }
  bool Double(double) {
    // The reader scans a number on a local copy of the stream and moves the
    // stream itself past the number only once this event returns, so the
    // stream still points at the number's first character.
    const char* begin = stream_.src_;
    const char* end = begin;
    while (IsNumberChar(*end)) ++end;
    double exact = 0.0;
    if (!ParseJsonDouble(begin, static_cast<std::size_t>(end - begin), exact)) return false;
    return doc_.Double(exact);
  }
  bool RawNumber(const char*, SizeType, bool) { return false; }  // numbers never arrive as text
  bool String(const char* s, SizeType length, bool copy) { return doc_.String(s, length, copy); }
  bool Key(const char* s, SizeType length, bool copy) { return doc_.Key(s, length, copy); }

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

  Document& doc_;
  const rapidjson::StringStream& stream_;
  const unsigned maxDepth_;
  unsigned depth_ = 0;
};

}  // namespace

bool ParseJsonText(Document& doc, const char* text, unsigned maxDepth) {
  bool parsed = false;
  // Populate moves the finished value into the root only when the generator
  // succeeds, and empties the document's value stack either way.
  auto generate = [&](Document& target) {
    rapidjson::StringStream stream(text);
    Reader reader;
    ExactHandler handler(target, stream, maxDepth);
    parsed = !reader.Parse<rapidjson::kParseDefaultFlags>(stream, handler).IsError();
    return parsed;
  };
  doc.Populate(generate);
  return parsed;
}

}  // namespace orv
