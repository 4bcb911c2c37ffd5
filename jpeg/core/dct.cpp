// Fixed-point 8x8 DCTs.
//
// The forward transform is separable. Its 1-D form is
//   T(0) = sum s(x),  T(u) = sqrt2 * sum s(x) cos((2x+1)u pi/16),
// so that the row and column passes together give 8 x F(u,v). The even
// half needs only sums and one rotation by sqrt2 cos(pi/8) and
// sqrt2 cos(3pi/8); the odd half first mixes the two middle differences
// with cos(pi/4) and then rotates two pairs. All products are 15-bit
// fixed point rounded by adding half before the shift; the row pass keeps
// two extra bits, which the column pass removes.
#include "jpeg/core/dct.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pixtune {

const std::uint8_t ZigzagToNatural[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

namespace {

constexpr int ExtraBits = 2;

// 15-bit fixed-point constants.
constexpr std::int32_t Cos4 = 23171;          // cos(pi/4)
constexpr std::int32_t Sqrt2Cos2 = 21407 * 2; // 1.306563 (21407 / 2^14)
constexpr std::int32_t Sqrt2Cos6 = 17734;     // 0.541196
constexpr std::int32_t Sqrt2Cos1 = 45451;     // 1.387040
constexpr std::int32_t Sqrt2Cos3 = 38531;     // 1.175876
constexpr std::int32_t Sqrt2Cos5 = 25746;     // 0.785695
constexpr std::int32_t Sqrt2Cos7 = 9041;      // 0.275899

inline std::int32_t fix(std::int32_t value, std::int32_t constant) {
  return (value * constant + 0x4000) >> 15;
}

// One 1-D forward pass over s[0], s[stride], ..., s[7*stride] (int32).
inline void forward1d(std::int32_t *s, int stride) {
  std::int32_t t0 = s[0] + s[7 * stride], t7 = s[0] - s[7 * stride];
  std::int32_t t1 = s[stride] + s[6 * stride], t6 = s[stride] - s[6 * stride];
  std::int32_t t2 = s[2 * stride] + s[5 * stride], t5 = s[2 * stride] - s[5 * stride];
  std::int32_t t3 = s[3 * stride] + s[4 * stride], t4 = s[3 * stride] - s[4 * stride];

  std::int32_t e0 = t0 + t3, e1 = t1 + t2, d0 = t0 - t3, d1 = t1 - t2;
  s[0] = e0 + e1;
  s[4 * stride] = e0 - e1;
  s[2 * stride] = (d0 * Sqrt2Cos2 + d1 * Sqrt2Cos6 + 0x4000) >> 15;
  s[6 * stride] = (d0 * Sqrt2Cos6 - d1 * Sqrt2Cos2 + 0x4000) >> 15;

  std::int32_t p5 = fix(t6 - t5, Cos4), p6 = fix(t6 + t5, Cos4);
  std::int32_t q4 = t4 + p5, q5 = t4 - p5, q6 = t7 - p6, q7 = t7 + p6;
  s[stride] = (q7 * Sqrt2Cos1 + q4 * Sqrt2Cos7 + 0x4000) >> 15;
  s[7 * stride] = (q7 * Sqrt2Cos7 - q4 * Sqrt2Cos1 + 0x4000) >> 15;
  s[5 * stride] = (q6 * Sqrt2Cos5 + q5 * Sqrt2Cos3 + 0x4000) >> 15;
  s[3 * stride] = (q6 * Sqrt2Cos3 - q5 * Sqrt2Cos5 + 0x4000) >> 15;
}

// 15-bit constants of the plain cosines for the inverse transform.
constexpr std::int64_t C1 = 32138, C2 = 30274, C3 = 27246, C4 = 23170, C5 = 18205, C6 = 12540,
                       C7 = 6393;

inline std::int32_t mul(std::int64_t value, std::int64_t constant) {
  return static_cast<std::int32_t>((value * constant + 0x4000) >> 15);
}

// g(x) = sum a(u) cos((2x+1)u pi/16), the transpose of the forward flow.
inline void inverse1d(const std::int32_t *a, int inStride, std::int32_t *g, int outStride) {
  std::int32_t a0 = a[0], a1 = a[inStride], a2 = a[2 * inStride], a3 = a[3 * inStride];
  std::int32_t a4 = a[4 * inStride], a5 = a[5 * inStride], a6 = a[6 * inStride],
               a7 = a[7 * inStride];
  std::int32_t c4a4 = mul(a4, C4);
  std::int32_t e0 = a0 + c4a4, e1 = a0 - c4a4;
  std::int32_t p = mul(a2, C2) + mul(a6, C6), q = mul(a2, C6) - mul(a6, C2);
  std::int32_t even[4] = {e0 + p, e1 + q, e1 - q, e0 - p};

  std::int32_t q7 = mul(a1, C1) + mul(a7, C7), q4 = mul(a1, C7) - mul(a7, C1);
  std::int32_t q6 = mul(a5, C5) + mul(a3, C3), q5 = mul(a5, C3) - mul(a3, C5);
  std::int32_t odd[4] = {q6 + q7, mul(q4 - q5 - q6 + q7, C4), mul(-q4 + q5 - q6 + q7, C4), q4 + q5};
  for (int x = 0; x < 4; ++x) {
    g[x * outStride] = even[x] + odd[x];
    g[(7 - x) * outStride] = even[x] - odd[x];
  }
}

} // namespace

void ForwardDctReference(std::int16_t block[64]) {
  std::int32_t work[64];
  for (int i = 0; i < 64; ++i)
    work[i] = block[i] * (1 << ExtraBits);
  for (int row = 0; row < 8; ++row)
    forward1d(work + 8 * row, 1);
  for (int column = 0; column < 8; ++column)
    forward1d(work + column, 8);
  for (int i = 0; i < 64; ++i)
    block[i] = static_cast<std::int16_t>((work[i] + (1 << (ExtraBits - 1))) >> ExtraBits);
}

#if defined(__SSE2__)

namespace {

// Vector form of forward1d. Each of the eight vectors holds one of the
// eight inputs for eight independent transforms. Every product goes through
// pmaddwd, which multiplies 16-bit pairs into exact 32-bit sums; constants
// above 32767 are split into 32768 (a shift) plus the rest, and the even
// pair shares its factor 2, so each sum is the same integer as in the
// scalar pass. Sums and differences stay in 16 bits: the row pass sees
// |s| <= 512 and gives |out| <= 4096 + 1, so no column-pass term passes
// 4 x 4097 + 2 x 8194 x cos(pi/4) < 32767. The column pass's outputs are
// kept in 32 bits, since 8 x 4096 does not fit 16.
struct Pair {
  __m128i lo, hi; // 32-bit lanes 0..3 and 4..7
};

inline Pair madd(__m128i a, __m128i b, int ca, int cb) {
  __m128i c = _mm_set1_epi32(
      static_cast<int>((static_cast<unsigned>(cb) << 16) | (static_cast<unsigned>(ca) & 0xFFFFu)));
  return {_mm_madd_epi16(_mm_unpacklo_epi16(a, b), c), _mm_madd_epi16(_mm_unpackhi_epi16(a, b), c)};
}

// a x 32768 in 32-bit lanes.
inline Pair times32768(__m128i a) {
  __m128i zero = _mm_setzero_si128();
  return {_mm_srai_epi32(_mm_unpacklo_epi16(zero, a), 1),
          _mm_srai_epi32(_mm_unpackhi_epi16(zero, a), 1)};
}

inline Pair add(Pair a, Pair b) { return {_mm_add_epi32(a.lo, b.lo), _mm_add_epi32(a.hi, b.hi)}; }
inline Pair sub(Pair a, Pair b) { return {_mm_sub_epi32(a.lo, b.lo), _mm_sub_epi32(a.hi, b.hi)}; }
inline Pair twice(Pair a) { return {_mm_slli_epi32(a.lo, 1), _mm_slli_epi32(a.hi, 1)}; }

inline Pair descale15(Pair a) {
  __m128i half = _mm_set1_epi32(0x4000);
  return {_mm_srai_epi32(_mm_add_epi32(a.lo, half), 15),
          _mm_srai_epi32(_mm_add_epi32(a.hi, half), 15)};
}

inline __m128i pack(Pair a) { return _mm_packs_epi32(a.lo, a.hi); }

// out[u] (32-bit pairs) from s[0..7] (16-bit vectors).
inline void forwardVectors(const __m128i s[8], Pair out[8]) {
  __m128i t0 = _mm_add_epi16(s[0], s[7]), t7 = _mm_sub_epi16(s[0], s[7]);
  __m128i t1 = _mm_add_epi16(s[1], s[6]), t6 = _mm_sub_epi16(s[1], s[6]);
  __m128i t2 = _mm_add_epi16(s[2], s[5]), t5 = _mm_sub_epi16(s[2], s[5]);
  __m128i t3 = _mm_add_epi16(s[3], s[4]), t4 = _mm_sub_epi16(s[3], s[4]);

  __m128i e0 = _mm_add_epi16(t0, t3), e1 = _mm_add_epi16(t1, t2);
  __m128i d0 = _mm_sub_epi16(t0, t3), d1 = _mm_sub_epi16(t1, t2);
  out[0] = madd(e0, e1, 1, 1);
  out[4] = madd(e0, e1, 1, -1);
  // Sqrt2Cos2 = 2 x 21407 and Sqrt2Cos6 = 2 x 8867.
  out[2] = descale15(twice(madd(d0, d1, 21407, 8867)));
  out[6] = descale15(twice(madd(d0, d1, 8867, -21407)));

  __m128i one = _mm_set1_epi16(1);
  __m128i p5 = pack(descale15(madd(_mm_sub_epi16(t6, t5), one, Cos4, 0)));
  __m128i p6 = pack(descale15(madd(_mm_add_epi16(t6, t5), one, Cos4, 0)));
  __m128i q4 = _mm_add_epi16(t4, p5), q5 = _mm_sub_epi16(t4, p5);
  __m128i q6 = _mm_sub_epi16(t7, p6), q7 = _mm_add_epi16(t7, p6);
  // Sqrt2Cos1 = 32768 + 12683, Sqrt2Cos3 = 32768 + 5763.
  out[1] = descale15(add(madd(q7, q4, 12683, Sqrt2Cos7), times32768(q7)));
  out[7] = descale15(sub(madd(q7, q4, Sqrt2Cos7, -12683), times32768(q4)));
  out[5] = descale15(add(madd(q6, q5, Sqrt2Cos5, 5763), times32768(q5)));
  out[3] = descale15(add(madd(q6, q5, 5763, -Sqrt2Cos5), times32768(q6)));
}

inline void transpose(__m128i r[8]) {
  __m128i a0 = _mm_unpacklo_epi16(r[0], r[1]), a1 = _mm_unpackhi_epi16(r[0], r[1]);
  __m128i a2 = _mm_unpacklo_epi16(r[2], r[3]), a3 = _mm_unpackhi_epi16(r[2], r[3]);
  __m128i a4 = _mm_unpacklo_epi16(r[4], r[5]), a5 = _mm_unpackhi_epi16(r[4], r[5]);
  __m128i a6 = _mm_unpacklo_epi16(r[6], r[7]), a7 = _mm_unpackhi_epi16(r[6], r[7]);
  __m128i b0 = _mm_unpacklo_epi32(a0, a2), b1 = _mm_unpackhi_epi32(a0, a2);
  __m128i b2 = _mm_unpacklo_epi32(a1, a3), b3 = _mm_unpackhi_epi32(a1, a3);
  __m128i b4 = _mm_unpacklo_epi32(a4, a6), b5 = _mm_unpackhi_epi32(a4, a6);
  __m128i b6 = _mm_unpacklo_epi32(a5, a7), b7 = _mm_unpackhi_epi32(a5, a7);
  r[0] = _mm_unpacklo_epi64(b0, b4);
  r[1] = _mm_unpackhi_epi64(b0, b4);
  r[2] = _mm_unpacklo_epi64(b1, b5);
  r[3] = _mm_unpackhi_epi64(b1, b5);
  r[4] = _mm_unpacklo_epi64(b2, b6);
  r[5] = _mm_unpackhi_epi64(b2, b6);
  r[6] = _mm_unpacklo_epi64(b3, b7);
  r[7] = _mm_unpackhi_epi64(b3, b7);
}

} // namespace

void ForwardDct(std::int16_t block[64]) {
  __m128i rows[8];
  for (int r = 0; r < 8; ++r)
    rows[r] = _mm_slli_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(block + 8 * r)),
                             ExtraBits);
  Pair out[8];
  // Rows: after the transpose vector i holds sample i of every row.
  transpose(rows);
  forwardVectors(rows, out);
  for (int u = 0; u < 8; ++u)
    rows[u] = pack(out[u]);
  // Columns: vector i now holds row i's outputs again.
  transpose(rows);
  forwardVectors(rows, out);
  __m128i round = _mm_set1_epi32(1 << (ExtraBits - 1));
  for (int v = 0; v < 8; ++v) {
    __m128i lo = _mm_srai_epi32(_mm_add_epi32(out[v].lo, round), ExtraBits);
    __m128i hi = _mm_srai_epi32(_mm_add_epi32(out[v].hi, round), ExtraBits);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(block + 8 * v), _mm_packs_epi32(lo, hi));
  }
}

