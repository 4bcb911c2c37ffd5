// Bounded fuzzing of the log readers, the invoice text and the number
// parser: damaged input may only end in the documented errors, never in a
// crash, a sanitizer report, a hang or an unbounded allocation. The damaged
// logs of tests/data (overlong length bytes, cut records, non-finite
// numbers) are replayed as ordinary tests in invoice-log-test.cpp; an input
// found here that breaks a reader joins them.
#include "invoice-mailer/tests/log-files.h"

#include "testing/fuzz-driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using billpost_test::Bytes;
using billpost_test::exerciseLog;
using billpost_test::generatedPath;
using billpost_test::readBytes;

namespace {

testing_support::FuzzLimits limits() {
  testing_support::FuzzLimits l;
  l.seconds = 2.0;
  return l;
}

std::vector<Bytes> seeds(const char *ext) {
  return {readBytes(generatedPath(std::string("11-2003") + ext)),
          readBytes(generatedPath(std::string("03-1998") + ext))};
}

} // namespace

TEST(LogFuzz, SeedsAreThere) {
  for (const Bytes &seed : seeds(".ldl"))
    ASSERT_FALSE(seed.empty());
  for (const Bytes &seed : seeds(".ldi"))
    ASSERT_FALSE(seed.empty());
}

TEST(LogFuzz, HeaderReader) {
  Bytes items = readBytes(generatedPath("11-2003.ldi"));
  unsigned tried = testing_support::fuzz(
      seeds(".ldl"), [&](const Bytes &headers) { exerciseLog(headers, items); }, limits());
  EXPECT_GT(tried, 100u);
}

TEST(LogFuzz, ItemReader) {
  Bytes headers = readBytes(generatedPath("03-1998.ldl"));
  unsigned tried = testing_support::fuzz(
      seeds(".ldi"), [&](const Bytes &items) { exerciseLog(headers, items); }, limits());
  EXPECT_GT(tried, 100u);
}

// Numbers as the log holds them, through their coverage-guided harness: what
// reads formats, and a finite value formatted reads again.
TEST(LogFuzz, NumberParser) {
  std::vector<Bytes> texts;
  for (const char *text : {"4.50", "-1234567.89", "1e308", " .5e-3 ", "0000.0001"})
    texts.emplace_back(text, text + std::string(text).size());
  unsigned tried = testing_support::fuzz(texts, testing_support::runHarness, limits());
  EXPECT_GT(tried, 100u);
}
