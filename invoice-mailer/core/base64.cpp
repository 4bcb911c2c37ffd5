// Base64 lines: 57 source bytes to 76 characters. A source whose size is a
// multiple of 57 ends with one empty line (the last read found nothing),
// which mail readers skip.
#include "invoice-mailer/core/base64.h"

namespace billpost {

namespace {
const char base64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t base64Block = 57;
} // namespace

std::string TBase64::EncodeLine(const std::uint8_t *block, std::size_t n) {
  if (n == base64Block)
    return sixBitGroups(block, 76, base64Alphabet);
  if (n % 3 == 0)
    return sixBitGroups(block, n * 4 / 3, base64Alphabet);
  std::string line = sixBitGroups(block, n * 4 / 3 + 1, base64Alphabet);
  while (line.size() % 4 != 0)
    line += '=';
  return line;
}

void TBase64::Encode() {
  BlockRules rules{base64Block, true, true, true, &TBase64::EncodeLine};
  encodeBlocks(source_, output_, *this, rules, [this] { OnProgress(this); });
}

} // namespace billpost
