#include "reference_reader.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "json/document_builder.h"
#include "text/json_grammar.h"
#include "text/json_number.h"
#include "text/text_limits.h"

namespace orvref {
constexpr unsigned kFlags = rapidjson::kParseDefaultFlags;
}  // namespace orvref

// RapidJSON's own number scanner computes a double of its own next to the
// text and does exponent arithmetic in int that overflows on hostile text
// (1e-2147483639): undefined behaviour that only optimised builds happen to
// survive. This reader gets a scanner of its own instead: the same grammar,
// the same integer kinds and the same error codes and offsets, and doubles
// converted exactly, once, from their text. Nothing in it can overflow.
template <>
template <>
void orv::Reader::ParseNumber<orvref::kFlags, rapidjson::StringStream, orv::DocumentBuilder>(
    rapidjson::StringStream& is, orv::DocumentBuilder& handler) {
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
    // Nine digits always fit in 32 bits, where 32-bit systems count fastest.
    unsigned leading = 0;
    for (int n = 0; n < 9 && IsDigit(*p); ++n) leading = leading * 10 + static_cast<unsigned>(*p++ - '0');
    value = leading;
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

// RapidJSON's string scanner pushes every byte onto its stack on its own.
// This one copies each run of plain bytes at once, which makes strings load
// markedly faster on both targets; escapes, errors and offsets are
// RapidJSON's. The length is counted in size_t, so a string too long for a
// document is refused instead of wrapping.
template <>
template <>
void orv::Reader::ParseString<orvref::kFlags, rapidjson::StringStream, orv::DocumentBuilder>(
    rapidjson::StringStream& is, orv::DocumentBuilder& handler, bool isKey) {
  const auto offset = [&is](const char* at) { return static_cast<std::size_t>(at - is.head_); };
  // A string too long for a document is refused at its opening quotation
  // mark before its bytes are copied.
  const auto refuseLength = [&] {
    handler.RefuseLength();
    RAPIDJSON_PARSE_ERROR_NORETURN(rapidjson::kParseErrorTermination, offset(is.src_));
  };
  const std::size_t bottom = stack_.GetSize();
  const char* p = is.src_ + 1;  // past the opening quotation mark
  for (;;) {
    const char* const run = p;
    while (orv::kPlain.plain[static_cast<unsigned char>(*p)]) ++p;
    if (p != run) {
      const auto length = static_cast<std::size_t>(p - run);
      if (stack_.GetSize() - bottom + length > orv::kMaxStringLength) return refuseLength();
      char* out = stack_.template Push<char>(length);
      std::memcpy(out, run, length);
    }
    if (*p == '"') break;
    if (*p != '\\') {
      // A raw control character, or the end of the text inside the string.
      RAPIDJSON_PARSE_ERROR(
          *p == '\0' ? rapidjson::kParseErrorStringMissQuotationMark : rapidjson::kParseErrorStringEscapeInvalid,
          offset(p));
    }
    const char* const escape = p;
    if (const char c = orv::Unescaped(p[1])) {
      *stack_.template Push<char>(1) = c;
      p += 2;
      continue;
    }
    if (p[1] != 'u') RAPIDJSON_PARSE_ERROR(rapidjson::kParseErrorStringEscapeInvalid, offset(escape));
    long code = orv::Hex4(p + 2);
    if (code < 0) RAPIDJSON_PARSE_ERROR(rapidjson::kParseErrorStringUnicodeEscapeInvalidHex, offset(escape));
    p += 6;
    if (code >= 0xD800 && code <= 0xDBFF) {
      // A high surrogate needs a low one right after it.
      if (p[0] != '\\' || p[1] != 'u') {
        RAPIDJSON_PARSE_ERROR(rapidjson::kParseErrorStringUnicodeSurrogateInvalid, offset(escape));
      }
      const long low = orv::Hex4(p + 2);
      if (low < 0) RAPIDJSON_PARSE_ERROR(rapidjson::kParseErrorStringUnicodeEscapeInvalidHex, offset(escape));
      if (low < 0xDC00 || low > 0xDFFF) {
        RAPIDJSON_PARSE_ERROR(rapidjson::kParseErrorStringUnicodeSurrogateInvalid, offset(escape));
      }
      code = (((code - 0xD800) << 10) | (low - 0xDC00)) + 0x10000;
      p += 6;
    }
    char utf8[4];
    const int bytes = orv::Utf8Of(static_cast<unsigned long>(code), utf8);
    std::memcpy(stack_.template Push<char>(static_cast<std::size_t>(bytes)), utf8, static_cast<std::size_t>(bytes));
  }
  const std::size_t length = stack_.GetSize() - bottom;
  if (length > orv::kMaxStringLength) return refuseLength();  // escapes took it past the limit
  is.src_ = p + 1;                                            // past the closing quotation mark
  *stack_.template Push<char>(1) = '\0';
  const char* const text = stack_.template Pop<char>(length + 1);
  const bool accepted = isKey ? handler.Key(text, static_cast<rapidjson::SizeType>(length), true)
                              : handler.String(text, static_cast<rapidjson::SizeType>(length), true);
  if (!accepted) RAPIDJSON_PARSE_ERROR(rapidjson::kParseErrorTermination, is.Tell());
}

namespace orvref {

orv::ParseOutcome ParseJsonTextReference(orv::Document& doc, const char* text, std::size_t length, unsigned maxDepth) {
  orv::ParseOutcome outcome;
  if (!orv::FitsInDocument(text, length, outcome.offset)) {
    outcome.problem = orv::ParseProblem::kTooLong;
    return outcome;
  }
  doc.GetAllocator().Expect(length);
  // Populate moves the finished value into the root only when the generator
  // succeeds, and empties the document's value stack either way.
  auto generate = [&](orv::Document& target) {
    rapidjson::StringStream stream(text);
    orv::Reader reader;
    orv::DocumentBuilder handler(target, maxDepth);
    const rapidjson::ParseResult result = reader.Parse<kFlags>(stream, handler);
    if (!result.IsError()) return true;
    outcome.code = result.Code();
    outcome.offset = result.Offset();
    if (result.Code() == rapidjson::kParseErrorNumberTooBig) {
      outcome.problem = orv::ParseProblem::kNumberOutOfRange;
    } else if (handler.tooLong()) {
      outcome.problem = orv::ParseProblem::kTooLong;
    } else if (handler.tooDeep()) {
      outcome.problem = orv::ParseProblem::kTooDeep;
      outcome.offset -= 1;  // at the bracket that opened one level too many
    } else {
      outcome.problem = orv::ParseProblem::kSyntax;
    }
    return false;
  };
  doc.Populate(generate);
  return outcome;
}

bool SameValue(const orv::Value& a, const orv::Value& b) {
  if (a.GetType() != b.GetType()) return false;
  switch (a.GetType()) {
    case rapidjson::kNumberType: {
      if (a.IsInt() != b.IsInt() || a.IsUint() != b.IsUint() || a.IsInt64() != b.IsInt64() ||
          a.IsUint64() != b.IsUint64() || a.IsDouble() != b.IsDouble()) {
        return false;
      }
      if (a.IsDouble()) {
        const double x = a.GetDouble(), y = b.GetDouble();
        return std::memcmp(&x, &y, sizeof x) == 0;
      }
      return a.IsUint64() ? a.GetUint64() == b.GetUint64() : a.GetInt64() == b.GetInt64();
    }
    case rapidjson::kStringType:
      return a.GetStringLength() == b.GetStringLength() &&
             std::memcmp(a.GetString(), b.GetString(), a.GetStringLength()) == 0 &&
             a.GetString()[a.GetStringLength()] == '\0' && b.GetString()[b.GetStringLength()] == '\0';
    case rapidjson::kArrayType:
      if (a.Size() != b.Size()) return false;
      for (rapidjson::SizeType i = 0; i < a.Size(); ++i) {
        if (!SameValue(a[i], b[i])) return false;
      }
      return true;
    case rapidjson::kObjectType: {
      if (a.MemberCount() != b.MemberCount()) return false;
      auto x = a.MemberBegin();
      for (auto y = b.MemberBegin(); y != b.MemberEnd(); ++x, ++y) {
        if (!SameValue(x->name, y->name) || !SameValue(x->value, y->value)) return false;
      }
      return true;
    }
    default:
      return true;
  }
}

}  // namespace orvref
