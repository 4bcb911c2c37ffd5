// The number parser of invoice logs on any text: a number it reads formats
// both ways, and the fixed form reads back as a number.
#include "invoice-mailer/core/number-text.h"

#include "testing/fuzz-harness.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  double value = 0;
  if (!billpost::parseNumber(testing_support::textOf(data, size), value))
    return 0;
  billpost::formatGeneral(value);
  const std::string fixed = billpost::formatFixed(value);
  double again = 0;
  if (std::isfinite(value))
    FUZZ_CHECK(billpost::parseNumber(fixed, again));
  return 0;
}
