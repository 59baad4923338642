#include "json_parse.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include <rapidjson/error/en.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <fast_float/fast_float.h>

#include "../json/limits.h"
#include "../json/value_stack.h"
#include "json_grammar.h"
#include "json_number.h"
#include "text_limits.h"
#include "text_releaser.h"

namespace orv {
namespace {

using rapidjson::ParseErrorCode;
using rapidjson::SizeType;

// Whitespace between tokens: space, tab, line feed and carriage return.
struct SpaceBytes {
  bool space[256];
  constexpr SpaceBytes() : space() {
    for (unsigned char byte : {' ', '\t', '\n', '\r'}) space[byte] = true;
  }
};
constexpr SpaceBytes kSpace;

// A 32-bit build has too few registers to read a number inside the value
// loop without spilling what the loop keeps: there numbers are read out of
// line, which loads canada a tenth faster; elsewhere inline is faster.
#if UINTPTR_MAX <= 0xFFFFFFFFU
#define ORV_NUMBER_OUT_OF_LINE __attribute__((noinline))
#else
#define ORV_NUMBER_OUT_OF_LINE
#endif

// Keeps the branch that holds it: the compiler may not turn a branch with
// such a statement into arithmetic on its condition.
inline void KeepBranch(unsigned& value) {
#if defined(__GNUC__)
  __asm__ volatile("" : "+r"(value));
#else
  (void)value;
#endif
}

#if defined(__SSE2__)
inline unsigned Mask(__m128i bytes) { return static_cast<unsigned>(_mm_movemask_epi8(bytes)); }
#endif

// The front end: one pass over the text that puts each value on the stack
// the document is built on as it is read, with RapidJSON's grammar, its
// error codes and offsets, and the library's exact numbers, length and
// nesting limits. Strings are copied once, straight from the text unless
// they hold escapes; runs of plain bytes and of whitespace are found 16
// bytes at a time.
class Parser {
 public:
  Parser(ValueStack& stack, const char* text, std::size_t length, unsigned maxDepth, TextReleaser* releaser,
         ParseOutcome& outcome)
      : stack_(stack),
        begin_(text),
        end_(text + length),
        maxDepth_(maxDepth < kMaxNestingDepth ? maxDepth : kMaxNestingDepth),
        outcome_(outcome),
        releaser_(releaser) {
    if (releaser_ != nullptr) ScheduleRelease(text);
  }

  bool Run() {
    const char* p = SkipSpaces(begin_);
    if (*p == '\0') {
      Fail(rapidjson::kParseErrorDocumentEmpty, p);
      return false;
    }
    p = ParseValue(p);
    if (p == nullptr) return false;
    p = SkipSpaces(p);
    if (*p == '\0') return true;
    Fail(rapidjson::kParseErrorDocumentRootNotSingular, p);
    return false;
  }

 private:
  // The cursor p travels through arguments and results, never through a
  // member: the stack's stores may alias any member, which would make the
  // compiler store and reload the cursor around every value. A step that
  // fails records why and gives null.
  const char* Fail(ParseErrorCode code, const char* at, ParseProblem problem = ParseProblem::kSyntax) {
    outcome_.problem = problem;
    outcome_.code = code;
    outcome_.offset = static_cast<std::size_t>(at - begin_);
    return nullptr;
  }

  // Whenever the parse has come far enough, between two values, the releaser
  // hears where it is; one comparison per value otherwise.
  void Progress(const char* p) {
    if (reinterpret_cast<std::uintptr_t>(p) < releaseAt_) return;
    releaser_->Passed(static_cast<std::size_t>(p - begin_));
    ScheduleRelease(p);
  }
  void ScheduleRelease(const char* p) {
    const std::size_t every = releaser_->every();
    releaseAt_ = static_cast<std::size_t>(end_ - p) > every ? reinterpret_cast<std::uintptr_t>(p + every)
                                                            : std::numeric_limits<std::uintptr_t>::max();
  }

  template <typename Word>
  static Word Load(const char* p) {
    Word word;
    std::memcpy(&word, p, sizeof word);
    return word;
  }

