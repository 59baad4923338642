// Compact JSON text, byte for byte what RapidJSON's Writer gives, written
// straight from the values into an output's buffer.
#ifndef ORVJSON_SRC_TEXT_COMPACT_WRITER_H
#define ORVJSON_SRC_TEXT_COMPACT_WRITER_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "../json/json_types.h"
#include "double_text.h"
#include "integer_text.h"
#include "json_grammar.h"

namespace orv {

// An output lends the writer a window of its buffer, [at, end):
//   char* Start()   where the window starts;
//   char* End()     where it ends;
//   char* Grow(char* at, std::size_t room)
//                   keeps the text written up to at and returns where to
//                   go on, with at least room bytes (never more than 64)
//                   up to End().
// The writer asks for room before every store, so stores never pass End().
template <typename Output>
class CompactWriter {
 public:
  explicit CompactWriter(Output& out) : out_(out), end_(out.End()), at_(out.Start()) {}
  CompactWriter(const CompactWriter&) = delete;
  CompactWriter& operator=(const CompactWriter&) = delete;

  // False when the value holds a NaN or an infinite double, which JSON text
  // cannot express; the text then stops before it, as RapidJSON's does.
  bool Write(const Value& value) {
    char* const p = WriteValue(value, at_);
    if (p == nullptr) return false;
    at_ = p;
    return true;
  }

  // Where the text written so far ends.
  char* At() const { return at_; }

 private:
  // The cursor p travels through arguments and results, never through a
  // member: a store through a char pointer may alias any member, which
  // would make the compiler reload it after every byte.

  // RapidJSON's escapes: the short ones where JSON has them, \u00XX with
  // capital hexadecimal digits for the other control characters.
  struct Escapes {
    char of[32];
    constexpr Escapes() : of() {
      for (char& e : of) e = 'u';
      of[0x08] = 'b';
      of[0x09] = 't';
      of[0x0A] = 'n';
      of[0x0C] = 'f';
      of[0x0D] = 'r';
    }
  };
  static constexpr Escapes kEscapes{};

  // Room for bytes (at most 64) at p; p moves when the output's buffer does.
  char* Room(char* p, std::size_t bytes) {
    if (RAPIDJSON_LIKELY(static_cast<std::size_t>(end_ - p) >= bytes)) return p;
    p = out_.Grow(p, bytes);
    end_ = out_.End();
    return p;
  }

  char* Put(char* p, char c) {
    p = Room(p, 1);
    *p = c;
    return p + 1;
  }

  template <std::size_t N>
  char* PutWord(char* p, const char (&word)[N]) {
    p = Room(p, N - 1);
    std::memcpy(p, word, N - 1);
    return p + N - 1;
  }

  // A value of any kind. Scalars are written here, inlined into the loops
  // of the containers, so that only containers cost a call.
  RAPIDJSON_FORCEINLINE char* WriteValue(const Value& value, char* p) {
    switch (value.GetType()) {
      case rapidjson::kNullType:
        return PutWord(p, "null");
      case rapidjson::kFalseType:
        return PutWord(p, "false");
      case rapidjson::kTrueType:
        return PutWord(p, "true");
      case rapidjson::kStringType: {
        p = Room(p, kInlineRoom);
        char* const copied = CopyInline(value, p);
        return copied != nullptr ? copied : WriteString(value.GetString(), value.GetStringLength(), p);
      }
      case rapidjson::kNumberType:
        p = Room(p, kNumberRoom);
        // The commonest number; the others are written out of line.
        return value.IsInt() ? integer_text::WriteSigned(value.GetInt(), p) : WriteNumber(value, p);
      case rapidjson::kArrayType:
        return WriteArray(value, p);
      default:
        return WriteObject(value, p);
    }
  }

  char* WriteArray(const Value& array, char* p) {
    p = Put(p, '[');
    bool first = true;
    for (const Value& element : array.GetArray()) {
      if (!first) p = Put(p, ',');
      first = false;
      p = WriteValue(element, p);
      if (p == nullptr) return nullptr;
    }
    return Put(p, ']');
  }

