// The shared block loop of the base64 and uuencode encoders.
#include "invoice-mailer/core/block-encoder.h"

#include "platform/components/core/stream.h"
#include "platform/components/core/string-list.h"

#include <algorithm>
#include <cmath>
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

} // namespace

std::string sixBitGroups(const std::uint8_t *block, std::size_t groups, const char *alphabet) {
  // Three bytes give four groups at a time; the last quartet may run past
  // the groups wanted and is cut back.
  std::string line((groups + 3) / 4 * 4, '\0');
  for (std::size_t i = 0; i < line.size(); i += 4, block += 3) {
    std::uint32_t bits = std::uint32_t(block[0]) << 16 | std::uint32_t(block[1]) << 8 | block[2];
    line[i] = alphabet[bits >> 18];
    line[i + 1] = alphabet[bits >> 12 & 63];
    line[i + 2] = alphabet[bits >> 6 & 63];
    line[i + 3] = alphabet[bits & 63];
  }
  line.resize(groups);
  return line;
}

void encodeBlocks(components::TStream &source, components::TStringList &output,
                  EncoderControl &control, const BlockRules &rules,
                  const std::function<void()> &notifyProgress) {
  output.Clear();
  control.Percent = 0;
  control.Stop = false;
  std::vector<std::uint8_t> block(rules.blockSize, 0);
  std::int64_t total = 0;
  const std::int64_t size = source.Size();

  auto finish = [&] {
    control.Percent = 100;
    notifyProgress();
    if (control.Stop)
      output.Clear();
  };

  try {
    for (;;) {
      if (rules.zeroEachBlock)
        std::fill(block.begin(), block.end(), 0);
      std::size_t n = source.Read(block.data(), rules.blockSize);
      if (n > 0 || rules.lineForEmptyRead)
        output.Add(rules.makeLine(block.data(), n));
      total += static_cast<std::int64_t>(n);
      control.Percent = percentOf(total, size, rules.roundPercent);
      if (control.Percent % 10 == 0)
        notifyProgress();
      control.processMessages();
      if (n < rules.blockSize || control.Stop)
        break;
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

} // namespace billpost