#else

void ForwardDct(std::int16_t block[64]) { ForwardDctReference(block); }

#endif

void InverseDct(const std::int32_t input[64], std::int32_t output[64]) {
  // A line whose only non-zero term is its first transforms to that term
  // at every point (each product of zero is zero), so it is copied.
  std::int32_t work[64];
  for (int column = 0; column < 8; ++column) {
    const std::int32_t *a = input + column;
    if ((a[8] | a[16] | a[24] | a[32] | a[40] | a[48] | a[56]) == 0) {
      for (int v = 0; v < 8; ++v)
        work[column + 8 * v] = a[0];
    } else {
      inverse1d(a, 8, work + column, 8);
    }
  }
  for (int row = 0; row < 8; ++row) {
    const std::int32_t *a = work + 8 * row;
    if ((a[1] | a[2] | a[3] | a[4] | a[5] | a[6] | a[7]) == 0) {
      for (int x = 0; x < 8; ++x)
        output[8 * row + x] = a[0];
    } else {
      inverse1d(a, 1, output + 8 * row, 1);
    }
  }
  // f = 1/4 of the double sum; drop the fraction bits with rounding.
  constexpr int shift = InverseInputBits + 2;
  for (int i = 0; i < 64; ++i)
    output[i] = (output[i] + (1 << (shift - 1))) >> shift;
}

} // namespace pixtune
