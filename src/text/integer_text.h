// Decimal text of integers, eight digits at a time in one 64-bit word
// rather than a division and a table lookup for every two.
#ifndef ORVJSON_SRC_TEXT_INTEGER_TEXT_H
#define ORVJSON_SRC_TEXT_INTEGER_TEXT_H

#include <cstdint>
#include <cstring>
#include <type_traits>

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "the digits are stored as a little-endian word"
#endif

namespace orv {
namespace integer_text {

constexpr std::uint32_t kTen8 = 100000000;
constexpr std::uint64_t kTen16 = 10000000000000000;
constexpr std::uint64_t kZeros = 0x3030303030303030;  // '0' in every byte

// The eight decimal digits of v (below 10^8) as values 0-9, one a byte, the
// first digit in the lowest byte. Each step halves every lane of the word:
// 10^4 per 32-bit lane, then 100 per 16-bit lane, then 10 per byte, the
// quotients by multiplications that are exact in each lane's range and too
// small to carry into the next lane.
inline std::uint64_t DigitsOf(std::uint32_t v) {
  const std::uint32_t high = v / 10000;
  std::uint64_t x = high | (static_cast<std::uint64_t>(v - high * 10000) << 32);
  std::uint64_t q = ((x * 10486) >> 20) & 0x0000007F0000007F;  // x / 100 for x below 43,699
  x = q | ((x - q * 100) << 16);
  q = ((x * 103) >> 10) & 0x000F000F000F000F;  // x / 10 for x below 179
  return q | ((x - q * 10) << 8);
}

// Eight digits, leading zeros kept.
inline char* WriteEight(std::uint32_t v, char* p) {
  const std::uint64_t text = DigitsOf(v) | kZeros;
  std::memcpy(p, &text, sizeof text);
  return p + 8;
}

// v below 10^8 without leading zeros. Stores 8 bytes whatever v's length.
inline char* WriteBelowTen8(std::uint32_t v, char* p) {
  if (v < 10) {  // 0 among them, which has no nonzero digit to find
    *p = static_cast<char>('0' + v);
    return p + 1;
  }
  const std::uint64_t digits = DigitsOf(v);
  const unsigned zeros = static_cast<unsigned>(__builtin_ctzll(digits)) / 8;
  const std::uint64_t text = (digits >> (zeros * 8)) | kZeros;
  std::memcpy(p, &text, sizeof text);
  return p + 8 - zeros;
}

// The writers below store up to 8 bytes past the text they return the end
// of, never more than 21 bytes from p in all.

inline char* WriteUint32(std::uint32_t v, char* p) {
  if (v < kTen8) return WriteBelowTen8(v, p);
  const std::uint32_t high = v / kTen8;
  return WriteEight(v - high * kTen8, WriteBelowTen8(high, p));
}

inline char* WriteUint64(std::uint64_t v, char* p) {
  if (v < kTen8) return WriteBelowTen8(static_cast<std::uint32_t>(v), p);
  if (v < kTen16) {
    const std::uint64_t high = v / kTen8;
    return WriteEight(static_cast<std::uint32_t>(v - high * kTen8),
                      WriteBelowTen8(static_cast<std::uint32_t>(high), p));
  }
  const std::uint64_t top = v / kTen16;  // at most 1844
  const std::uint64_t rest = v - top * kTen16;
  const std::uint64_t middle = rest / kTen8;
  p = WriteEight(static_cast<std::uint32_t>(middle), WriteBelowTen8(static_cast<std::uint32_t>(top), p));
  return WriteEight(static_cast<std::uint32_t>(rest - middle * kTen8), p);
}

// A signed integer (std::int32_t or std::int64_t): a minus sign and the
// magnitude, taken in the unsigned type so that the lowest value has one.
template <typename Signed>
inline char* WriteSigned(Signed v, char* p) {
  auto magnitude = static_cast<std::make_unsigned_t<Signed>>(v);
  if (v < 0) {
    *p++ = '-';
    magnitude = 0 - magnitude;
  }
  return sizeof magnitude == 4 ? WriteUint32(static_cast<std::uint32_t>(magnitude), p) : WriteUint64(magnitude, p);
}

}  // namespace integer_text
}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_INTEGER_TEXT_H
