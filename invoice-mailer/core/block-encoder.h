// The base64 and uuencode encoders are one encoder with two line formats:
// read the source in fixed blocks, turn each block into one output line,
// keep the percentage and the progress event up to date, let the
// application process messages, and honour the stop flag after every line.
#ifndef BILLPOST_BLOCK_ENCODER_H
#define BILLPOST_BLOCK_ENCODER_H

#include "invoice-mailer/core/line-list.h"
#include "platform/components/core/event.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace components {
class TStream;
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

// A 64-character alphabet with every pair of its characters laid out by
// the twelve bits they stand for, so three bytes become four characters
// with two look-ups. Built at compile time.
struct SixBitAlphabet {
  char singles[64];
  char pairs[2 * 4096];

  constexpr explicit SixBitAlphabet(const char (&alphabet)[65]) : singles(), pairs() {
    for (int i = 0; i < 64; ++i)
      singles[i] = alphabet[i];
    for (int i = 0; i < 4096; ++i) {
      pairs[2 * i] = alphabet[i >> 6];
      pairs[2 * i + 1] = alphabet[i & 63];
    }
  }
};

// How an encoder cuts its source and lays out its lines.
struct LineFormat {
  std::size_t blockSize;         // source bytes per line (a multiple of 3)
  const SixBitAlphabet &letters; // the 64 characters of the encoding
  bool countCharacter;           // the letter of the line's byte count leads it
  bool padToQuartets;            // "=" until the length is a multiple of four
  bool partialGroupAlways;       // a short block gets one group past n * 4 / 3
  bool zeroEachBlock;            // clear the block before every read
  bool roundPercent;             // round half to even, else integer division
  bool lineForEmptyRead;         // a read of 0 bytes still gives a line
};

// The line of the first n bytes of a block of format.blockSize bytes: its
// bits, most significant bit of the first byte first, in six-bit groups
// mapped through the alphabet; all groups of a full block, else n * 4 / 3
// groups and one more when a group is partial (or always, as the format
// says). Bits of a partial group past the n-th byte come from the block.
std::string EncodeBlockLine(const LineFormat &format, const std::uint8_t *block, std::size_t n);

// The same line written at out, which has room for MaxLineLength(format)
// characters; answers its length, LineLength(format, n).
std::size_t WriteBlockLine(const LineFormat &format, const std::uint8_t *block, std::size_t n,
                           char *out);
std::size_t LineLength(const LineFormat &format, std::size_t n);
inline std::size_t MaxLineLength(const LineFormat &format) {
  return (format.countCharacter ? 1 : 0) + format.blockSize * 4 / 3;
}

// The encoder of one line format. Neither the source nor the output is
// owned; the source is read from its position. Encode clears the output
// first and reserves room for exactly the lines the rest of the source
// gives, so the lines are written in place; a stopped run leaves it empty. Stream errors pass on
// after the closing steps (percent 100, last progress event) have run.
class TBlockEncoder : public components::TObject, public EncoderControl {
public:
  void Encode();

  // Fires once each time the percentage reaches a new multiple of ten, and
  // once more with 100 when encoding ends.
  components::Event<components::TObject *> OnProgress;

protected:
  TBlockEncoder(components::TStream &source, LineList &output, const LineFormat &format)
      : source_(source), output_(output), format_(format) {}

private:
  components::TStream &source_;
  LineList &output_;
  const LineFormat &format_;
};

// The encoder of one format, as a class of its own (TBase64, TUUCode).
template <const LineFormat &Format> class TFormatEncoder : public TBlockEncoder {
public:
  TFormatEncoder(components::TStream &source, LineList &output)
      : TBlockEncoder(source, output, Format) {}
};

} // namespace billpost

#endif