  // The token at or after p, past any whitespace.
  RAPIDJSON_FORCEINLINE const char* SkipSpaces(const char* p) const {
    // Every byte that can start a token lies above the space.
    if (static_cast<unsigned char>(*p) > ' ' || !kSpace.space[static_cast<unsigned char>(*p)]) return p;
    // One whitespace byte alone, as after a colon or before unindented
    // text (the byte after it is readable: at worst the terminating NUL).
    ++p;
    if (static_cast<unsigned char>(*p) > ' ') return p;
    if (end_ - p >= 32) {
      // Indentation of up to 31 spaces, in steps of 8, 4, 2 and 1. The
      // processor predicts their branches, so the cursor waits on adds
      // only; found by a vector step, it waits on the vector unit, which
      // loaded indented text a fifth slower.
      constexpr std::uint64_t kEight = 0x2020202020202020ULL;
      if (Load<std::uint64_t>(p) == kEight) {
        p += 8;
        if (Load<std::uint64_t>(p) == kEight) {
          p += 8;
          if (Load<std::uint64_t>(p) == kEight) p += 8;
        }
      }
      if (Load<std::uint32_t>(p) == 0x20202020U) p += 4;
      if (Load<std::uint16_t>(p) == 0x2020U) p += 2;
      if (*p == ' ') ++p;
      if (static_cast<unsigned char>(*p) > ' ') return p;
    }
    return SkipLongSpaces(p);
  }

