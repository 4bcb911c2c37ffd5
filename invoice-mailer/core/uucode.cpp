// Uuencoded lines: 45 source bytes to a count character and 60 characters.
// The block is reused between reads, so a short last line carries leftover
// bits past its count; decoders ignore them.
//
// A read that finds nothing gives no line: the message layout closes every
// attachment with its own zero-count line ("`") before "end", and a second
// zero-count line in front of it would make decoders stop before "end".
#include "invoice-mailer/core/uucode.h"

namespace billpost {

namespace {
// "`" for 0, then the characters 33 to 95.
const char uuAlphabet[] = "`!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_";
constexpr std::size_t uuBlock = 45;
} // namespace

std::string TUUCode::EncodeLine(const std::uint8_t *block, std::size_t n) {
  std::size_t groups = n == uuBlock ? 60 : n * 4 / 3 + 1;
  return uuAlphabet[n] + sixBitGroups(block, groups, uuAlphabet);
}

void TUUCode::Encode() {
  BlockRules rules{uuBlock, false, false, false, &TUUCode::EncodeLine};
  encodeBlocks(source_, output_, *this, rules, [this] { OnProgress(this); });
}

} // namespace billpost
