// Doubles as text, byte for byte what RapidJSON's Writer gives: the same
// Grisu2 arithmetic and the same layouts, written without its stores of the
// digit count through a pointer, its floating-point search for the cached
// power and its memmove of the digits into place.
#ifndef ORVJSON_SRC_TEXT_DOUBLE_TEXT_H
#define ORVJSON_SRC_TEXT_DOUBLE_TEXT_H

#include <cstddef>
#include <cstdint>

#include <rapidjson/internal/dtoa.h>

#include "integer_text.h"

namespace orv {
namespace double_text {

using rapidjson::internal::DiyFp;

// The most bytes WriteDouble stores from p, beyond the text it returns the
// end of as well (the integral digits are stored as whole words); the text
// itself is at most 25 bytes.
constexpr std::size_t kRoom = 32;

// RapidJSON picks the power as the ceiling of (-61 - e) * log10(2) + 347,
// computed in doubles. For every exponent a double's boundaries can have,
// x * 78913 / 2^18 has the same ceiling as x * log10(2), and x * log10(2)
// is never within rounding of an integer except at x = 0, where both give 0.
inline DiyFp CachedPower(int e, int& K) {
  const int x = -61 - e;
  const int k = -((-x * 78913) >> 18) + 347;  // the arithmetic shift floors, so this is the ceiling
  const unsigned index = static_cast<unsigned>((k >> 3) + 1);
  K = 348 - static_cast<int>(index << 3);
  return rapidjson::internal::GetCachedPowerByIndex(index);
}

constexpr std::uint32_t kPow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

// Grisu2's digit loop as RapidJSON has it, from where the integral digits
// start (kappa digits of p1 left) or, with kappa 0, from the fraction.
inline int DigitLoop(std::uint32_t p1, std::uint64_t p2, std::uint64_t delta, int shift, std::uint64_t wp_w, int kappa,
                     char* buffer, int len, int& K) {
  const std::uint64_t one = std::uint64_t{1} << shift;
  while (kappa > 0) {
    const std::uint32_t unit = kPow10[kappa - 1];
    const std::uint32_t d = p1 / unit;
    p1 %= unit;
    if (d != 0 || len != 0) buffer[len++] = static_cast<char>('0' + d);
    --kappa;
    const std::uint64_t rest = (static_cast<std::uint64_t>(p1) << shift) + p2;
    if (rest <= delta) {
      K += kappa;
      rapidjson::internal::GrisuRound(buffer, len, delta, rest, static_cast<std::uint64_t>(kPow10[kappa]) << shift,
                                      wp_w);
      return len;
    }
  }
  // p1 is never 0 (see DigitGen), so no fraction digit is a leading zero
  // and every one is kept: RapidJSON's test for leading zeros, a branch
  // per digit, is left out.
  for (;;) {
    p2 *= 10;
    delta *= 10;
    buffer[len++] = static_cast<char>('0' + (p2 >> shift));
    p2 &= one - 1;
    --kappa;
    if (p2 < delta) {
      K += kappa;
      const int index = -kappa;
      rapidjson::internal::GrisuRound(buffer, len, delta, p2, one, wp_w * (index < 9 ? kPow10[index] : 0));
      return len;
    }
  }
}

// The digits of Mp down to the first that leaves Mp within delta, into
// buffer; returns how many, and adds the last digit's decimal exponent to K.
inline int DigitGen(const DiyFp& W, const DiyFp& Mp, std::uint64_t delta, char* buffer, int& K) {
  const int shift = -Mp.e;
  const std::uint64_t one = std::uint64_t{1} << shift;
  const std::uint64_t wp_w = Mp.f - W.f;
  const std::uint32_t p1 = static_cast<std::uint32_t>(Mp.f >> shift);
  const std::uint64_t p2 = Mp.f & (one - 1);
  if (p2 <= delta) {
    return DigitLoop(p1, p2, delta, shift, wp_w, static_cast<int>(rapidjson::internal::CountDecimalDigit32(p1)), buffer,
                     0, K);
  }
  // What is left after any integral digit is at least p2, so none of them
  // ends the digits: they are p1's, written whole. p1 is at least 4: Mp.f
  // is the high half of two normalized 64-bit products, so at least 2^62,
  // and the cached power keeps shift at most 60.
  const int len = static_cast<int>(integer_text::WriteUint32(p1, buffer) - buffer);
  return DigitLoop(0, p2, delta, shift, wp_w, 0, buffer, len, K);
}

// value > 0 and finite.
inline int Grisu2(double value, char* buffer, int& K) {
  const DiyFp v(value);
  DiyFp w_m;
  DiyFp w_p;
  v.NormalizedBoundaries(&w_m, &w_p);
  const DiyFp c_mk = CachedPower(w_p.e, K);
  const DiyFp W = v.Normalize() * c_mk;
  DiyFp Wp = w_p * c_mk;
  DiyFp Wm = w_m * c_mk;
  Wm.f++;
  Wp.f--;
  return DigitGen(W, Wp, Wp.f - Wm.f, buffer, K);
}

// Moves count bytes a byte at a time: the digits were just stored a byte at
// a time, and a wider load of them would wait for all those stores to
// complete rather than take its bytes from them. The empty asm keeps the
// compiler from making the loop a call to memmove, which costs more for
// the few bytes moved here.
inline void MoveDigits(char* to, const char* from, int count) {
  if (to < from) {
    for (int i = 0; i < count; ++i) {
      to[i] = from[i];
#if defined(__GNUC__)
      __asm__("" : "+r"(i));
#endif
    }
  } else {
    for (int i = count - 1; i >= 0; --i) {
      to[i] = from[i];
#if defined(__GNUC__)
      __asm__("" : "+r"(i));
#endif
    }
  }
}

// Writes a finite double at p, with kRoom bytes of room; returns the end.
inline char* WriteDouble(double value, char* p) {
  const rapidjson::internal::Double bits(value);
  if (bits.Sign()) *p++ = '-';
  if (bits.IsZero()) {
    p[0] = '0';
    p[1] = '.';
    p[2] = '0';
    return p + 3;
  }
  // The digits go one place in, where all but the first already are for the
  // commonest layouts (12.34 and 1.234e56).
  int k = 0;
  const int length = Grisu2(bits.Sign() ? -value : value, p + 1, k);
  const int kk = length + k;  // 10^(kk-1) <= value < 10^kk
  if (k >= 0 && kk <= 21) {   // 1234e7 -> 12340000000.0
    MoveDigits(p, p + 1, length);
    for (int i = length; i < kk; ++i) p[i] = '0';
    p[kk] = '.';
    p[kk + 1] = '0';
    return p + kk + 2;
  }
  if (kk > 0 && kk <= 21) {  // 1234e-2 -> 12.34
    MoveDigits(p, p + 1, kk);
    p[kk] = '.';
    return p + length + 1;
  }
  if (kk > -6 && kk <= 0) {  // 1234e-6 -> 0.001234
    const int offset = 2 - kk;
    MoveDigits(p + offset, p + 1, length);
    p[0] = '0';
    p[1] = '.';
    for (int i = 2; i < offset; ++i) p[i] = '0';
    return p + offset + length;
  }
  // 1e30, 1.234e33; no double has so many leading zeros that RapidJSON's
  // default of 324 decimal places cuts it to 0.0.
  p[0] = p[1];
  if (length == 1) {
    p[1] = 'e';
    return rapidjson::internal::WriteExponent(kk - 1, p + 2);
  }
  p[1] = '.';
  p[length + 1] = 'e';
  return rapidjson::internal::WriteExponent(kk - 1, p + length + 2);
}

}  // namespace double_text
}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_DOUBLE_TEXT_H
