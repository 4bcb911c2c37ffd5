// The string-table reader under random damage: every lookup returns, and a
// text it gives lies inside the table.
#include "clipboard-checker/core/string-table.h"
#include "testing/fuzz-driver.h"

#include <gtest/gtest.h>

#include <string>

using lexitray::StringTableView;

namespace {

testing_support::Bytes tableSeed() {
  // Three entries, ids 1, 5 and 9, texts "a", "bc" and "def".
  testing_support::Bytes bytes = {'S', 'T', 'R', '0', 3, 0, 0, 0};
  auto put = [&](std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
      bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  std::uint32_t offset = 8 + 36;
  for (std::uint32_t entry = 0; entry < 3; ++entry) {
    put(1 + 4 * entry);
    put(offset);
    put(entry + 1);
    offset += 2 * (entry + 1);
  }
  for (char c : std::string("abcdef")) {
    bytes.push_back(static_cast<std::uint8_t>(c));
    bytes.push_back(0);
  }
  return bytes;
}

} // namespace

TEST(StringTableFuzz, DamagedTablesNeverBreakTheReader) {
  testing_support::Bytes seed = tableSeed();
  {
    StringTableView view(seed.data(), seed.size());
    std::u16string text;
    ASSERT_TRUE(view.find(9, text));
    ASSERT_EQ(text, u"def");
  }
  unsigned tried = testing_support::fuzz({seed}, [](const testing_support::Bytes &input) {
    StringTableView view(input.data(), input.size());
    std::u16string text;
    for (std::uint32_t id : {0u, 1u, 5u, 9u, 10u, 0xFFFFFFFFu}) {
      view.find(id, text);
      ASSERT_LE(text.size() * 2, input.size());
    }
  });
  EXPECT_GE(tried, 200u);
}