  char* WriteObject(const Value& object, char* p) {
    p = Put(p, '{');
    const auto first = object.MemberBegin();
    for (auto member = first; member != object.MemberEnd(); ++member) {
      // One room check for the comma and a short name.
      p = Room(p, 1 + kInlineRoom);
      if (member != first) *p++ = ',';
      char* const named = CopyInline(member->name, p);
      p = named != nullptr ? named : WriteString(member->name.GetString(), member->name.GetStringLength(), p);
      p = WriteValue(member->value, Put(p, ':'));
      if (p == nullptr) return nullptr;
    }
    return Put(p, '}');
  }

  // Room for any number's stores: a double's text is at most 25 bytes, but
  // its writer stores whole words beyond it; the integer writers store at
  // most 21.
  static constexpr std::size_t kNumberRoom = double_text::kRoom;
  static_assert(kNumberRoom >= 21 && kNumberRoom <= 64, "room for the integer writers, within what Room gives");

  // A number other than an int, at p with kNumberRoom bytes of room.
  char* WriteNumber(const Value& value, char* p) {
    if (value.IsDouble()) {
      const double d = value.GetDouble();
      if (rapidjson::internal::Double(d).IsNanOrInf()) {
        at_ = p;  // the text so far
        return nullptr;
      }
      return double_text::WriteDouble(d, p);
    }
    if (value.IsUint()) return integer_text::WriteUint32(value.GetUint(), p);
    if (value.IsInt64()) return integer_text::WriteSigned(value.GetInt64(), p);
    return integer_text::WriteUint64(value.GetUint64(), p);
  }

  // Whether any of the bytes of word needs an escape: a quotation mark, a
  // backslash or a byte below 0x20.
  template <typename Word>
  static bool NeedsEscape(Word word) {
    constexpr Word kOnes = static_cast<Word>(~Word{0}) / 255;
    constexpr Word kHigh = kOnes * 0x80;
    const auto zeroIn = [](Word x) { return static_cast<Word>((x - kOnes) & ~x & kHigh); };
    const Word below = static_cast<Word>((word - kOnes * 0x20) & ~word & kHigh);
    return (below | zeroIn(word ^ (kOnes * '"')) | zeroIn(word ^ (kOnes * '\\'))) != 0;
  }

  // Copies count (from sizeof(Word) to 2 * sizeof(Word)) plain bytes of s to
  // p as two overlapping words; nullptr, with nothing written, when a byte
  // needs an escape.
  template <typename Word>
  static char* CopyPlain(const char* s, std::size_t count, char* p) {
    Word head;
    Word tail;
    std::memcpy(&head, s, sizeof head);
    std::memcpy(&tail, s + count - sizeof tail, sizeof tail);
    if (NeedsEscape(head) || NeedsEscape(tail)) return nullptr;
    std::memcpy(p, &head, sizeof head);
    std::memcpy(p + count - sizeof tail, &tail, sizeof tail);
    return p + count;
  }

  // Room a quoted string copied by CopyInline needs: its 16-byte store
  // after the opening quotation mark.
  static constexpr std::size_t kInlineRoom = 1 + 16;

