// The uuencode line format.
#include "invoice-mailer/core/uucode.h"

namespace billpost {

namespace {
// "`" for 0, then the characters 33 to 95.
constexpr SixBitAlphabet
    uuAlphabet("`!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_");
} // namespace

const LineFormat UULines{45, uuAlphabet, true, false, true, false, false, false};

} // namespace billpost
