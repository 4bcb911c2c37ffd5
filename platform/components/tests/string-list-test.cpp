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
  EXPECT_EQ(messageOf([&] { list.Insert(2, "x"); }), "List index out of bounds (2)");
  EXPECT_EQ(messageOf([&] { list.Objects(3); }), "List index out of bounds (3)");
  list.SetSorted(true);
  EXPECT_EQ(messageOf([&] { list.Insert(0, "x"); }), "Operation not allowed on sorted list");
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

TEST(StringList, NamesAndValues) {
  TStringList list;
  list.Add("Colour=red");
  list.Add("noequals");
  list.Add("Size=a=b");
  EXPECT_EQ(list.Names(0), "Colour");
  EXPECT_EQ(list.Names(1), "");
  EXPECT_EQ(list.Values("colour"), "red");
  EXPECT_EQ(list.Values("size"), "a=b");
  EXPECT_EQ(list.Values("noequals"), "");
  EXPECT_EQ(list.IndexOfName("SIZE"), 2);
  list.SetValue("colour", "blue");
  EXPECT_EQ(list[0], "colour=blue");
  list.SetValue("Shape", "round");
  EXPECT_EQ(list[3], "Shape=round");
  list.SetValue("Size", ""); // an empty value removes the entry
  EXPECT_EQ(list.IndexOfName("Size"), -1);
  EXPECT_EQ(list.Count(), 3);
}

TEST(StringList, CommaTextQuotesWhereNeeded) {
  TStringList list;
  for (const char *text : {"plain", "two words", "", "a,b", "say \"hi\""})
    list.Add(text);
  EXPECT_EQ(list.CommaText(), "plain,\"two words\",\"\",\"a,b\",\"say \"\"hi\"\"\"");
}

TEST(StringList, ObjectsTravelWithTheirStrings) {
  int first = 1, second = 2;
  TStringList list;
  list.AddObject("b", &second);
  list.AddObject("a", &first);
  list.SetSorted(true);
  EXPECT_EQ(list[0], "a");
  EXPECT_EQ(list.Objects(0), &first);
  EXPECT_EQ(list.Objects(1), &second);
  TStringList copy;
  copy.Assign(list);
  EXPECT_EQ(copy.Objects(1), &second);
  copy.Exchange(0, 1);
  EXPECT_EQ(copy[0], "b");
}

TEST(StringList, RoomMadeAheadKeepsEntriesInPlace) {
  TStringList list;
  list.Add("first");
  list.SetCapacity(1000);
  EXPECT_GE(list.Capacity(), 1000);
  const std::string *first = &list[0];
  for (int i = 1; i < 1000; ++i)
    list.Add(std::string(40, 'x'));
  EXPECT_EQ(&list[0], first); // never moved while the list grew
  EXPECT_EQ(list[0], "first");
  list.SetCapacity(10); // below Count: nothing happens
  EXPECT_EQ(list.Count(), 1000);
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

TEST(StringList, StreamsRoundTrip) {
  TStringList list;
  list.Add("first");
  list.Add("\xE9t\xE9");
  components::TMemoryStream stream;
  list.SaveToStream(stream);
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(stream.Memory()), stream.Size()),
            "first\r\n\xE9t\xE9\r\n");
  stream.SetPosition(0);
  TStringList back;
  back.LoadFromStream(stream);
  EXPECT_EQ(toVector(back), toVector(list));
}
