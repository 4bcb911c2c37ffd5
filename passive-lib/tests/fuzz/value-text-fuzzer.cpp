// The number texts the component XML stores, on any text: an IEEE text that
// reads gives back its exact bit pattern, and whatever number the text
// holds has a display text in every format and a SPICE text.
#include "passive-lib/core/value-format.h"

#include "testing/fuzz-harness.h"

#include <cstring>

namespace {

void formatEveryWay(double value, std::uint8_t choice) {
  std::string text;
  for (int format = 0; format <= passive::MaxFormat; ++format)
    FUZZ_CHECK(passive::formatValue(value, format, choice % (passive::MaxDigits + 1), choice & 0x80,
                                    text));
  passive::spiceValue(value);
}

} // namespace

// Byte 0 chooses the digits and the sign change; the rest is the text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0)
    return 0;
  const std::string text = testing_support::textOf(data + 1, size - 1);
  double value = 0;
  if (passive::parseIeeeText(text, value)) {
    double again = 0;
    FUZZ_CHECK(passive::parseIeeeText(passive::ieeeText(value), again));
    FUZZ_CHECK(std::memcmp(&again, &value, sizeof value) == 0);
    formatEveryWay(value, data[0]);
  }
  if (passive::parseWholeNumber(text, value))
    formatEveryWay(value, data[0]);
  formatEveryWay(passive::leadingNumber(text), data[0]);
  return 0;
}
