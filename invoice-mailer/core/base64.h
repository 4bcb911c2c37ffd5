// Base64 encoding of a non-text attachment: one line of up to 76 characters
// for every 57 bytes of the source.
#ifndef BILLPOST_BASE64_H
#define BILLPOST_BASE64_H

#include "invoice-mailer/core/block-encoder.h"

namespace billpost {

// 57 bytes a line, zeroed before each read; "=" pads a short line to whole
// quartets; a source whose size is a multiple of 57 ends with one empty
// line (the last read found nothing), which mail readers skip.
extern const LineFormat Base64Lines;
using TBase64 = TFormatEncoder<Base64Lines>;

} // namespace billpost

#endif
