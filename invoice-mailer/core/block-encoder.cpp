// The block encoder shared by base64 and uuencode.
#include "invoice-mailer/core/block-encoder.h"

#include "platform/components/core/stream.h"
#include "platform/components/core/string-list.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace billpost {

namespace {

int percentOf(std::int64_t total, std::int64_t size, bool round) {
  if (size <= 0)
    return 100;
  if (!round)
    return static_cast<int>(total * 100 / size);
  // Round half to even, as the program's runtime rounds.
  return static_cast<int>(
      std::nearbyint(static_cast<double>(total) * 100.0 / static_cast<double>(size)));
}

// Four characters for the three bytes at block.
inline void encodeTriple(const char *pairs, const std::uint8_t *block, char *out) {
  std::uint32_t bits = std::uint32_t(block[0]) << 16 | std::uint32_t(block[1]) << 8 | block[2];
  std::memcpy(out, pairs + 2 * (bits >> 12), 2);
  std::memcpy(out + 2, pairs + 2 * (bits & 4095), 2);
}

} // namespace

std::string EncodeBlockLine(const LineFormat &format, const std::uint8_t *block, std::size_t n) {
  std::size_t groups = n * 4 / 3;
  if (n == format.blockSize)
    groups = format.blockSize * 4 / 3;
  else if (n % 3 != 0 || format.partialGroupAlways)
    ++groups;
  std::size_t lead = format.countCharacter ? 1 : 0;
  std::size_t length = lead + groups;
  if (format.padToQuartets)
    length = lead + (groups + 3) / 4 * 4;
  // Whole quartets are written, the last one cut back below: the block
  // holds a whole number of triples.
  std::string line(lead + (groups + 3) / 4 * 4, '=');
  char *out = &line[0];
  if (format.countCharacter)
    *out++ = format.letters.singles[n];
  for (std::size_t i = 0; i < groups; i += 4, block += 3, out += 4)
    encodeTriple(format.letters.pairs, block, out);
  if (format.padToQuartets)
    std::fill(line.begin() + static_cast<std::ptrdiff_t>(lead + groups), line.end(), '=');
  line.resize(length);
  return line;
}

void TBlockEncoder::Encode() {
  output_.Clear();
  Percent = 0;
  Stop = false;
  const std::size_t blockSize = format_.blockSize;
  std::vector<std::uint8_t> block(blockSize, 0);
  std::int64_t total = 0;
  const std::int64_t size = source_.Size();
  // One line per block and one for the last, short read: room for all at
  // once, so the list never moves its lines while it grows.
  std::int64_t left = size - source_.Position();
  if (left > 0)
    output_.SetCapacity(static_cast<int>(left / static_cast<std::int64_t>(blockSize) + 1));

  auto finish = [&] {
    Percent = 100;
    OnProgress(this);
    if (Stop)
      output_.Clear();
  };

  try {
    for (;;) {
      if (format_.zeroEachBlock)
        std::fill(block.begin(), block.end(), 0);
      std::size_t n = source_.Read(block.data(), blockSize);
      if (n > 0 || format_.lineForEmptyRead)
        output_.Add(EncodeBlockLine(format_, block.data(), n));
      total += static_cast<std::int64_t>(n);
      Percent = percentOf(total, size, format_.roundPercent);
      if (Percent % 10 == 0)
        OnProgress(this);
      processMessages();
      if (n < blockSize || Stop)
        break;
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

} // namespace billpost
