// Base64 encoding of a non-text attachment: one line of up to 76 characters
// for every 57 bytes of the source.
#ifndef BILLPOST_BASE64_H
#define BILLPOST_BASE64_H

#include "invoice-mailer/core/block-encoder.h"

namespace billpost {

class TBase64 : public components::TObject, public EncoderControl {
public:
  // Neither reference is owned; the source is read from its position.
  TBase64(components::TStream &source, components::TStringList &output)
      : source_(source), output_(output) {}

  void Encode();
  // One line from n bytes (0 to 57) of a zero-filled 57-byte block.
  static std::string EncodeLine(const std::uint8_t *block, std::size_t n);

  components::Event<components::TObject *> OnProgress;

private:
  components::TStream &source_;
  components::TStringList &output_;
};

} // namespace billpost

#endif
