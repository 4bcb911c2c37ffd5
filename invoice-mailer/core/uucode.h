// Uuencoding of an attachment: one line for every 45 bytes of the source,
// each led by the character that gives its byte count.
#ifndef BILLPOST_UUCODE_H
#define BILLPOST_UUCODE_H

#include "invoice-mailer/core/block-encoder.h"

namespace billpost {

// 45 bytes a line, read into the same block each time: a short last line
// carries leftover bits past its count (and one group more than its bytes
// need), which decoders ignore.
//
// A read that finds nothing gives no line: the message layout closes every
// attachment with its own zero-count line ("`") before "end", and a second
// zero-count line in front of it would make decoders stop before "end".
extern const LineFormat UULines;
using TUUCode = TFormatEncoder<UULines>;

} // namespace billpost

#endif
