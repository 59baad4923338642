// Pieces of JSON's grammar shared by the readers: which bytes a string takes
// as they are, what an escape stands for, and the UTF-8 of a code point.
#ifndef ORVJSON_SRC_TEXT_JSON_GRAMMAR_H
#define ORVJSON_SRC_TEXT_JSON_GRAMMAR_H

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orv {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Bytes a string takes as they are: all but the quotation mark, the
// backslash and the control characters (NUL among them).
struct PlainBytes {
  bool plain[256];
  constexpr PlainBytes() : plain() {
    for (int c = 0x20; c < 256; ++c) plain[c] = c != '"' && c != '\\';
  }
};
constexpr PlainBytes kPlain;

#if defined(__SSE2__)
// kPlain for 16 bytes at once: a bit for each byte that is not plain.
inline unsigned NotPlainIn(__m128i bytes) {
  // Below 0x20 as unsigned bytes: below -96 once the sign bit is flipped.
  const __m128i control =
      _mm_cmplt_epi8(_mm_xor_si128(bytes, _mm_set1_epi8(-128)), _mm_set1_epi8(static_cast<char>(0x20 ^ 0x80)));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
      _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('"')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\\'))), control)));
}
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
inline long Hex4(const char* p) {
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

// The UTF-8 bytes of a code point into out (room for 4); returns how many.
inline int Utf8Of(unsigned long code, char* out) {
  if (code < 0x80) {
    out[0] = static_cast<char>(code);
    return 1;
  }
  if (code < 0x800) {
    out[0] = static_cast<char>(0xC0 | (code >> 6));
    out[1] = static_cast<char>(0x80 | (code & 0x3F));
    return 2;
  }
  if (code < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (code >> 12));
    out[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (code & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (code >> 18));
  out[1] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (code & 0x3F));
  return 4;
}

}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_JSON_GRAMMAR_H
