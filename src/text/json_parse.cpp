#include "json_parse.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "json_number.h"
#include "text_limits.h"

namespace orv {
namespace {

using rapidjson::SizeType;

// Stands between an event source (RapidJSON's reader, or a value being
// copied) and the document's own handler: numbers arrive exact (see
// ParseNumber below), JSON text has no NaN or infinity, every string is
// copied in, and nesting is bounded. Returning false from any event ends the
// parse or the copy as an error.
class ExactHandler {
 public:
  ExactHandler(Document& doc, unsigned maxDepth) : doc_(doc), maxDepth_(maxDepth) {}

  bool Null() { return doc_.Null(); }
  bool Bool(bool b) { return doc_.Bool(b); }
  bool Int(int i) { return doc_.Int(i); }
  bool Uint(unsigned u) { return doc_.Uint(u); }
  bool Int64(std::int64_t i) { return doc_.Int64(i); }
  bool Uint64(std::uint64_t u) { return doc_.Uint64(u); }
  bool Double(double d) { return std::isfinite(d) && doc_.Double(d); }
  bool RawNumber(const char*, SizeType, bool) { return false; }  // numbers never arrive as text
  bool String(const char* s, SizeType length, bool) { return doc_.String(s, length, true); }
  bool Key(const char* s, SizeType length, bool) { return doc_.Key(s, length, true); }

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

  bool tooDeep() const { return depth_ > maxDepth_; }

 private:
  bool Enter() { return ++depth_ <= maxDepth_; }

  Document& doc_;
  const unsigned maxDepth_;
  unsigned depth_ = 0;
};

constexpr unsigned kFlags = rapidjson::kParseDefaultFlags;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace
}  // namespace orv

// RapidJSON's own number scanner computes a double of its own next to the
// text and does exponent arithmetic in int that overflows on hostile text
// (1e-2147483639): undefined behaviour that only optimised builds happen to
// survive. This reader gets a scanner of its own instead: the same grammar,
// the same integer kinds and the same error codes and offsets, and doubles
// converted exactly, once, from their text. Nothing in it can overflow.
template <>
template <>
void orv::Reader::ParseNumber<orv::kFlags, rapidjson::StringStream, orv::ExactHandler>(rapidjson::StringStream& is,
                                                                                       orv::ExactHandler& handler) {
  using orv::IsDigit;
  const char* const begin = is.src_;
  const char* p = begin;
  const bool minus = *p == '-';
  if (minus) ++p;

  // int = zero / digit1-9 *DIGIT. The value wraps (unsigned: defined) past
  // 20 digits; the digit count tells when it did.
  const char* const digits = p;
  std::uint64_t value = 0;
  if (*p == '0') {
    ++p;
  } else if (*p >= '1' && *p <= '9') {
    while (IsDigit(*p)) value = value * 10 + static_cast<unsigned>(*p++ - '0');
  } else {
    RAPIDJSON_PARSE_ERROR(rapidjson::kParseErrorValueInvalid, static_cast<std::size_t>(p - is.head_));
  }
  const auto count = static_cast<std::size_t>(p - digits);
  // Of 20-digit numbers only those from 10^19 to 2^64 - 1 fit; the others
  // start with 2 to 9, or start with 1 and wrap below 10^19.
  bool integer = count < 20 || (count == 20 && *digits == '1' && value >= 10000000000000000000ULL);

  if (*p == '.') {
    ++p;
    if (!IsDigit(*p)) {
      RAPIDJSON_PARSE_ERROR(rapidjson::kParseErrorNumberMissFraction, static_cast<std::size_t>(p - is.head_));
    }
    while (IsDigit(*p)) ++p;
    integer = false;
  }
  if (*p == 'e' || *p == 'E') {
    ++p;
    if (*p == '+' || *p == '-') ++p;
    if (!IsDigit(*p)) {
      RAPIDJSON_PARSE_ERROR(rapidjson::kParseErrorNumberMissExponent, static_cast<std::size_t>(p - is.head_));
    }
    while (IsDigit(*p)) ++p;
    integer = false;
  }
  is.src_ = p;
  const auto start = static_cast<std::size_t>(begin - is.head_);

  // The kinds RapidJSON gives integers: 32 bits, then 64, then a double.
  constexpr std::uint64_t kInt32Magnitude = 0x80000000ULL;
  constexpr std::uint64_t kInt64Magnitude = 0x8000000000000000ULL;
  bool accepted = true;
  if (integer && !minus) {
    accepted = value <= std::numeric_limits<unsigned>::max() ? handler.Uint(static_cast<unsigned>(value))
                                                             : handler.Uint64(value);
  } else if (integer && value <= kInt32Magnitude) {
    accepted = handler.Int(static_cast<int>(-static_cast<std::int64_t>(value)));
  } else if (integer && value < kInt64Magnitude) {
    accepted = handler.Int64(-static_cast<std::int64_t>(value));
  } else if (integer && value == kInt64Magnitude) {
    accepted = handler.Int64(std::numeric_limits<std::int64_t>::min());
  } else {
    double exact = 0.0;
    if (!orv::ParseJsonDouble(begin, static_cast<std::size_t>(p - begin), exact)) {
      RAPIDJSON_PARSE_ERROR(rapidjson::kParseErrorNumberTooBig, start);
    }
    accepted = handler.Double(exact);
  }
  if (!accepted) RAPIDJSON_PARSE_ERROR(rapidjson::kParseErrorTermination, start);
}

namespace orv {

ParseOutcome ParseJsonText(Document& doc, const char* text, std::size_t length, unsigned maxDepth) {
  ParseOutcome outcome;
  if (!FitsInDocument(text, length, outcome.offset)) {
    outcome.problem = ParseProblem::kTooLong;
    return outcome;
  }
  // Populate moves the finished value into the root only when the generator
  // succeeds, and empties the document's value stack either way.
  auto generate = [&](Document& target) {
    rapidjson::StringStream stream(text);
    Reader reader;
    ExactHandler handler(target, maxDepth);
    const rapidjson::ParseResult result = reader.Parse<kFlags>(stream, handler);
    if (!result.IsError()) return true;
    outcome.code = result.Code();
    outcome.offset = result.Offset();
    if (result.Code() == rapidjson::kParseErrorNumberTooBig) {
      outcome.problem = ParseProblem::kNumberOutOfRange;
    } else if (handler.tooDeep()) {
      outcome.problem = ParseProblem::kTooDeep;
      outcome.offset -= 1;  // at the bracket that opened one level too many
    } else {
      outcome.problem = ParseProblem::kSyntax;
    }
    return false;
  };
  doc.Populate(generate);
  return outcome;
}

bool CopyJsonValue(Document& doc, const Value& source, unsigned maxDepth) {
  bool copied = false;
  auto generate = [&](Document& target) {
    ExactHandler handler(target, maxDepth);
    copied = source.Accept(handler);
    return copied;
  };
  doc.Populate(generate);
  return copied;
}

}  // namespace orv