  // Most names and many short values are RapidJSON's short strings, kept
  // inside the value's own 16 bytes, so those bytes can be read whole
  // whatever the string's length. Writes the quoted string at p (which has
  // kInlineRoom bytes of room) and returns where it ends; nullptr, with
  // nothing that counts written, for another string or one that needs an
  // escape.
  static char* CopyInline(const Value& string, char* p) {
#if defined(__SSE2__)
    static_assert(sizeof(Value) == 16, "a value is 16 bytes on every target");
    const char* const s = string.GetString();
    if (s != reinterpret_cast<const char*>(&string)) return nullptr;
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const unsigned length = string.GetStringLength();  // at most 13
    if ((NotPlainIn(bytes) & ((1u << length) - 1)) != 0) return nullptr;
    *p = '"';
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 1), bytes);
    p[1 + length] = '"';
    return p + 2 + length;
#else
    (void)string;
    (void)p;
    return nullptr;
#endif
  }

  // Bytes one at a time, escaped where they must be.
  char* WriteEscaped(const char* s, const char* end, char* p) {
    for (; s != end; ++s) {
      const auto c = static_cast<unsigned char>(*s);
      p = Room(p, 6);
      if (kPlain.plain[c]) {
        *p++ = static_cast<char>(c);
        continue;
      }
      p[0] = '\\';
      if (c >= 0x20) {  // the quotation mark or the backslash
        p[1] = static_cast<char>(c);
        p += 2;
        continue;
      }
      p[1] = kEscapes.of[c];
      if (p[1] != 'u') {
        p += 2;
        continue;
      }
      static const char kHex[] = "0123456789ABCDEF";
      p[2] = '0';
      p[3] = '0';
      p[4] = kHex[c >> 4];
      p[5] = kHex[c & 0xF];
      p += 6;
    }
    return p;
  }

  // Fewer than 16 bytes, copied whole when none needs an escape.
  RAPIDJSON_FORCEINLINE static char* CopyShortPlain(const char* s, std::size_t length, char* p) {
    if (length >= 8) return CopyPlain<std::uint64_t>(s, length, p);
    if (length >= 4) return CopyPlain<std::uint32_t>(s, length, p);
    for (std::size_t i = 0; i < length; ++i) {
      if (!kPlain.plain[static_cast<unsigned char>(s[i])]) return nullptr;
      p[i] = s[i];
    }
    return p + length;
  }

  char* WriteString(const char* s, std::size_t length, char* p) {
    if (length < 16) {  // most names and many values
      p = Room(p, 16 + 2);
      *p = '"';
      char* const copied = CopyShortPlain(s, length, p + 1);
      if (copied == nullptr) return Put(WriteEscaped(s, s + length, p + 1), '"');
      *copied = '"';
      return copied + 1;
    }
    const char* const end = s + length;
    p = Put(p, '"');
#if defined(__SSE2__)
    // Sixteen bytes at a time; they are stored before they are looked at,
    // and the cursor moves only past the plain ones.
    // Each step makes room for the last 16 bytes and the closing quotation
    // mark too, so that the end of a string without escapes is stored over
    // bytes that are still in the window.
    bool escaped = false;
    while (end - s >= 16) {
      p = Room(p, 16 + 16 + 1);
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(p), bytes);
      const unsigned stops = NotPlainIn(bytes);
      if (stops == 0) {
        s += 16;
        p += 16;
        continue;
      }
      const unsigned plain = static_cast<unsigned>(__builtin_ctz(stops));
      s += plain;
      p = WriteEscaped(s, s + 1, p + plain);
      ++s;
      escaped = true;
    }
    if (!escaped && s != end) {
      // The last 16 bytes, of which those before s are already written as
      // they are: stored again over themselves, the rest after them.
      const auto rest = static_cast<unsigned>(end - s);
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(end - 16));
      if ((NotPlainIn(bytes) >> (16 - rest)) == 0) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + rest - 16), bytes);
        p += rest;
        *p = '"';
        return p + 1;
      }
    }
#else
    while (end - s >= 16) {
      p = Room(p, 8);
      char* const copied = CopyPlain<std::uint64_t>(s, 8, p);
      p = copied != nullptr ? copied : WriteEscaped(s, s + 8, p);
      s += 8;
    }
#endif
    const auto rest = static_cast<std::size_t>(end - s);
    p = Room(p, 16 + 1);
    char* const copied = CopyShortPlain(s, rest, p);
    if (copied == nullptr) return Put(WriteEscaped(s, end, p), '"');
    *copied = '"';
    return copied + 1;
  }

  Output& out_;
  char* end_;  // of the output's buffer
  char* at_;   // where the text written so far ends
};

}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_COMPACT_WRITER_H
