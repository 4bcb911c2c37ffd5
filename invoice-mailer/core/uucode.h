// Uuencoding of an attachment: one line for every 45 bytes of the source,
// each led by the character that gives its byte count.
#ifndef BILLPOST_UUCODE_H
#define BILLPOST_UUCODE_H

#include "invoice-mailer/core/block-encoder.h"

namespace billpost {

class TUUCode : public components::TObject, public EncoderControl {
public:
  // Neither reference is owned; the source is read from its position.
  TUUCode(components::TStream &source, components::TStringList &output)
      : source_(source), output_(output) {}

  void Encode();
  // One line from the first n bytes (1 to 45) of a 45-byte block.
  static std::string EncodeLine(const std::uint8_t *block, std::size_t n);

  components::Event<components::TObject *> OnProgress;

private:
  components::TStream &source_;
  components::TStringList &output_;
};

} // namespace billpost

#endif
