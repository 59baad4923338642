#include "json_parse.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include <rapidjson/error/en.h>

#include "../json/limits.h"
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

constexpr unsigned kFlags = rapidjson::kParseDefaultFlags;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Bytes a string takes as they are: all but the quotation mark, the
// backslash and the control characters (NUL among them).
struct PlainBytes {
  bool plain[256];
  constexpr PlainBytes() : plain() {
    for (int c = 0x20; c < 256; ++c) plain[c] = c != '"' && c != '\\';
  }
};
constexpr PlainBytes kPlain;

// Runs up to this long are copied byte by byte: msvcrt's memcpy costs more
// than that for the short runs most strings are made of; glibc's does not.
#ifdef _WIN32
constexpr std::size_t kShortRun = 16;
#else
constexpr std::size_t kShortRun = 0;
#endif

// What the character after a backslash stands for; 0 for none.
constexpr char Unescaped(char e) {
  switch (e) {
    case '"':
      return '"';
    case '\\':
      return '\\';
    case '/':
      return '/';
    case 'b':
      return '\b';
    case 'f':
      return '\f';
    case 'n':
      return '\n';
    case 'r':
      return '\r';
    case 't':
      return '\t';
    default:
      return 0;
  }
}

// The value of four hexadecimal digits, or -1.
long Hex4(const char* p) {
  long value = 0;
  for (int i = 0; i < 4; ++i) {
    const char c = p[i];
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

// Appends the UTF-8 bytes of a code point.
template <typename Stack>
void PutUtf8(Stack& stack, unsigned long code) {
  char* out;
  if (code < 0x80) {
    *stack.template Push<char>(1) = static_cast<char>(code);
  } else if (code < 0x800) {
    out = stack.template Push<char>(2);
    out[0] = static_cast<char>(0xC0 | (code >> 6));
    out[1] = static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out = stack.template Push<char>(3);
    out[0] = static_cast<char>(0xE0 | (code >> 12));
    out[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out = stack.template Push<char>(4);
    out[0] = static_cast<char>(0xF0 | (code >> 18));
    out[1] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (code & 0x3F));
  }
}

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
void orv::Reader::ParseString<orv::kFlags, rapidjson::StringStream, orv::ExactHandler>(rapidjson::StringStream& is,
                                                                                       orv::ExactHandler& handler,
                                                                                       bool isKey) {
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
      if (length > orv::kShortRun) {
        std::memcpy(out, run, length);
      } else {
        for (std::size_t i = 0; i < length; ++i) out[i] = run[i];
      }
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
    orv::PutUtf8(stack_, static_cast<unsigned long>(code));
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

namespace orv {

ParseOutcome ParseJsonText(Document& doc, const char* text, std::size_t length, unsigned maxDepth) {
  ParseOutcome outcome;
  if (!FitsInDocument(text, length, outcome.offset)) {
    outcome.problem = ParseProblem::kTooLong;
    return outcome;
  }
  doc.GetAllocator().Expect(length);
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
    } else if (handler.tooLong()) {
      outcome.problem = ParseProblem::kTooLong;
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

LoadProblem DescribeProblem(const ParseOutcome& outcome, const char* text, std::size_t length) {
  LoadProblem problem;
  problem.offset = outcome.offset;
  for (std::size_t i = 0; i < outcome.offset && i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '\n') {
      ++problem.line;
      problem.column = 1;
    } else if ((byte & 0xC0) != 0x80) {  // not a continuation byte: a new character
      ++problem.column;
    }
  }
  static_assert(kMaxNestingDepth == 1000, "the message names the limit");
  switch (outcome.problem) {
    case ParseProblem::kNumberOutOfRange:
      problem.message = "Number out of range: its value is too large for a double.";
      break;
    case ParseProblem::kTooDeep:
      problem.message = "Nesting deeper than 1000 arrays and objects.";
      break;
    case ParseProblem::kTooLong:
      problem.message = "String, array or object too large for a document.";
      problem.tooLarge = true;
      break;
    default:
      problem.message = rapidjson::GetParseError_En(outcome.code);
      break;
  }
  if (length >= 3 && outcome.offset == 0 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0) {
    problem.message = "The text starts with a UTF-8 byte-order mark, which JSON text may not.";
  }
  return problem;
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
