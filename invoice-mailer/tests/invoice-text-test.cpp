// The invoice text: golden texts with and without "ledgerly.INI" (each
// golden was laid out independently from the column positions and checked
// by hand), the column routines, the totals, the slots and the failures
// that must leave no text behind. The same tests run in the Windows build
// under Wine, so both builds are held to the same bytes.
#include "invoice-mailer/core/invoice-text.h"

#include "invoice-mailer/core/invoice-search.h"
#include "invoice-mailer/core/invoice-totals.h"
#include "invoice-mailer/core/log-errors.h"
#include "invoice-mailer/tests/log-files.h"

#include "platform/components/core/ini-file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

using billpost::InvoiceLabels;
using billpost::InvoiceLog;
using billpost_test::generatedPath;
using billpost_test::goldenPath;

namespace {

std::vector<std::string> renderFrom(const std::string &logName, const std::string &number,
                                    const InvoiceLabels &labels) {
  auto log = InvoiceLog::open(generatedPath(logName));
  auto header = billpost::findInvoice(*log, number);
  if (!header)
    throw std::runtime_error(number + " is not in " + logName);
  return billpost::renderInvoice(*header, billpost::gatherLineItems(*log, number), labels);
}

} // namespace

// Without an INI file object, with a missing INI file and with one that
// relabels.
TEST(InvoiceText, MatchesGoldenWithAndWithoutIni) {
  struct Case {
    const char *ini, *number, *golden;
  } cases[] = {
      {nullptr, "G-2002", "G-2002-defaults.txt"},
      {"no-such-ledgerly.INI", "G-2002", "G-2002-defaults.txt"},
      {"relabel.INI", "G-2001", "G-2001-relabelled.txt"},
  };
  for (const Case &c : cases) {
    InvoiceLabels labels;
    if (c.ini) {
      components::TIniFile ini(generatedPath(c.ini));
      labels = billpost::readInvoiceLabels(ini);
    }
    std::string text = billpost::joinLines(renderFrom("11-2003.ldl", c.number, labels));
    EXPECT_EQ(text, billpost_test::readText(goldenPath(c.golden))) << (c.ini ? c.ini : "no INI");
  }
}

TEST(InvoiceText, EmptyIniValuesAreTextsToo) {
  components::TIniFile ini(generatedPath("blank-values.INI"));
  InvoiceLabels labels = billpost::readInvoiceLabels(ini);
  EXPECT_EQ(labels.company, "");
  EXPECT_EQ(labels.address1, "123 Street Name");
  EXPECT_EQ(labels.tax1Name, "VAT ; inclusive");
  EXPECT_EQ(labels.tax2Name, "Tax2");
  std::vector<std::string> lines = renderFrom("11-2003.ldl", "G-2001", labels);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "VAT ; inclusive            61728.39"),
            lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Tax2                       30864.20"),
            lines.end());
}

TEST(InvoiceText, GeneratedInvoicesMatchAnIndependentRendering) {
  auto log = InvoiceLog::open(generatedPath("07-2004.ldl"));
  std::string text;
  for (std::size_t i = 0; i < log->headerCount(); ++i) {
    billpost::InvoiceHeader header = log->readHeader(i);
    text += billpost::joinLines(billpost::renderInvoice(
        header, billpost::gatherLineItems(*log, header.invoiceNumber), InvoiceLabels()));
  }
  std::string expected = billpost_test::readText(generatedPath("07-2004.expected.txt"));
  ASSERT_FALSE(expected.empty());
  if (text == expected)
    return;
  // Point at the first line that differs instead of printing megabytes.
  std::size_t at = std::mismatch(text.begin(), text.end(), expected.begin(), expected.end()).first -
                   text.begin();
  std::size_t lineStart = text.rfind('\n', at);
  lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
  ADD_FAILURE() << "differs at byte " << at << ": ours \"" << text.substr(lineStart, 80)
                << "\", reference \"" << expected.substr(lineStart, 80) << "\"";
}

