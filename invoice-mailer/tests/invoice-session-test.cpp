// The main window's invoice state: opening pairs, listing, looking up and
// rendering, as the window's commands use them one after another.
#include "invoice-mailer/core/invoice-session.h"

#include "invoice-mailer/core/log-errors.h"
#include "invoice-mailer/tests/log-files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using billpost::InvoiceSession;
using billpost_test::generatedPath;

TEST(InvoiceSession, StartsWithNothingOpen) {
  InvoiceSession session;
  EXPECT_FALSE(session.logsOpen());
  EXPECT_FALSE(session.searchSettings().filterOn);
  EXPECT_TRUE(session.LoadInvoiceNumbers().empty());
  EXPECT_FALSE(session.FindChosenInvoice("A-1001"));
  EXPECT_TRUE(session.renderChosenInvoice("A-1001", billpost::InvoiceLabels()).empty());
}

TEST(InvoiceSession, ListsWithAndWithoutTheFilter) {
  InvoiceSession session;
  session.openLogPair(generatedPath("03-1998.ldl"));
  ASSERT_TRUE(session.logsOpen());
  EXPECT_EQ(session.headerFileName(), generatedPath("03-1998.ldl"));
  EXPECT_EQ(session.LoadInvoiceNumbers().size(), 8u);

  billpost::SearchSettings &search = session.searchSettings();
  search = {true, "Smith", "Jones", "NOT"};
  EXPECT_EQ(session.LoadInvoiceNumbers(), std::vector<std::string>{"A-1001"});
  // Cancel in the search dialog turns the filter off and keeps the keys.
  search.filterOn = false;
  EXPECT_EQ(session.LoadInvoiceNumbers().size(), 8u);
}

TEST(InvoiceSession, LookUpThenAMissingNumberClearsFound) {
  InvoiceSession session;
  session.openLogPair(generatedPath("03-1998.ldl"));
  ASSERT_TRUE(session.FindChosenInvoice("A-1003"));
  EXPECT_TRUE(session.found());
  EXPECT_EQ(session.currentHeader().shipTo.lines[0], "Mary Smith");

  EXPECT_FALSE(session.FindChosenInvoice("A-9999"));
  EXPECT_FALSE(session.found());
  // Every header was read on the way; the last one stays current.
  EXPECT_EQ(session.currentHeader().invoiceNumber, "A-1007");
  EXPECT_TRUE(session.renderChosenInvoice("A-9999", billpost::InvoiceLabels()).empty());
}

TEST(InvoiceSession, RendersTheChosenInvoice) {
  InvoiceSession session;
  session.openLogPair(generatedPath("11-2003.ldl"));
  ASSERT_TRUE(session.FindChosenInvoice("G-2002"));
  std::string text =
      billpost::joinLines(session.renderChosenInvoice("G-2002", billpost::InvoiceLabels()));
  EXPECT_EQ(text, billpost_test::readText(billpost_test::goldenPath("G-2002-defaults.txt")));
}

TEST(InvoiceSession, AFailedOpenKeepsThePairThatIsOpen) {
  InvoiceSession session;
  session.openLogPair(generatedPath("03-1998.ldl"));
  ASSERT_TRUE(session.FindChosenInvoice("A-1001"));
  EXPECT_THROW(session.openLogPair(generatedPath("no-items.ldl")), billpost::EInOutError);
  EXPECT_TRUE(session.logsOpen());
  EXPECT_EQ(session.headerFileName(), generatedPath("03-1998.ldl"));
  EXPECT_TRUE(session.found());
  EXPECT_EQ(session.currentHeader().invoiceNumber, "A-1001");
  EXPECT_EQ(session.LoadInvoiceNumbers().size(), 8u);
}

// The render's own messages say what is wrong; the session adds where, so
// that a user can find the damaged invoice among thousands.
TEST(InvoiceSession, RenderErrorsNameTheLogTheInvoiceAndTheRecord) {
  struct Case {
    const char *log;
    const char *message;
  } cases[] = {
      {"bad-shipping.ldl", "'12,50' is not a valid floating point value"},
      {"huge-amount.ldl", "An amount of the invoice is out of range"},
  };
  for (const Case &c : cases) {
    InvoiceSession session;
    session.openLogPair(generatedPath(c.log));
    ASSERT_TRUE(session.FindChosenInvoice("D-1"));
    try {
      session.renderChosenInvoice("D-1", billpost::InvoiceLabels());
      ADD_FAILURE() << c.log << ": rendered";
    } catch (const billpost::EConvertError &error) {
      EXPECT_EQ(error.Message(),
                generatedPath(c.log) + ", invoice D-1 (record 0): " + std::string(c.message));
    }
  }
}
