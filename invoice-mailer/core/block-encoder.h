// The loop that the base64 and uuencode encoders share: read the source in
// fixed blocks, turn each block into one output line, keep the percentage
// and the progress event up to date, let the application process messages,
// and honour the stop flag after every line.
#ifndef BILLPOST_BLOCK_ENCODER_H
#define BILLPOST_BLOCK_ENCODER_H

#include "platform/components/core/event.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace components {
class TStream;
class TStringList;
} // namespace components

namespace billpost {

// The owner-visible state of an encoder.
struct EncoderControl {
  bool Stop = false; // set by the owner; read after each line
  int Percent = 0;   // 0 to 100
  // Lets the application process its messages; the program points it at
  // its application object. May be empty.
  std::function<void()> ProcessMessages;

  void processMessages() const {
    if (ProcessMessages)
      ProcessMessages();
  }
};

struct BlockRules {
  std::size_t blockSize; // bytes per line
  bool zeroEachBlock;    // clear the block before every read
  bool roundPercent;     // round half to even, else integer division
  bool lineForEmptyRead; // a read of 0 bytes still gives a line
  // Makes the line for the first n bytes of a full-size block.
  std::function<std::string(const std::uint8_t *block, std::size_t n)> makeLine;
};

// Encodes source from its position to its end into output (cleared first).
// A stopped run leaves output empty. Stream errors pass on after the
// closing steps (percent 100, last progress event) have run.
void encodeBlocks(components::TStream &source, components::TStringList &output,
                  EncoderControl &control, const BlockRules &rules,
                  const std::function<void()> &notifyProgress);

// Six-bit groups of a block, most significant bit of the first byte first,
// mapped through a 64-character alphabet: the first `groups` characters.
// The block must hold at least 3 * ceil(groups / 4) bytes (whole blocks of
// 57 and 45 bytes always do).
std::string sixBitGroups(const std::uint8_t *block, std::size_t groups, const char *alphabet);

} // namespace billpost

#endif
