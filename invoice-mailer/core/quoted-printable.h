// Quoted-printable encoding of a text attachment or an 8-bit body: the
// source is cut into paragraphs at its line ends, each paragraph wrapped at
// 65 characters with soft line breaks, and control characters, "=" and
// bytes from 128 up written as "=" and two hexadecimal digits.
#ifndef BILLPOST_QUOTED_PRINTABLE_H
#define BILLPOST_QUOTED_PRINTABLE_H

#include "invoice-mailer/core/block-encoder.h"

#include <string>
#include <vector>

namespace billpost {

class TQuotedPrintable : public components::TObject, public EncoderControl {
public:
  // Neither reference is owned; the source is read from its position.
  TQuotedPrintable(components::TStream &source, components::TStringList &output)
      : source_(source), output_(output) {}

  // Throws EMIMEError "Paragraph is too large" for a paragraph of more than
  // MaxParagraph bytes; stream errors pass on.
  void Encode();

  static constexpr std::size_t MaxParagraph = 24575;
  static constexpr std::size_t WrapWidth = 65;

  // The output lines of one paragraph (empty for an empty paragraph).
  static std::vector<std::string> WrapParagraph(const std::string &paragraph);
  static std::string EscapeLine(const std::string &line);

private:
  components::TStream &source_;
  components::TStringList &output_;
};

} // namespace billpost

#endif
