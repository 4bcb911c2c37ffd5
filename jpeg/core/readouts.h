// The readouts of the option pages: sizes, compression ratio and download
// time, and the two formatters behind them. All arithmetic is 64-bit, so
// images and files beyond 4 GB of bit-products read right.
#ifndef JPEG_CORE_READOUTS_H
#define JPEG_CORE_READOUTS_H

#include "jpeg/core/tstring.h"

#include <cstdint>

namespace pixtune {

// "1.50 Kb", "1.00 Mb" (hundredths of the next unit down, truncated) or
// "1023 bytes".
TString FormatSize(std::uint64_t bytes);

// Ticks of 1/60 second: "1 h 5 min", "1 min 0 sec", "1.05 sec" (two-digit
// hundredths), "500 ms" or "<1 ms".
TString FormatDuration(std::uint64_t ticks);

struct Readouts {
  TString sizes;    // "29.29 Kb / 2.92 Kb"
  TString ratio;    // "10.03", two decimals cut, never rounded
  TString download; // "700 ms @ 33600bps"
};

// Readouts for an image of width x height at bitsPerPixel compressed to
// compressedBytes, downloaded at modemSpeed bits a second.
Readouts MakeReadouts(std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel,
                      std::uint64_t compressedBytes, std::uint32_t modemSpeed);

} // namespace pixtune

#endif
