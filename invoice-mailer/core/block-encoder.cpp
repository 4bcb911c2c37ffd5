// The block encoder shared by base64 and uuencode.
#include "invoice-mailer/core/block-encoder.h"

#include "platform/components/core/stream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace billpost {

namespace {

// The widest line of any format: base64's 76 characters.
constexpr std::size_t MaxLineRoom = 80;

int percentOf(std::int64_t total, std::int64_t size, bool round) {
  if (size <= 0)
    return 100;
  std::int64_t scaled = total * 100;
  std::int64_t quotient = scaled / size;
  if (!round)
    return static_cast<int>(quotient);
  // Round half to even, as the program's runtime rounds; in integers, so
  // a half is a half exactly.
  std::int64_t twice = (scaled - quotient * size) * 2;
  if (twice > size || (twice == size && quotient % 2 != 0))
    ++quotient;
  return static_cast<int>(quotient);
}

// The percentage after each line, dividing only when the total reaches
// the first size that can change it: a 64-bit division for every line
// would be a library call on the 32-bit target.
class PercentOfSource {
public:
  PercentOfSource(std::int64_t size, bool round) : size_(size), round_(round) {}

  int afterReading(std::int64_t total) {
    if (total < nextChange_)
      return percent_;
    percent_ = percentOf(total, size_, round_);
    nextChange_ = firstTotalPast(percent_);
    return percent_;
  }

private:
  // The least total whose exact share reaches percent + 1/2 (rounded) or
  // percent + 1 (divided): below it the percentage cannot have moved.
  std::int64_t firstTotalPast(int percent) const {
    if (size_ <= 0)
      return INT64_MAX;
    std::int64_t numerator =
        round_ ? (2 * std::int64_t(percent) + 1) * size_ : (std::int64_t(percent) + 1) * size_;
    std::int64_t denominator = round_ ? 200 : 100;
    return (numerator + denominator - 1) / denominator;
  }

  std::int64_t size_;
  bool round_;
  int percent_ = 0;
  std::int64_t nextChange_ = 0;
};

// Four characters for the three bytes at block.
inline void encodeTriple(const char *pairs, const std::uint8_t *block, char *out) {
  std::uint32_t bits = std::uint32_t(block[0]) << 16 | std::uint32_t(block[1]) << 8 | block[2];
  std::memcpy(out, pairs + 2 * (bits >> 12), 2);
  std::memcpy(out + 2, pairs + 2 * (bits & 4095), 2);
}

// The six-bit groups of a line of n bytes, before any padding.
std::size_t groupsOf(const LineFormat &format, std::size_t n) {
  if (n == format.blockSize)
    return format.blockSize * 4 / 3;
  return n * 4 / 3 + (n % 3 != 0 || format.partialGroupAlways ? 1 : 0);
}

#if defined(__GNUC__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr bool SextetsInWords = true;

// Eight characters for the six bytes at block, with one load of eight
// bytes (the two past the six are not used): the bytes in one word, most
// significant first, cut into four twelve-bit pairs, each pair's two
// characters stored straight from the table (cheaper than gathering the
// eight into one word first).
inline void encodeSextet(const char *pairs, const std::uint8_t *block, char *out) {
  std::uint64_t bytes;
  std::memcpy(&bytes, block, 8);
  bytes = __builtin_bswap64(bytes);
  std::memcpy(out, pairs + 2 * (bytes >> 52 & 4095), 2);
  std::memcpy(out + 2, pairs + 2 * (bytes >> 40 & 4095), 2);
  std::memcpy(out + 4, pairs + 2 * (bytes >> 28 & 4095), 2);
  std::memcpy(out + 6, pairs + 2 * (bytes >> 16 & 4095), 2);
}
#else
constexpr bool SextetsInWords = false;
inline void encodeSextet(const char *, const std::uint8_t *, char *) {}
#endif

} // namespace

std::size_t LineLength(const LineFormat &format, std::size_t n) {
  std::size_t groups = groupsOf(format, n);
  if (format.padToQuartets)
    groups = (groups + 3) / 4 * 4;
  return (format.countCharacter ? 1 : 0) + groups;
}

std::size_t WriteBlockLine(const LineFormat &format, const std::uint8_t *block, std::size_t n,
                           char *out) {
  const std::size_t groups = groupsOf(format, n);
  char *next = out;
  if (format.countCharacter)
    *next++ = format.letters.singles[n];
  char *end = next + groups;
  std::size_t i = 0;
  // Six bytes at a time while eight can be read within the n bytes.
  if (SextetsInWords)
    for (std::size_t read = 0; read + 8 <= n; read += 6, i += 8, block += 6, next += 8)
      encodeSextet(format.letters.pairs, block, next);
  // Then whole quartets, past the line's end where its last one is
  // partial: the block holds a whole number of triples and out has room
  // for a full line.
  for (; i < groups; i += 4, block += 3, next += 4)
    encodeTriple(format.letters.pairs, block, next);
  std::size_t length = LineLength(format, n);
  std::fill(end, out + length, '=');
  return length;
}

std::string EncodeBlockLine(const LineFormat &format, const std::uint8_t *block, std::size_t n) {
  std::string line(MaxLineLength(format), '\0');
  line.resize(WriteBlockLine(format, block, n, &line[0]));
  return line;
}

namespace {

// Room for the lines of the rest of a source: its full blocks, then the
// short last read (or the empty one, where the format gives it a line).
void reserveFor(LineList &output, const LineFormat &format, std::int64_t left) {
  if (left < 0)
    left = 0;
  auto bytes = static_cast<std::uint64_t>(left);
  std::uint64_t full = bytes / format.blockSize;
  std::size_t rest = static_cast<std::size_t>(bytes % format.blockSize);
  std::uint64_t lines = full;
  std::uint64_t text = full * LineLength(format, format.blockSize);
  if (rest > 0 || format.lineForEmptyRead) {
    ++lines;
    text += LineLength(format, rest);
  }
  // A size the address space cannot hold is left to the list to refuse
  // as it grows.
  if (text <= SIZE_MAX / 2 && lines <= SIZE_MAX / sizeof(std::size_t) / 2)
    output.Reserve(static_cast<std::size_t>(lines), static_cast<std::size_t>(text));
}

} // namespace

void TBlockEncoder::Encode() {
  output_.Clear();
  Percent = 0;
  Stop = false;
  const std::size_t blockSize = format_.blockSize;
  const std::size_t room = MaxLineLength(format_);
  if (room > MaxLineRoom)
    throw std::logic_error("line format too wide");
  std::vector<std::uint8_t> block(blockSize, 0);
  std::int64_t total = 0;
  const std::int64_t size = source_.Size();
  reserveFor(output_, format_, size - source_.Position());
  PercentOfSource percent(size, format_.roundPercent);
  int reported = -1; // the percentage last notified

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
      if (n == blockSize) {
        output_.Commit(WriteBlockLine(format_, block.data(), n, output_.Extend(room)));
      } else if (n > 0 || format_.lineForEmptyRead) {
        // The short last line is shorter than the room a line is given:
        // written aside, it takes no more than the exact room reserved.
        char line[MaxLineRoom];
        output_.Add({line, WriteBlockLine(format_, block.data(), n, line)});
      }
      total += static_cast<std::int64_t>(n);
      Percent = percent.afterReading(total);
      // Once for each tenth reached: the percentage stays on a tenth for
      // many lines of a large source, and the owner redraws its gauge for
      // every notification.
      if (Percent % 10 == 0 && Percent != reported) {
        reported = Percent;
        OnProgress(this);
      }
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
