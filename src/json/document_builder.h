// Building a document from events (a value, a string, the start and end of
// an object or array), as a copy between documents delivers them. A parse
// builds on a ValueStack (value_stack.h) instead.
#ifndef ORVJSON_SRC_JSON_DOCUMENT_BUILDER_H
#define ORVJSON_SRC_JSON_DOCUMENT_BUILDER_H

#include <cmath>
#include <cstdint>

#include "json_types.h"
#include "limits.h"

namespace orv {

// A RapidJSON handler standing between an event source and a document:
// JSON has no NaN or infinity, every string is copied in, and nesting is
// bounded. Returning false from an event ends the parse or the copy.
class DocumentBuilder {
 public:
  DocumentBuilder(Document& doc, unsigned maxDepth) : doc_(doc), maxDepth_(maxDepth) {}

  bool Null() { return doc_.Null(); }
  bool Bool(bool b) { return doc_.Bool(b); }
  bool Int(int i) { return doc_.Int(i); }
  bool Uint(unsigned u) { return doc_.Uint(u); }
  bool Int64(std::int64_t i) { return doc_.Int64(i); }
  bool Uint64(std::uint64_t u) { return doc_.Uint64(u); }
  bool Double(double d) { return std::isfinite(d) && doc_.Double(d); }
  bool RawNumber(const char*, rapidjson::SizeType, bool) { return false; }  // numbers never arrive as text
  bool String(const char* s, rapidjson::SizeType length, bool) { return doc_.String(s, length, true); }
  bool Key(const char* s, rapidjson::SizeType length, bool) { return doc_.Key(s, length, true); }

  bool StartObject() { return Enter() && doc_.StartObject(); }
  bool EndObject(rapidjson::SizeType members) {
    --depth_;
    return doc_.EndObject(members);
  }
  bool StartArray() { return Enter() && doc_.StartArray(); }
  bool EndArray(rapidjson::SizeType elements) {
    --depth_;
    return doc_.EndArray(elements);
  }

  bool tooDeep() const { return depth_ > maxDepth_; }
  bool tooLong() const { return tooLong_; }
  // A string too long for a document ends the parse.
  void RefuseLength() { tooLong_ = true; }

 private:
  bool Enter() { return ++depth_ <= maxDepth_; }

  Document& doc_;
  const unsigned maxDepth_;
  unsigned depth_ = 0;
  bool tooLong_ = false;
};

// Copies source into the root of doc, giving exactly what writing source as
// text and parsing that text gives, without the text: the same kinds, the
// same bits, every string copied. Returns false, doc unchanged, when source
// holds a NaN or an infinity (it has no text) or nests deeper than maxDepth.
bool CopyJsonValue(Document& doc, const Value& source, unsigned maxDepth = kMaxNestingDepth);

}  // namespace orv

#endif  // ORVJSON_SRC_JSON_DOCUMENT_BUILDER_H