TEST(InvoiceText, HeadingColumnsStartWhereTheLayoutSays) {
  std::vector<std::string> lines = renderFrom("11-2003.ldl", "G-2002", InvoiceLabels());
  auto heading = std::find_if(lines.begin(), lines.end(),
                              [](const std::string &line) { return line.rfind(" Qty ", 0) == 0; });
  ASSERT_NE(heading, lines.end());
  EXPECT_EQ(heading->find("Unit Cost"), 12u);
  EXPECT_EQ(heading->find("Extended"), 27u);
  EXPECT_EQ(heading->find("Product"), 42u);
  EXPECT_EQ(heading->find("Description"), 62u);
}

TEST(InvoiceText, PadToColumnTable) {
  struct Case {
    const char *line;
    std::size_t column;
    const char *field, *expected;
  } cases[] = {
      {"", 0, "Qty", " Qty"},
      {"", 3, "x", "     x"}, // padded to 4, then a blank
      {"ab", 3, "x", "ab   x"},
      {"abc", 3, "x", "abc x"},       // not shorter: no padding
      {"abcdef", 3, "x", "abcdef x"}, // longer: the field just follows
      {"SubTotal:", 25, "1.00", "SubTotal:                  1.00"},
      {"", 2, "", "    "},
  };
  for (const Case &c : cases) {
    std::string line = c.line;
    billpost::PadToColumn(line, c.column, c.field);
    EXPECT_EQ(line, c.expected) << c.line << "|" << c.column;
  }
  EXPECT_EQ(billpost::RepeatChar('_', 3), "___");
  EXPECT_EQ(billpost::RepeatChar('_', 0), "");
}

TEST(InvoiceText, TwentySlotsHoldTheNonEmptyItemsInOrder) {
  auto log = InvoiceLog::open(generatedPath("03-1998.ldl"));
  billpost::LineItems items = billpost::gatherLineItems(*log, "A-1007");
  for (std::size_t i = 0; i < items.size(); ++i)
    EXPECT_EQ(items[i].product, "Piece " + std::to_string(i + 1)); // no Phantom, no Overflow

  std::vector<std::string> lines = renderFrom("03-1998.ldl", "A-1007", InvoiceLabels());
  std::size_t itemLines = 0;
  for (const std::string &line : lines)
    itemLines += line.find("Filler") != std::string::npos;
  EXPECT_EQ(itemLines, 20u);
  // 20 items at 10.00, no taxes.
  EXPECT_NE(std::find(lines.begin(), lines.end(), "SubTotal:                  200.00"),
            lines.end());
}

// Three at 1.50, and millions that keep their cents.
TEST(InvoiceText, ItemAndTotalLines) {
  struct Case {
    const char *number, *line;
  } cases[] = {
      {"A-1001", " 3          1.50           4.50           Widget              Blue widget"},
      {"A-1005", " 1          1234567.89     1234567.89     Machine             Press machine"},
      {"A-1005", "Total Due:                 1234567.89"},
  };
  for (const Case &c : cases) {
    std::vector<std::string> lines = renderFrom("03-1998.ldl", c.number, InvoiceLabels());
    EXPECT_NE(std::find(lines.begin(), lines.end(), c.line), lines.end()) << c.line;
  }
}

TEST(InvoiceText, TotalsAddTaxesAndShippingAndSubtractTheCredit) {
  billpost::LineItems items;
  items[0].quantity = 2;
  items[0].unitPrice = 10;
  items[0].tax1Rate = 5;
  items[5].quantity = 1;
  items[5].unitPrice = 4;
  items[5].tax2Rate = 25;
  EXPECT_DOUBLE_EQ(billpost::InvoiceTotal(items), 2 * 10 * 1.05 + 4 * 1.25);
  billpost::TaxAmounts taxes = billpost::TaxTotals(items);
  EXPECT_DOUBLE_EQ(taxes.tax1, 1.0);
  EXPECT_DOUBLE_EQ(taxes.tax2, 1.0);

  billpost::InvoiceHeader header;
  header.invoiceNumber = "T-1";
  header.shippingCost = "3.00";
  header.credited = "0.50";
  std::vector<std::string> lines = billpost::renderInvoice(header, items, InvoiceLabels());
  std::vector<std::string> tail(lines.end() - 10, lines.end());
  std::vector<std::string> expected = {"SubTotal:                  26.00",
                                       "Shipping Cost:             3.00",
                                       "Tax1                       1.00",
                                       "Tax2                       1.00",
                                       "",
                                       "[Credited]:                0.50",
                                       "",
                                       "Total Due:                 28.50",
                                       "",
                                       std::string(35, '_')};
  EXPECT_EQ(tail, expected);
}

