// The entry checks of the parameters pages: identifiers, one number as the
// stream read takes it, and the ranges. (The messages the pages show: the
// page models' tests.)
#include "passive-lib/uikit/core/entry-check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using passive::checkEntry;
using passive::EntryRule;
using passive::EntryVerdict;

struct EntryCase {
  EntryRule rule;
  const char *text;
  EntryVerdict verdict;
};

const EntryVerdict Ok = EntryVerdict::Accepted;
const EntryVerdict BadId = EntryVerdict::IdentifierFormat;
const EntryVerdict BadNumber = EntryVerdict::NumberFormat;

TEST(EntryCheck, ExamplesOfTheParametersPages) {
  const EntryCase cases[] = {
      // Identifiers of the resistor page and of the source page.
      {EntryRule::Identifier, "R?", Ok},
      {EntryRule::Identifier, "Q12??", Ok},
      {EntryRule::Identifier, "R12", Ok},
      {EntryRule::Identifier, "1R", BadId},
      {EntryRule::Identifier, "R-1", BadId},
      {EntryRule::Identifier, "R?1", BadId},
      {EntryRule::Identifier, "V?", Ok},
      {EntryRule::Identifier, "V12", Ok},
      {EntryRule::Identifier, "Vout??", Ok},
      {EntryRule::Identifier, "V1?2", BadId},
      {EntryRule::Identifier, "1V", BadId},
      {EntryRule::Identifier, "", BadId},
      {EntryRule::Identifier, "?", BadId},
      {EntryRule::Identifier, "R 1", BadId},
      {EntryRule::Identifier, "R\xE9", BadId}, // letters of the ASCII alphabet only
      // A positive value: one number, then greater than 0.
      {EntryRule::Positive, "1k", BadNumber},
      {EntryRule::Positive, "0", EntryVerdict::NotPositive},
      {EntryRule::Positive, "-5", EntryVerdict::NotPositive},
      {EntryRule::Positive, "4.7E3", Ok},
      {EntryRule::Positive, "1e-400", EntryVerdict::NotPositive}, // reads as 0
      {EntryRule::Positive, "1e-320", Ok},                        // a subnormal is positive
      // A non-negative value accepts 0.
      // One number as the stream read of a double takes it.
      {EntryRule::Number, "4.7k", BadNumber},
      {EntryRule::Number, "  12", Ok},
      {EntryRule::Number, "\t-3.5e-2", Ok},
      {EntryRule::Number, "+.5", Ok},
      {EntryRule::Number, "5.", Ok},
      {EntryRule::Number, "12 ", BadNumber},
      {EntryRule::Number, "", BadNumber},
      {EntryRule::Number, ".", BadNumber},
      {EntryRule::Number, "-", BadNumber},
      {EntryRule::Number, "1e", BadNumber},
      {EntryRule::Number, "1e+", BadNumber},
      {EntryRule::Number, "1e400", BadNumber}, // overflow fails the read
      {EntryRule::Number, "inf", BadNumber},
      {EntryRule::Number, "nan", BadNumber},
      {EntryRule::Number, "0x10", BadNumber},
      {EntryRule::Number, "1,5", BadNumber},
      {EntryRule::Number, "--1", BadNumber},
      // Unchecked items take any text.
      {EntryRule::Unchecked, "anything at all", Ok},
      {EntryRule::Unchecked, "", Ok},
  };
  for (const EntryCase &c : cases)
    EXPECT_EQ(checkEntry(c.rule, c.text), c.verdict) << "\"" << c.text << "\"";
}

TEST(EntryCheck, ReadOneNumberGivesTheValue) {
  double value = -1;
  ASSERT_TRUE(passive::readOneNumber(" 4.7E3", value));
  EXPECT_EQ(value, 4700.0);
  ASSERT_TRUE(passive::readOneNumber("0.1", value));
  EXPECT_EQ(value, 0.1);
  ASSERT_TRUE(passive::readOneNumber("1e-400", value));
  EXPECT_EQ(value, 0.0);
  value = 7;
  EXPECT_FALSE(passive::readOneNumber("1e400", value));
  EXPECT_EQ(value, 7.0) << "a failed read leaves the value alone";
}

TEST(EntryCheck, RulesOfEachPageByRange) {
  using passive::passiveEntryRule;
  using passive::sourceEntryRule;
  const std::optional<std::string> none;
  // Resistor, inductor and capacitor: ID and POS, everything else as typed.
  EXPECT_EQ(passiveEntryRule(std::string("ID")), EntryRule::Identifier);
  EXPECT_EQ(passiveEntryRule(std::string("POS")), EntryRule::Positive);
  EXPECT_EQ(passiveEntryRule(std::string("NONNEG")), EntryRule::Unchecked);
  EXPECT_EQ(passiveEntryRule(none), EntryRule::Unchecked);
  // Source: ID, then one number for every item that is not text.
  EXPECT_EQ(sourceEntryRule(std::string("ID"), true), EntryRule::Identifier);
  EXPECT_EQ(sourceEntryRule(none, false), EntryRule::Number);
  EXPECT_EQ(sourceEntryRule(std::string("POS"), false), EntryRule::Number);
  EXPECT_EQ(sourceEntryRule(none, true), EntryRule::Unchecked);
}

} // namespace
