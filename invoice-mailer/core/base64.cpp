// The base64 line format.
#include "invoice-mailer/core/base64.h"

namespace billpost {

namespace {
constexpr SixBitAlphabet
    base64Alphabet("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/");
} // namespace

const LineFormat Base64Lines{57, base64Alphabet, false, true, false, true, true, true};

} // namespace billpost