  // Longer runs, runs of other whitespace, and runs near the end.
  __attribute__((noinline)) const char* SkipLongSpaces(const char* p) const {
#if defined(__SSE2__)
    // Runs of spaces, 16 bytes at a time, with one comparison while they
    // are spaces only and all four kinds once a run holds others.
    while (end_ - p >= 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const unsigned blanks = Mask(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')));
      if (blanks == 0xFFFF) {
        p += 16;
        continue;
      }
      const auto run = static_cast<unsigned>(__builtin_ctz(~blanks));
      if (!kSpace.space[static_cast<unsigned char>(p[run])]) return p + run;
      const unsigned spaces = Mask(_mm_or_si128(
          _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'))),
          _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')))));
      if (spaces != 0xFFFF) return p + __builtin_ctz(~spaces);
      p += 16;
    }
#endif
    while (kSpace.space[static_cast<unsigned char>(*p)]) ++p;
    return p;
  }

  // The whole value at p, containers and all, in one loop; where it ends.
  // A container's items are read in the same frame as the container, and
  // the kind and item count of each enclosing one wait in open_ until it
  // goes on. A call per value set up and took down a frame each time, and
  // nesting cost stack.
  // Kept out of line: inlined into its caller, the 32-bit build spills more
  // and loads canada 5-10% slower.
  __attribute__((noinline)) const char* ParseValue(const char* p) {
    SizeType count = 0;     // items so far in the innermost open container
    bool inObject = false;  // whether that container is an object
    unsigned depth = 0;     // how many containers are open
  value:
    // The two openings are spelled out apart: as one case with the kind in a
    // variable, loads of citm and records measured 2-3% slower on x86-64.
    switch (*p) {
      case '"':
        p = ParseString(p);
        if (p == nullptr) return nullptr;
        break;
      case '{':
        if (!Enter(p, depth)) return nullptr;
        p = SkipSpaces(p + 1);
        if (*p == '}') {
          ++p;
          --depth;
          stack_.EndObject(0);
          break;
        }
        open_[depth - 1] = Open{count, inObject};
        count = 0;
        inObject = true;
        goto member;
      case '[':
        if (!Enter(p, depth)) return nullptr;
        p = SkipSpaces(p + 1);
        if (*p == ']') {
          ++p;
          --depth;
          stack_.EndArray(0);
          break;
        }
        open_[depth - 1] = Open{count, inObject};
        count = 0;
        inObject = false;
        goto value;
      case 'n':
        p = ParseWord(p, "null");
        if (p == nullptr) return nullptr;
        stack_.Null();
        break;
      case 't':
        p = ParseWord(p, "true");
        if (p == nullptr) return nullptr;
        stack_.Bool(true);
        break;
      case 'f':
        p = ParseWord(p, "false");
        if (p == nullptr) return nullptr;
        stack_.Bool(false);
        break;
      default:
        p = ParseNumber(p);
        if (p == nullptr) return nullptr;
        break;
    }
    // A value is read: the container it is in takes it, and goes on or ends.
  next:
    if (depth == 0) return p;
    ++count;
    if (inObject) {
      p = SkipSpaces(p);
      Progress(p);
      if (*p == ',') {
        p = SkipSpaces(p + 1);
        goto member;
      }
      if (*p != '}') return Fail(rapidjson::kParseErrorObjectMissCommaOrCurlyBracket, p);
      ++p;
      --depth;
      stack_.EndObject(count);
    } else {
      Progress(p);
      p = SkipSpaces(p);
      if (*p == ',') {
        p = SkipSpaces(p + 1);
        goto value;
      }
      if (*p != ']') return Fail(rapidjson::kParseErrorArrayMissCommaOrSquareBracket, p);
      ++p;
      --depth;
      stack_.EndArray(count);
    }
    count = open_[depth].count;
    inObject = open_[depth].inObject;
    goto next;
  member:
    if (*p != '"') return Fail(rapidjson::kParseErrorObjectMissName, p);
    p = ParseString(p);
    if (p == nullptr) return nullptr;
    p = SkipSpaces(p);
    if (*p != ':') return Fail(rapidjson::kParseErrorObjectMissColon, p);
    p = SkipSpaces(p + 1);
    goto value;
  }

  // A literal; refused at the first byte that differs.
  template <std::size_t N>
  const char* ParseWord(const char* p, const char (&word)[N]) {
    // Compared whole (one or two loads) wherever the text holds as many
    // bytes, which it does but at its very end.
    constexpr std::size_t kLength = N - 1;
    if (static_cast<std::size_t>(end_ - p) >= kLength && std::memcmp(p, word, kLength) == 0) return p + kLength;
    return ParseWordBytes(p, word);
  }
  // The same a byte at a time, to find where it differs.
  const char* ParseWordBytes(const char* p, const char* word) {
    for (++word, ++p; *word != '\0'; ++word, ++p) {
      if (*p != *word) return Fail(rapidjson::kParseErrorValueInvalid, p);
    }
    return p;
  }

  // One more level of nesting, at the opening bracket; past the limit the
  // parse ends there.
  bool Enter(const char* bracket, unsigned& depth) {
    if (++depth <= maxDepth_) return true;
    Fail(rapidjson::kParseErrorTermination, bracket, ParseProblem::kTooDeep);
    return false;
  }

  // The lowest set bit of stops (not zero), found in steps whose branches
  // the processor predicts, as indentation is: a cursor moved by it waits
  // on adds, not on the vector unit, which reads many small objects faster
  // when their strings repeat their lengths, and text of random lengths
  // slower.
  static unsigned FirstStop(unsigned stops) {
    unsigned at = 0;
    if ((stops & 0xFF) == 0) {
      at += 8;
      stops >>= 8;
    }
    if ((stops & 0xF) == 0) {
      at += 4;
      stops >>= 4;
    }
    if ((stops & 0x3) == 0) {
      at += 2;
      stops >>= 2;
    }
    if ((stops & 0x1) == 0) {
      ++at;
      KeepBranch(at);
    }
    return at;
  }

  // The first byte from p that a string does not take as it is: the closing
  // quotation mark, a backslash, a control character or the end.
  template <bool Predicted>
  const char* EndOfPlainRun(const char* p) const {
#if defined(__SSE2__)
    while (end_ - p >= 16) {
      const unsigned stops = NotPlainIn(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
      if (stops != 0) return p + (Predicted ? FirstStop(stops) : __builtin_ctz(stops));
      p += 16;
    }
#endif
    while (kPlain.plain[static_cast<unsigned char>(*p)]) ++p;
    return p;
  }

  // A name or a string value (the document keeps both alike) that stands
  // as it is in the text.
  void Deliver(const char* text, std::size_t length) {
    const auto size = static_cast<SizeType>(length);
    // The text goes on at least to its NUL, so 16 bytes from text are
    // readable when it ends no earlier than 15 bytes on.
    if (ValueStack::Inline(size) && end_ - text >= 15) {
      stack_.InlineString(text, size);
    } else {
      stack_.String(text, size);
    }
  }

  // A string too long for a document is refused at its opening quotation
  // mark, before its bytes are copied.
  const char* RefuseLength(const char* quote) {
    return Fail(rapidjson::kParseErrorTermination, quote, ParseProblem::kTooLong);
  }

  // The string at its opening quotation mark quote; where it ends. One
  // without escapes is read in the value loop itself; one with escapes, or
  // an error, is taken on out of line from its first stop.
  RAPIDJSON_FORCEINLINE const char* ParseString(const char* const quote) {
    const char* const p = EndOfPlainRun<true>(quote + 1);
    if (RAPIDJSON_LIKELY(*p == '"')) {
      const auto length = static_cast<std::size_t>(p - quote - 1);
      if (length > kMaxStringLength) return RefuseLength(quote);
      Deliver(quote + 1, length);
      return p + 1;
    }
    return ParseEscapedString(quote, p);
  }

  // Escapes, or an error: decoded into scratch, run by run. The bytes are
  // written through a cursor into room made ahead, in pieces inlined here:
  // appending to the string call by call spent more time in its calls than
  // in the decoding.
  __attribute__((noinline)) const char* ParseEscapedString(const char* const quote, const char* p) {
    char* out = &scratch_[0];
    const char* run = quote + 1;
    for (;;) {
      const auto used = static_cast<std::size_t>(out - &scratch_[0]);
      const auto length = static_cast<std::size_t>(p - run);
      if (length > kMaxStringLength - used) return RefuseLength(quote);
      // The run, and the at most four bytes an escape decodes to.
      if (length + 4 > scratch_.size() - used) out = MakeScratchRoom(used, length + 4);
      if (length >= 16) {
        rapidjson::internal::CopyValues(out, run, length);
      } else {
        rapidjson::internal::CopyShort(out, run, length);
      }
      out += length;
      if (*p == '"') break;
      if (*p != '\\') {
        // A raw control character, or the end of the text inside the string.
        return Fail(
            *p == '\0' ? rapidjson::kParseErrorStringMissQuotationMark : rapidjson::kParseErrorStringEscapeInvalid, p);
      }
      const char* const escape = p;
      if (const char c = Unescaped(p[1])) {
        *out++ = c;
        p += 2;
      } else {
        if (p[1] != 'u') return Fail(rapidjson::kParseErrorStringEscapeInvalid, escape);
        long code = Hex4(p + 2);
        if (code < 0) return Fail(rapidjson::kParseErrorStringUnicodeEscapeInvalidHex, escape);
        p += 6;
        if (code >= 0xD800 && code <= 0xDBFF) {
          // A high surrogate needs a low one right after it.
          if (p[0] != '\\' || p[1] != 'u') return Fail(rapidjson::kParseErrorStringUnicodeSurrogateInvalid, escape);
          const long low = Hex4(p + 2);
          if (low < 0) return Fail(rapidjson::kParseErrorStringUnicodeEscapeInvalidHex, escape);
          if (low < 0xDC00 || low > 0xDFFF) return Fail(rapidjson::kParseErrorStringUnicodeSurrogateInvalid, escape);
          code = (((code - 0xD800) << 10) | (low - 0xDC00)) + 0x10000;
          p += 6;
        }
        out += Utf8Of(static_cast<unsigned long>(code), out);
      }
      run = p;
      p = EndOfPlainRun<false>(p);
    }
    const auto size = static_cast<std::size_t>(out - &scratch_[0]);
    if (size > kMaxStringLength) return RefuseLength(quote);  // escapes took it past the limit
    stack_.String(&scratch_[0], static_cast<SizeType>(size));
    return p + 1;
  }

  // Scratch grown to hold at least more bytes after its first used ones, at
  // least half as large again; where its next byte goes.
  __attribute__((noinline)) char* MakeScratchRoom(std::size_t used, std::size_t more) {
    const std::size_t size = scratch_.size();
    const std::size_t grown = std::min(size + (size < 64 ? 64 : size / 2), scratch_.max_size());
    scratch_.resize(std::max(grown, used + more));
    return &scratch_[0] + used;
  }

  // Reads the run of digits at p into value (which wraps past 19 digits),
  // up to eight at a time, and returns where the run ends.
  const char* ReadDigits(const char* p, std::uint64_t& value) const {
    static constexpr std::uint64_t kPowers[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
    while (end_ - p >= 8) {
      const std::uint64_t word = fast_float::read_u64(p);
      // A byte not from '0' to '9' gets its high bit set; so may bytes after
      // it, but the first such byte is exactly the first that is no digit.
      const std::uint64_t others =
          ((word + 0x4646464646464646ULL) | (word - 0x3030303030303030ULL)) & 0x8080808080808080ULL;
      if (others == 0) {
        value = value * 100000000 + fast_float::parse_eight_digits_unrolled(word);
        p += 8;
        continue;
      }
      const unsigned count = static_cast<unsigned>(__builtin_ctzll(others)) / 8;
      if (count > 0) {
        // The digits move to the end of the word, behind zeros.
        const std::uint64_t padded = (word << (8 * (8 - count))) | (0x3030303030303030ULL >> (8 * count));
        value = value * kPowers[count] + fast_float::parse_eight_digits_unrolled(padded);
      }
      return p + count;
    }
    while (IsDigit(*p)) value = value * 10 + static_cast<unsigned>(*p++ - '0');
    return p;
  }

  // RapidJSON's number grammar and integer kinds; doubles converted exactly,
  // from the digits as they are read here (a number of more than 19 digits,
  // or with an exponent of more than 9, is read again by fast_float). Nothing
  // here can overflow.
  // The number at begin; where it ends.
  ORV_NUMBER_OUT_OF_LINE const char* ParseNumber(const char* const begin) {
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
      p = ReadDigits(p, value);
    } else {
      return Fail(rapidjson::kParseErrorValueInvalid, p);
    }
    const auto count = static_cast<std::size_t>(p - digits);
    const char* fraction = p;
    std::int64_t exponent = 0;
    bool exponentRead = true;
    if (*p == '.' || *p == 'e' || *p == 'E') {
      if (*p == '.') {
        ++p;
        if (!IsDigit(*p)) return Fail(rapidjson::kParseErrorNumberMissFraction, p);
        fraction = p;
        // The fraction's digits join the integer's, as fast_float reads them.
        p = ReadDigits(p, value);
      }
      const auto fractionLength = static_cast<std::size_t>(p - fraction);
      if (*p == 'e' || *p == 'E') {
        ++p;
        const bool negativeExponent = *p == '-';
        if (*p == '+' || *p == '-') ++p;
        if (!IsDigit(*p)) return Fail(rapidjson::kParseErrorNumberMissExponent, p);
        const char* const exponentDigits = p;
        for (; IsDigit(*p); ++p) {
          if (p - exponentDigits < 9) exponent = exponent * 10 + (*p - '0');
        }
        exponentRead = p - exponentDigits <= 9;
        if (negativeExponent) exponent = -exponent;
      }
      double exact = 0.0;
      bool finite = false;
      if (count + fractionLength <= 19 && exponentRead) {
        ScannedDecimal number;
        number.digits = value;
        number.exponent = exponent - static_cast<std::int64_t>(fractionLength);
        number.negative = minus;
        number.integer = digits;
        number.integerLength = count;
        number.fraction = fraction;
        number.fractionLength = fractionLength;
        finite = ScannedToDouble(number, nearest_, exact);
      } else {
        finite = ParseJsonDouble(begin, static_cast<std::size_t>(p - begin), exact);
      }
      if (!finite) return Fail(rapidjson::kParseErrorNumberTooBig, begin, ParseProblem::kNumberOutOfRange);
      stack_.Double(exact);
      return p;
    }
    // The kinds RapidJSON gives integers: 32 bits, then 64, then a double. Of
    // 20-digit numbers only those from 10^19 to 2^64 - 1 fit; the others start
    // with 2 to 9, or start with 1 and wrap below 10^19.
    const bool fits = count < 20 || (count == 20 && *digits == '1' && value >= 10000000000000000000ULL);
    constexpr std::uint64_t kInt32Magnitude = 0x80000000ULL;
    constexpr std::uint64_t kInt64Magnitude = 0x8000000000000000ULL;
    if (fits && !minus) {
      if (value <= std::numeric_limits<unsigned>::max()) {
        stack_.Uint(static_cast<unsigned>(value));
      } else {
        stack_.Uint64(value);
      }
    } else if (fits && value <= kInt32Magnitude) {
      stack_.Int(static_cast<int>(-static_cast<std::int64_t>(value)));
    } else if (fits && value < kInt64Magnitude) {
      stack_.Int64(-static_cast<std::int64_t>(value));
    } else if (fits && value == kInt64Magnitude) {
      stack_.Int64(std::numeric_limits<std::int64_t>::min());
    } else {
      double exact = 0.0;
      if (!ParseJsonDouble(begin, static_cast<std::size_t>(p - begin), exact)) {
        return Fail(rapidjson::kParseErrorNumberTooBig, begin, ParseProblem::kNumberOutOfRange);
      }
      stack_.Double(exact);
    }
    return p;
  }

  ValueStack& stack_;
  const char* const begin_;
  const char* const end_;  // where the NUL after the text is
  const unsigned maxDepth_;
  // Where each enclosing container stood when the one inside it opened:
  // open_[d] for the container at depth d (open_[0] for none). Left unset,
  // as it is written before it is read.
  struct Open {
    SizeType count;
    bool inObject;
  };
  Open open_[kMaxNestingDepth];
  ParseOutcome& outcome_;
  TextReleaser* const releaser_;
  std::uintptr_t releaseAt_ = std::numeric_limits<std::uintptr_t>::max();  // where the cursor next reports
  const bool nearest_ = RoundsToNearest();
  std::string scratch_;  // a string with escapes, decoded: room, of which the decoding uses the first bytes
};

}  // namespace

ParseOutcome ParseJsonText(Document& doc, const char* text, std::size_t length, unsigned maxDepth,
                           TextReleaser* releaser) {
  ParseOutcome outcome;
  if (!FitsInDocument(text, length, outcome.offset)) {
    outcome.problem = ParseProblem::kTooLong;
    return outcome;
  }
  doc.GetAllocator().Expect(length);
  // The root is replaced only by a whole value.
  ValueStack stack(doc.GetAllocator());
  if (Parser(stack, text, length, maxDepth, releaser, outcome).Run()) static_cast<Value&>(doc) = stack.Root();
  return outcome;
}

void AdvancePosition(LoadProblem& at, const char* text, std::size_t to) {
  std::size_t i = at.offset;
#if defined(__SSE2__)
  for (; to >= i + 16; i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
    const unsigned newlines = Mask(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')));
    unsigned starts = ~Mask(_mm_cmpeq_epi8(_mm_and_si128(bytes, _mm_set1_epi8(static_cast<char>(0xC0))),
                                           _mm_set1_epi8(static_cast<char>(0x80)))) &
                      0xFFFFu;
    if (newlines != 0) {
      at.line += static_cast<std::size_t>(__builtin_popcount(newlines));
      at.column = 1;
      starts &= ~((2u << (31 - __builtin_clz(newlines))) - 1);  // the characters after the last line feed
    }
    at.column += static_cast<std::size_t>(__builtin_popcount(starts));
  }
#endif
  for (; i < to; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '\n') {
      ++at.line;
      at.column = 1;
    } else if ((byte & 0xC0) != 0x80) {  // not a continuation byte: a new character
      ++at.column;
    }
  }
  at.offset = to;
}

LoadProblem DescribeProblem(const ParseOutcome& outcome, const char* text, std::size_t length,
                            const LoadProblem& known) {
  LoadProblem problem = known;
  AdvancePosition(problem, text, outcome.offset < length ? outcome.offset : length);
  problem.offset = outcome.offset;
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

}  // namespace orv
