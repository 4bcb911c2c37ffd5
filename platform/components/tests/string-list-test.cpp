// String lists: sorted insertion and duplicates, case-insensitive search,
// Name=Value entries, text with CR LF, and the platform's error messages.
#include "platform/components/core/string-list.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/stream.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using components::EStringListError;
using components::TDuplicates;
using components::TStringList;

namespace {

std::vector<std::string> toVector(const TStringList &list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i)
    out.push_back(list[i]);
  return out;
}

std::string messageOf(const std::function<void()> &action) {
  try {
    action();
  } catch (const EStringListError &e) {
    return e.Message();
  }
  return "(nothing thrown)";
}

} // namespace

// Many strings added at once to a sorted list land as Add places them one
// by one: in order, the first of equal entries kept (those already listed
// included), whatever the duplicates setting.
TEST(StringList, AddStringsToASortedListKeepsTheFirstOfEqualEntries) {
  struct Case {
    TDuplicates duplicates;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {TDuplicates::dupIgnore, {"a", "b", "c", "D", "e"}},
      {TDuplicates::dupAccept, {"A", "a", "B", "b", "c", "d", "D", "e"}},
  };
  for (const Case &c : cases) {
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(c.duplicates);
    list.Add("b");
    list.Add("D");
    TStringList added;
    for (const char *text : {"a", "B", "e", "c", "A", "d"})
      added.Add(text);
    list.AddStrings(added);
    EXPECT_EQ(toVector(list), c.expected);
  }
  TStringList copy;
  copy.SetSorted(true);
  TStringList unsorted;
  for (const char *text : {"b", "a", "B", "c"})
    unsorted.Add(text);
  copy.Assign(unsorted);
  EXPECT_EQ(toVector(copy), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(StringList, SortedListInsertsInPlaceAndIgnoresDuplicatesByDefault) {
  TStringList list;
  list.SetSorted(true);
  const std::vector<std::pair<std::string, int>> adds = {{"pear", 0},  {"Apple", 0}, {"zebra", 2},
                                                         {"apple", 0}, {"Mango", 1}, {"PEAR", 2}};
  for (const auto &add : adds)
    EXPECT_EQ(list.Add(add.first), add.second) << add.first;
  EXPECT_EQ(toVector(list), (std::vector<std::string>{"Apple", "Mango", "pear", "zebra"}));
}

TEST(StringList, DuplicatesAcceptedOrRefused) {
  TStringList accepting;
  accepting.SetSorted(true);
  accepting.SetDuplicates(TDuplicates::dupAccept);
  accepting.Add("b");
  accepting.Add("a");
  accepting.Add("B");
  EXPECT_EQ(accepting.Count(), 3);
  int index = -1;
  EXPECT_TRUE(accepting.Find("b", index));
  EXPECT_EQ(index, 1) << "the first of equal entries is found";

  TStringList refusing;
  refusing.SetSorted(true);
  refusing.SetDuplicates(TDuplicates::dupError);
  refusing.Add("word");
  EXPECT_EQ(messageOf([&] { refusing.Add("WORD"); }), "String list does not allow duplicates");
  EXPECT_EQ(refusing.Count(), 1);

  // Unsorted lists take every entry.
  TStringList plain;
  plain.SetDuplicates(TDuplicates::dupError);
  plain.Add("x");
  plain.Add("x");
  EXPECT_EQ(plain.Count(), 2);
}

TEST(StringList, SearchIgnoresCaseUnlessAsked) {
  struct Case {
    bool sorted, caseSensitive;
    std::string wanted;
    int expected;
  };
  const std::vector<Case> cases = {
      {false, false, "BETA", 1},      {false, true, "BETA", -1}, {false, true, "beta", 1},
      {true, false, "gAmMa", 2},      {true, true, "Gamma", -1}, {true, false, "delta", -1},
      {false, false, "\xC9T\xC9", 3}, // letters of the ANSI code page fold too
  };
  for (const Case &c : cases) {
    TStringList list;
    list.SetCaseSensitive(c.caseSensitive);
    for (const char *text : {"alpha", "beta", "gamma", "\xE9t\xE9"})
      list.Add(text);
    list.SetSorted(c.sorted);
    EXPECT_EQ(list.IndexOf(c.wanted), c.expected)
        << c.wanted << (c.sorted ? " sorted" : "") << (c.caseSensitive ? " case" : "");
  }
}

TEST(StringList, FindAnswersTheInsertionPlace) {
  TStringList list;
  list.SetSorted(true);
  for (const char *text : {"b", "d", "f"})
    list.Add(text);
  const std::vector<std::pair<std::string, int>> cases = {{"a", 0}, {"c", 1}, {"e", 2}, {"g", 3}};
  for (const auto &c : cases) {
    int index = -1;
    EXPECT_FALSE(list.Find(c.first, index));
    EXPECT_EQ(index, c.second) << c.first;
  }
}

TEST(StringList, ErrorsCarryThePlatformMessages) {
  TStringList list;
  list.Add("one");
  EXPECT_EQ(messageOf([&] { list.Strings(1); }), "List index out of bounds (1)");
  EXPECT_EQ(messageOf([&] { list.Strings(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(messageOf([&] { list.Delete(5); }), "List index out of bounds (5)");
  list.SetSorted(true);
  EXPECT_EQ(messageOf([&] { list.Put(0, "x"); }), "Operation not allowed on sorted list");
}

TEST(StringList, TextJoinsWithCrLfAndSplitsAnyLineEnd) {
  TStringList list;
  list.SetText("a\r\nb\nc\rd");
  EXPECT_EQ(toVector(list), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\n");

  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"", {}},
      {"\r\n", {""}},
      {"x\r\n", {"x"}},
      {"x\r\n\r\ny", {"x", "", "y"}},
      {"\n\r", {"", ""}}, // LF then CR: two line ends
      {"\xE9\r\n", {"\xE9"}},
  };
  for (const auto &c : cases) {
    list.SetText(c.first);
    EXPECT_EQ(toVector(list), c.second);
  }
}

TEST(StringList, OnChangeFiresOnlyWhenAssignedAndOnEveryChange) {
  TStringList list;
  list.Add("x"); // no handler: nothing happens
  int changes = 0;
  components::TObject *sender = nullptr;
  list.OnChange = [&](components::TObject *s) {
    ++changes;
    sender = s;
  };
  list.Add("y");
  list.Delete(0);
  list.Clear();
  list.Clear(); // already empty: no change
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(sender, &list);
}

TEST(StringList, LoadsFromAStreamSplittingAnyLineEnd) {
  components::TMemoryStream stream;
  const std::string bytes = "first\r\n\xE9t\xE9\nlast";
  stream.WriteBuffer(bytes.data(), bytes.size());
  stream.SetPosition(0);
  TStringList back;
  back.Add("stale");
  back.LoadFromStream(stream);
  EXPECT_EQ(toVector(back), (std::vector<std::string>{"first", "\xE9t\xE9", "last"}));
}
