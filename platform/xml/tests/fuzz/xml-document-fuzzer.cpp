// The XML reader on any text: a document loads or is refused with a message,
// and one that loads saves back to the same bytes.
#include "platform/xml/core/xml-document.h"

#include "testing/fuzz-harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string text = testing_support::textOf(data, size);
  xml::Document document;
  xml::ParseError error;
  if (!document.load(text, error)) {
    FUZZ_CHECK(!error.message.empty());
    return 0;
  }
  FUZZ_CHECK(document.save() == text);
  return 0;
}
