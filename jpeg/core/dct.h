// The 8x8 transforms of the encoder and the preview.
#ifndef JPEG_CORE_DCT_H
#define JPEG_CORE_DCT_H

#include <cstdint>

namespace pixtune {

// Zigzag position -> natural (row-major) index.
extern const std::uint8_t ZigzagToNatural[64];

// Forward DCT of level-shifted samples (natural order, in place). The
// results are eight times the coefficients of the JPEG definition, so that
// a quantiser dividing by eight times a table entry gives the standard
// quantised value.
// With SSE2 the eight rows (then columns) are transformed side by side
// with exactly the same integer arithmetic as ForwardDctReference, the
// plain one-row-at-a-time form kept for other targets and for the tests.
void ForwardDct(std::int16_t block[64]);
void ForwardDctReference(std::int16_t block[64]);

// Inverse DCT for the preview. Input (natural order): coefficients already
// multiplied by C(u)C(v) of the JPEG definition, in fixed point with
// InverseInputBits fraction bits. Output: samples centred on 0 (not yet
// offset by 128 or clamped).
constexpr int InverseInputBits = 8;
void InverseDct(const std::int32_t input[64], std::int32_t output[64]);

} // namespace pixtune

#endif
