// Part-ID numbering: every documented example, as tables of entries (in
// device-name order) and the IDs each ends with.
#include "circuit-sim/core/part-numbering.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using qorsim::NumberingEntry;

struct Placed {
  std::string id;
  double x, y;
};

// Runs the numbering and returns the ID each entry then shows.
std::vector<std::string> numbered(std::vector<NumberingEntry> &entries) {
  for (const qorsim::PartIdWrite &write : qorsim::numberPartIds(entries))
    entries[write.entry].lastWrittenId = write.id;
  std::vector<std::string> ids;
  for (const NumberingEntry &entry : entries)
    ids.push_back(entry.lastWrittenId);
  return ids;
}

std::vector<NumberingEntry> entriesOf(const std::vector<Placed> &parts) {
  std::vector<NumberingEntry> entries;
  char name = 'a';
  for (const Placed &part : parts)
    entries.push_back({std::string("{") + name++ + "}", part.x, part.y, part.id, ""});
  return entries;
}

struct Case {
  const char *what;
  std::vector<Placed> parts;
  std::vector<std::string> expected;
};

TEST(PartNumbering, DocumentedExamples) {
  const Case cases[] = {
      {"templates skip a typed ID, left to right",
       {{"R?", 3, 0}, {"R2", 9, 9}, {"R?", 1, 0}, {"R?", 2, 0}},
       {"R4", "R2", "R1", "R3"}},
      {"same PinX: lower PinY first", {{"C?", 1, 5}, {"C?", 1, 2}}, {"C2", "C1"}},
      {"two marks give two digits", {{"R??", 1, 0}, {"R??", 2, 0}}, {"R01", "R02"}},
      {"the span counts what lies between the marks", {{"R?-?", 1, 0}}, {"R001"}},
      {"a prefix ending in 1 counts from 0", {{"Q1?", 1, 0}, {"Q1?", 2, 0}}, {"Q10", "Q11"}},
      {"a prefix ending in 0 counts from 1", {{"X0?", 1, 0}, {"X0?", 2, 0}}, {"X01", "X02"}},
      {"widths share the prefix's counter", {{"R?", 1, 0}, {"R???", 2, 0}}, {"R1", "R002"}},
      {"text after the marks is dropped", {{"R?x", 1, 0}}, {"R1"}},
      {"an empty prefix counts from 1", {{"?", 2, 0}, {"?", 1, 0}}, {"2", "1"}},
      {"prefixes are numbered apart",
       {{"L?", 1, 0}, {"C?", 2, 0}, {"L?", 0, 0}},
       {"L2", "C1", "L1"}},
      {"equal positions keep the name order", {{"V?", 1, 1}, {"V?", 1, 1}}, {"V1", "V2"}},
      {"a typed ID taken twice stays",
       {{"D1", 0, 0}, {"D1", 1, 0}, {"D?", 2, 0}},
       {"D1", "D1", "D2"}},
  };
  for (const Case &c : cases) {
    std::vector<NumberingEntry> entries = entriesOf(c.parts);
    EXPECT_EQ(numbered(entries), c.expected) << c.what;
  }
}

TEST(PartNumbering, SecondRunWritesNothing) {
  std::vector<NumberingEntry> entries = entriesOf({{"R?", 1, 0}, {"R7", 2, 0}, {"C??", 3, 0}});
  EXPECT_EQ(qorsim::numberPartIds(entries).size(), 3u);
  numbered(entries);
  EXPECT_TRUE(qorsim::numberPartIds(entries).empty());
  // A move that swaps two templates renumbers just those two.
  entries.push_back({"{z}", 0, 0, "R?", ""});
  const auto writes = qorsim::numberPartIds(entries);
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0].entry, 3u);
  EXPECT_EQ(writes[0].id, "R1");
  EXPECT_EQ(writes[1].entry, 0u);
  EXPECT_EQ(writes[1].id, "R2");
}

} // namespace
