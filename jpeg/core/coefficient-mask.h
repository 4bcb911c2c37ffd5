// Which coefficients of a block are non-zero, as a 64-bit mask, so that the
// entropy coders visit only those instead of testing all 64.
#ifndef JPEG_CORE_COEFFICIENT_MASK_H
#define JPEG_CORE_COEFFICIENT_MASK_H

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pixtune {

#if defined(__SSE2__)

// Bits k of |block[k]| >> shift != 0 (nonZero) and == 1 (ones), sixteen
// coefficients at a time: compare, pack the lane masks to bytes, and take
// their top bits. |-32768| is 32768 as an unsigned lane and is shifted
// logically, as in the scalar form.
inline void MagnitudeMasks(const std::int16_t block[64], int shift, std::uint64_t &nonZero,
                           std::uint64_t &ones) {
  const __m128i zero = _mm_setzero_si128(), one = _mm_set1_epi16(1);
  const __m128i count = _mm_cvtsi32_si128(shift);
  std::uint64_t zeros = 0, equalOne = 0;
  for (int k = 0; k < 64; k += 16) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block + k));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block + k + 8));
    __m128i sa = _mm_srai_epi16(a, 15), sb = _mm_srai_epi16(b, 15);
    a = _mm_srl_epi16(_mm_sub_epi16(_mm_xor_si128(a, sa), sa), count);
    b = _mm_srl_epi16(_mm_sub_epi16(_mm_xor_si128(b, sb), sb), count);
    zeros |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(
                 _mm_packs_epi16(_mm_cmpeq_epi16(a, zero), _mm_cmpeq_epi16(b, zero)))))
             << k;
    equalOne |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(
                    _mm_packs_epi16(_mm_cmpeq_epi16(a, one), _mm_cmpeq_epi16(b, one)))))
                << k;
  }
  nonZero = ~zeros;
  ones = equalOne;
}

// Bit k set when block[k] is non-zero.
inline std::uint64_t NonZeroMask(const std::int16_t block[64]) {
  const __m128i zero = _mm_setzero_si128();
  std::uint64_t zeros = 0;
  for (int k = 0; k < 64; k += 16) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block + k));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block + k + 8));
    zeros |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(
                 _mm_packs_epi16(_mm_cmpeq_epi16(a, zero), _mm_cmpeq_epi16(b, zero)))))
             << k;
  }
  return ~zeros;
}

// Bit k set when |block[k]| >> shift is non-zero (a successive
// approximation scan's view of the block).
inline std::uint64_t NonZeroMask(const std::int16_t block[64], int shift) {
  std::uint64_t nonZero = 0, ones = 0;
  MagnitudeMasks(block, shift, nonZero, ones);
  return nonZero;
}

#else

// Bit k set when block[k] is non-zero. Four coefficients at a time: the
// top bit of each 16-bit lane is set when the lane is non-zero, and one
// multiplication gathers the four top bits side by side (the products
// never overlap, so nothing carries). The lanes are read little-endian,
// as both targets store them.
inline std::uint64_t NonZeroMask(const std::int16_t block[64]) {
  constexpr std::uint64_t Low15 = 0x7FFF7FFF7FFF7FFFull, Top = 0x8000800080008000ull;
  constexpr std::uint64_t Gather = 0x0000200040008001ull;
  std::uint64_t mask = 0;
  for (int k = 0; k < 64; k += 4) {
    std::uint64_t lanes;
    std::memcpy(&lanes, block + k, sizeof lanes);
    std::uint64_t top = (((lanes & Low15) + Low15) | lanes) & Top;
    mask |= (((top >> 15) * Gather) >> 45 & 0xF) << k;
  }
  return mask;
}

// Bits k of |block[k]| >> shift != 0 (nonZero) and == 1 (ones).
inline void MagnitudeMasks(const std::int16_t block[64], int shift, std::uint64_t &nonZero,
                           std::uint64_t &ones) {
  nonZero = ones = 0;
  for (int k = 0; k < 64; ++k) {
    int magnitude = (block[k] < 0 ? -block[k] : block[k]) >> shift;
    nonZero |= static_cast<std::uint64_t>(magnitude != 0) << k;
    ones |= static_cast<std::uint64_t>(magnitude == 1) << k;
  }
}

// Bit k set when |block[k]| >> shift is non-zero (a successive
// approximation scan's view of the block).
inline std::uint64_t NonZeroMask(const std::int16_t block[64], int shift) {
  std::uint64_t nonZero = 0, ones = 0;
  MagnitudeMasks(block, shift, nonZero, ones);
  return nonZero;
}

#endif

// Index of the highest set bit; mask must not be 0.
inline int HighestBit(std::uint64_t mask) { return 63 - __builtin_clzll(mask); }

// Index of the lowest set bit; mask must not be 0.
inline int LowestBit(std::uint64_t mask) { return __builtin_ctzll(mask); }

// Bits needed for a magnitude (0 for 0): the JPEG category.
inline int BitLength(unsigned value) { return value ? 32 - __builtin_clz(value) : 0; }

} // namespace pixtune

#endif
