// "STR0" tables: lookups by binary search at both ends and in between,
// missing ids, and tables whose header or entries are damaged.
#include "clipboard-checker/core/string-table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using lexitray::StringTableView;

namespace {

void put32(std::string &out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    out += static_cast<char>(value >> (8 * i) & 0xFF);
}

// Lays a table out by hand: header, entries, then the texts in order.
std::string table(const std::vector<std::pair<std::uint32_t, std::u16string>> &entries) {
  std::string out = "STR0";
  put32(out, static_cast<std::uint32_t>(entries.size()));
  std::uint32_t offset = 8 + 12 * static_cast<std::uint32_t>(entries.size());
  for (const auto &entry : entries) {
    put32(out, entry.first);
    put32(out, offset);
    put32(out, static_cast<std::uint32_t>(entry.second.size()));
    offset += 2 * static_cast<std::uint32_t>(entry.second.size());
  }
  for (const auto &entry : entries)
    for (char16_t unit : entry.second) {
      out += static_cast<char>(unit & 0xFF);
      out += static_cast<char>(unit >> 8);
    }
  return out;
}

std::u16string lookup(const std::string &bytes, std::uint32_t id, bool *found = nullptr) {
  StringTableView view(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
  std::u16string text = u"unchanged";
  bool result = view.find(id, text);
  if (found)
    *found = result;
  return text;
}

const std::vector<std::pair<std::uint32_t, std::u16string>> utilityEntries = {
    {73, u"Error opening file"},
    {100, u"File does not contain version info"},
    {119, u"Error adding tray icon"},
    {121, u"Tray icon error"},
    {126, u"File is not a shortcut"},
    {127, u"&Close"},
    {128, u"&Restore"},
    {133, u"Cannot have more than one BkTrayIcon per application"},
    {134, u"The specified key cannnot be found in version info"},
    {135, u"ImageList is not assigned"}};

} // namespace

TEST(StringTable, EveryIdIsFoundIncludingTheFirstAndTheLast) {
  std::string bytes = table(utilityEntries);
  for (const auto &entry : utilityEntries)
    EXPECT_EQ(lookup(bytes, entry.first), entry.second) << "id " << entry.first;
  EXPECT_EQ(lookup(bytes, 73), u"Error opening file");
  EXPECT_EQ(lookup(bytes, 135), u"ImageList is not assigned");
}

TEST(StringTable, MissingIdsGiveEmptyText) {
  std::string bytes = table(utilityEntries);
  for (std::uint32_t id : {0u, 72u, 74u, 120u, 129u, 136u, 0xFFFFFFFFu}) {
    bool found = true;
    EXPECT_EQ(lookup(bytes, id, &found), u"") << "id " << id;
    EXPECT_FALSE(found);
  }
}

TEST(StringTable, TablesOfOneAndNoEntries) {
  std::string one = table({{5, u"five"}});
  EXPECT_EQ(lookup(one, 5), u"five");
  EXPECT_EQ(lookup(one, 4), u"");
  EXPECT_EQ(lookup(one, 6), u"");
  std::string none = table({});
  EXPECT_TRUE(StringTableView(reinterpret_cast<const std::uint8_t *>(none.data()), none.size())
                  .hasValidHeader());
  EXPECT_EQ(lookup(none, 0), u"");
}

TEST(StringTable, TextsKeepCharactersBeyondAscii) {
  std::string bytes = table({{1, u"caf\u00e9 \u20ac"}, {2, u""}});
  EXPECT_EQ(lookup(bytes, 1), u"caf\u00e9 \u20ac");
  bool found = false;
  EXPECT_EQ(lookup(bytes, 2, &found), u"");
  EXPECT_TRUE(found);
}

TEST(StringTableDamage, HeaderOtherThanStr0IsRefused) {
  std::string good = table(utilityEntries);
  for (std::string bad : {std::string("STR1"), std::string("str0"), std::string("RTS0")}) {
    std::string bytes = bad + good.substr(4);
    StringTableView view(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    EXPECT_FALSE(view.hasValidHeader()) << bad;
    EXPECT_EQ(lookup(bytes, 126), u"");
  }
  for (std::size_t size : {0u, 3u, 4u, 7u}) {
    StringTableView view(reinterpret_cast<const std::uint8_t *>(good.data()), size);
    EXPECT_FALSE(view.hasValidHeader()) << size;
  }
}

TEST(StringTableDamage, CountBeyondTheTableIsRefused) {
  std::string bytes = table(utilityEntries);
  bytes[4] = static_cast<char>(0xFF);
  bytes[7] = static_cast<char>(0x7F);
  StringTableView view(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
  EXPECT_FALSE(view.hasValidHeader());
  EXPECT_EQ(lookup(bytes, 126), u"");
}

TEST(StringTableDamage, TextOutsideTheTableIsNotRead) {
  std::string bytes = table({{1, u"one"}, {2, u"two"}});
  // Entry 2's length runs past the end; entry 1's offset points past it.
  bytes[8 + 12 + 8] = 100;
  bytes[8 + 4] = static_cast<char>(0xF0);
  bool found = true;
  EXPECT_EQ(lookup(bytes, 2, &found), u"");
  EXPECT_FALSE(found);
  EXPECT_EQ(lookup(bytes, 1, &found), u"");
  EXPECT_FALSE(found);
}
