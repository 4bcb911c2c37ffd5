// Quoted-printable encoding of a text attachment and of a message body.
//
// Lines are wrapped at 65 source characters (before a blank where there is
// one) and never exceed 76 characters once escaped. Control characters,
// "=", DEL and bytes from 128 up are written as "=" and two hexadecimal
// digits.
//
// An attachment must decode to exactly its file's bytes, whatever line-end
// convention the reader's decoder applies to hard line breaks: its line
// ends are therefore escaped like any control character, and every encoded
// line ends with a soft break. A body is text in lines: each body line ends
// with a hard break, so a blank at its end is escaped (transports may strip
// it).
#ifndef BILLPOST_QUOTED_PRINTABLE_H
#define BILLPOST_QUOTED_PRINTABLE_H

#include "invoice-mailer/core/block-encoder.h"

#include <string>
#include <vector>

namespace components {
class TStringList;
} // namespace components

namespace billpost {

class TQuotedPrintable : public components::TObject, public EncoderControl {
public:
  // Neither reference is owned; the source is read from its position.
  TQuotedPrintable(components::TStream &source, components::TStringList &output)
      : source_(source), output_(output) {}

  // Encodes the source as an attachment: an empty source gives no line.
  // Throws EMIMEError "Paragraph is too large" for a line of more than
  // MaxParagraph bytes; stream errors pass on.
  void Encode();

  static constexpr std::size_t MaxParagraph = 24575;
  static constexpr std::size_t WrapWidth = 65;
  static constexpr std::size_t MaxLineLength = 76;

  // How the encoded lines of one paragraph end: with a hard break after the
  // last (a body line), or every one with a soft break (attachment data).
  enum TLastBreak { lbHard, lbSoft };

  // The output lines of one paragraph (none for an empty paragraph).
  static std::vector<std::string> WrapParagraph(const std::string &paragraph,
                                                TLastBreak lastBreak = lbHard);

  // The lines of a body: each body line (free of CR and LF) is one
  // paragraph ending with a hard break; an empty line stays empty.
  static std::vector<std::string> EncodeLines(const std::vector<std::string> &lines);

private:
  components::TStream &source_;
  components::TStringList &output_;
};

} // namespace billpost

#endif
