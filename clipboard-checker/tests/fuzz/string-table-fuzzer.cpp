// The string-table reader on any bytes: every lookup returns, and a text it
// gives lies inside the table.
#include "clipboard-checker/core/string-table.h"

#include "testing/fuzz-harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  lexitray::StringTableView view(data, size);
  std::u16string text;
  for (std::uint32_t id : {0u, 1u, 5u, 9u, 10u, 0xFFFFu, 0xFFFFFFFFu}) {
    view.find(id, text);
    FUZZ_CHECK(text.size() * 2 <= size);
  }
  return 0;
}