TEST(InvoiceText, NoTaxLineForAZeroTaxAndEmptyAmountsCountAsZero) {
  std::vector<std::string> lines = renderFrom("empty-amounts.ldl", "D-1", InvoiceLabels());
  std::vector<std::string> tail(lines.end() - 9, lines.end());
  std::vector<std::string> expected = {"SubTotal:                  2.00",
                                       "Shipping Cost:" + std::string(13, ' '),
                                       "",
                                       "[Credited]:" + std::string(16, ' '),
                                       "",
                                       "Total Due:                 2.00",
                                       "",
                                       std::string(35, '_')};
  tail.erase(tail.begin()); // the blank line before the SubTotal
  EXPECT_EQ(tail, expected);
}

TEST(InvoiceText, AddressLinesFourToSevenOnlyWhenNotEmpty) {
  std::vector<std::string> lines = renderFrom("11-2003.ldl", "G-2001", InvoiceLabels());
  auto shipTo = std::find(lines.begin(), lines.end(), "Ship To:");
  ASSERT_NE(shipTo, lines.end());
  std::vector<std::string> block(shipTo, shipTo + 9);
  std::vector<std::string> expected = {
      "Ship To:", "",          "Caf\xE9 Supplies", "400 Dock Road",     "",
      "Unit 7",   "Port Town", "Attn: Receiving",  std::string(30, '_')};
  EXPECT_EQ(block, expected);
}

TEST(InvoiceText, FailedRenderLeavesNoText) {
  struct Case {
    const char *log;
    const char *message;
  } cases[] = {
      {"bad-shipping.ldl", "'12,50' is not a valid floating point value"},
      {"bad-credited.ldl", "'none' is not a valid floating point value"},
      {"huge-amount.ldl", "An amount of the invoice is out of range"},
  };
  for (const Case &c : cases) {
    std::vector<std::string> lines = {"previous invoice"};
    try {
      lines = renderFrom(c.log, "D-1", InvoiceLabels());
      ADD_FAILURE() << c.log << ": rendered";
    } catch (const billpost::EConvertError &error) {
      EXPECT_EQ(error.Message(), c.message);
    }
    EXPECT_EQ(lines, std::vector<std::string>{"previous invoice"}) << c.log;
  }
}

TEST(LogTitle, MonthAndYearFromTheLogName) {
  struct Case {
    const char *name, *title;
  } cases[] = {
      {"03-1998.ldl", "Invoice log for March, 1998"},
      {"C:\\Ledgerly\\Logs\\03-1998.ldl", "Invoice log for March, 1998"},
      {"/home/logs/12_2001.ldl", "Invoice log for December, 2001"},
      {"01-2000.ldl", "Invoice log for January, 2000"},
      {"13-1998.ldl", "Invoice log for , 1998"},
      {"00-1998.ldl", "Invoice log for , 1998"},
      {"03-98.ldl", "Invoice log for March, 98.l"}, // four characters, whatever they are
      {"ab-1998.ldl", "Invoice log for , 1998"},
      {"3-1998.ldl", "Invoice log for , 998."},
      {"03", "Invoice log for March, "},
  };
  for (const Case &c : cases)
    EXPECT_EQ(billpost::logTitle(c.name), c.title) << c.name;
  EXPECT_EQ(billpost::MonthName(0), "");
  EXPECT_EQ(billpost::MonthName(2), "February");
  EXPECT_EQ(billpost::MonthName(12), "December");
}
