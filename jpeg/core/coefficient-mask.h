// Which coefficients of a block are non-zero, as a 64-bit mask, so that the
// entropy coders visit only those instead of testing all 64.
#ifndef JPEG_CORE_COEFFICIENT_MASK_H
#define JPEG_CORE_COEFFICIENT_MASK_H

#include <cstdint>
#include <cstring>

namespace pixtune {

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

// Bit k set when |block[k]| >> shift is non-zero (a successive
// approximation scan's view of the block).
inline std::uint64_t NonZeroMask(const std::int16_t block[64], int shift) {
  if (shift == 0)
    return NonZeroMask(block);
  std::int16_t magnitudes[64];
  for (int k = 0; k < 64; ++k)
    magnitudes[k] = static_cast<std::int16_t>((block[k] < 0 ? -block[k] : block[k]) >> shift);
  return NonZeroMask(magnitudes);
}

// Index of the lowest set bit; mask must not be 0.
inline int LowestBit(std::uint64_t mask) { return __builtin_ctzll(mask); }

// Bits needed for a magnitude (0 for 0): the JPEG category.
inline int BitLength(unsigned value) { return value ? 32 - __builtin_clz(value) : 0; }

} // namespace pixtune

#endif
