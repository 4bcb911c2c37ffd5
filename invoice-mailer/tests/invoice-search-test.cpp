// The search rules over a generated month's log (tests/data/search-logs.txt
// says which invoice holds what).
#include "invoice-mailer/core/invoice-search.h"

#include "invoice-mailer/tests/log-files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using billpost::InvoiceLog;
using billpost::SearchSettings;
using billpost_test::generatedPath;

namespace {

using Numbers = std::vector<std::string>;

std::unique_ptr<InvoiceLog> searchLog() { return InvoiceLog::open(generatedPath("03-1998.ldl")); }

Numbers search(const std::string &key1, const std::string &joinWord, const std::string &key2) {
  SearchSettings settings;
  settings.filterOn = true;
  settings.key1 = key1;
  settings.key2 = key2;
  settings.joinWord = joinWord;
  return billpost::listInvoiceNumbers(*searchLog(), settings);
}

} // namespace

TEST(InvoiceSearch, WithoutFilterEveryNumberIsListedInRecordOrder) {
  Numbers all = {"A-1001", "A-1002", "A-1003", "A-1004", "A-1005", "A-1006", "a-1006", "A-1007"};
  EXPECT_EQ(billpost::listInvoiceNumbers(*searchLog(), SearchSettings()), all);
  // The keys do not matter while the filter is off.
  SearchSettings off;
  off.key1 = "Smith";
  EXPECT_EQ(billpost::listInvoiceNumbers(*searchLog(), off), all);
}

TEST(InvoiceSearch, KeysAndJoinWords) {
  struct Case {
    const char *key1, *join, *key2;
    Numbers expected;
  } cases[] = {
      // Words in addresses and notes.
      // An empty key is no condition: the other key decides alone.
      {"Smith", "OR", "", {"A-1001", "A-1003"}},
      {"Smith", "AND", "", {"A-1001", "A-1003"}},
      {"Smith", "NOT", "", {"A-1001", "A-1003"}},
      {"", "OR", "Jones", {"A-1002", "A-1003"}},
      {"", "AND", "Jones", {"A-1002", "A-1003"}},
      {"", "NOT", "Jones", {"A-1001", "A-1004", "A-1005", "A-1006", "a-1006", "A-1007"}},
      {"",
       "AND",
       "",
       {"A-1001", "A-1002", "A-1003", "A-1004", "A-1005", "A-1006", "a-1006", "A-1007"}},
      {"Smith", "OR", "Jones", {"A-1001", "A-1002", "A-1003"}},
      {"Smith", "AND", "Jones", {"A-1003"}},
      {"Smith", "NOT", "Jones", {"A-1001"}},
      {"Jones", "NOT", "Smith", {"A-1002"}},
      {"Smith", "*ALL*", "Jones", {"A-1001", "A-1003"}}, // other words: key 1 alone
      // Case counts.
      {"smith", "AND", "", {}},
      {"SMITH", "AND", "", {}},
      {"Springfield", "AND", "", {"A-1001", "A-1006", "a-1006", "A-1007"}},
      // Line-item texts, found only through the items.
      {"Sprocket", "AND", "", {"A-1003"}},
      {"Phantom", "AND", "", {"A-1007"}},  // an empty item is still searched
      {"Overflow", "AND", "", {"A-1007"}}, // so is one past the last slot
      // Numbers: any amount field, in its general form.
      {"7.5", "AND", "", {"A-1004"}},  // only a tax 2 rate
      {"8.25", "AND", "", {"A-1001"}}, // a tax 1 rate
      {"37", "AND", "", {"A-1002"}},   // a quantity
      {"1.5", "AND", "", {"A-1001"}},  // a unit price
      {"1234567.89", "AND", "", {"A-1005"}},
      {"20", "AND", "", {"A-1002", "A-1007"}}, // price 20, and "Piece 20"
      {"7.50", "AND", "", {}},                 // prices are not written with cents
      // Header fields.
      {"COD", "AND", "", {"A-1002"}},
      {"4.50", "AND", "", {"A-1001"}}, // the shipping cost text
      {"A-100", "NOT", "A-1007", {"A-1001", "A-1002", "A-1003", "A-1004", "A-1005", "A-1006"}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(search(c.key1, c.join, c.key2), c.expected)
        << c.key1 << " " << c.join << " " << c.key2;
}

TEST(InvoiceSearch, ItemsWhoseNumberDiffersInCaseBelongToTheOtherInvoice) {
  EXPECT_EQ(search("Gizmo", "AND", ""), Numbers{"a-1006"});
  EXPECT_EQ(search("Cog", "AND", ""), Numbers{"A-1006"});
  EXPECT_EQ(search("99", "AND", ""), Numbers{"a-1006"});

  auto log = searchLog();
  auto upper = log->itemsOf("A-1006");
  ASSERT_EQ(upper.size(), 1u);
  EXPECT_EQ(upper[0].product, "Cog");
  auto lower = log->itemsOf("a-1006");
  ASSERT_EQ(lower.size(), 1u);
  EXPECT_EQ(lower[0].product, "Gizmo");
}

TEST(InvoiceSearch, CombineMatchTable) {
  struct Case {
    bool r1;
    const char *join;
    bool r2, expected;
  } cases[] = {
      {true, "OR", false, true},  {false, "OR", true, true},   {false, "OR", false, false},
      {true, "AND", true, true},  {true, "AND", false, false}, {false, "AND", true, false},
      {true, "NOT", false, true}, {true, "NOT", true, false},  {false, "NOT", false, false},
      {true, "XOR", true, true},  {false, "", true, false},    {true, "or", false, true},
      {false, "or", true, false},
  };
  for (const Case &c : cases)
    EXPECT_EQ(billpost::CombineMatch(c.r1, c.join, c.r2), c.expected)
        << c.r1 << " " << c.join << " " << c.r2;
}

TEST(InvoiceSearch, TextTestsAreCaseSensitiveAndTheEmptyKeyIsEverywhere) {
  EXPECT_TRUE(billpost::TextContains("", ""));
  EXPECT_TRUE(billpost::TextContains("", "abc"));
  EXPECT_TRUE(billpost::TextContains("bc", "abc"));
  EXPECT_FALSE(billpost::TextContains("B", "abc"));
  EXPECT_FALSE(billpost::TextContains("abcd", "abc"));
  EXPECT_TRUE(billpost::TextContains("\xE9", "Caf\xE9"));
  EXPECT_FALSE(billpost::TextContains("\xC9", "Caf\xE9")); // no folding of ANSI letters

  billpost::AddressBlock block;
  block.lines[6] = "Last line";
  EXPECT_TRUE(billpost::AddressBlockContains("Last", block));
  EXPECT_FALSE(billpost::AddressBlockContains("last", block));
}

TEST(InvoiceLookup, FindsExactNumbersOnly) {
  auto log = searchLog();
  auto found = billpost::findInvoice(*log, "A-1003");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->shipTo.lines[0], "Mary Smith");
  EXPECT_EQ(found->notes, "referred by Jones");

  auto lower = billpost::findInvoice(*log, "a-1006");
  ASSERT_TRUE(lower);
  EXPECT_EQ(lower->shipTo.lines[0], "Lower Case Ltd");

  // After a number that is there, one that is not finds nothing.
  EXPECT_FALSE(billpost::findInvoice(*log, "A-9999"));
  EXPECT_FALSE(billpost::findInvoice(*log, "A-100"));
  EXPECT_FALSE(billpost::findInvoice(*log, "A-1003 "));
}
