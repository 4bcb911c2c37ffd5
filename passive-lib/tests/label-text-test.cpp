// The texts behind a component's labels and binding: the ORDER walk, the
// quoting of a label as a host string formula, and the cut of the site's
// moniker name into document, page and shape.
#include "passive-lib/core/moniker-name.h"
#include "passive-lib/core/order-list.h"

#include <gtest/gtest.h>

namespace {

using passive::OrderStep;

std::string rendered(const std::string &order) {
  std::string text;
  for (const OrderStep &step : passive::walkOrder(order))
    text += step.kind == OrderStep::LineFeed ? std::string("|") : std::to_string(step.index);
  return text;
}

TEST(OrderWalk, NumbersShowItemsAndSpacesAddLineFeeds) {
  const struct {
    const char *order, *walked;
  } cases[] = {
      {"0 1", "0|1"}, {"2", "2"},       {"", ""},        {"0 1 ", "0|1|"},  {"0  2", "0||2"},
      {" 1", "|1"},   {"12 3", "12|3"}, {"0 x 1", "0|"}, {"a0", ""},        {"1,2", "1"},
      {"0\t1", "0"},  {"-1", ""},       {"1e3", "1"},    {"0 1\n2", "0|1"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(rendered(c.order), c.walked) << '"' << c.order << '"';
}

TEST(OrderWalk, AnOverlongNumberReadsAsOutOfRange) {
  const auto steps = passive::walkOrder("99999999999999999999999 0");
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[0].index, passive::OrderIndexTooLarge);
  EXPECT_EQ(steps[2].index, 0);
  EXPECT_EQ(passive::orderIndices("0 1 2"), (std::vector<long>{0, 1, 2}));
}

TEST(LabelFormula, QuotesInsideAreDoubledAndReadBack) {
  const struct {
    const char *text, *formula;
  } cases[] = {
      {"R1\n1.0 kohm", "\"R1\n1.0 kohm\""},
      {"R\"1", "\"R\"\"1\""},
      {"\"", "\"\"\"\""},
      {"", "\"\""},
      {"\")&CALLTHIS(\"x", "\"\"\")&CALLTHIS(\"\"x\""},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(passive::stringFormula(c.text), c.formula);
    std::string back;
    ASSERT_TRUE(passive::stringOfFormula(c.formula, back)) << c.formula;
    EXPECT_EQ(back, c.text);
  }
  std::string ignored;
  for (const char *bad : {"\"a\"b\"", "a", "\"", "\"a\"\"", "=1"})
    EXPECT_FALSE(passive::stringOfFormula(bad, ignored)) << bad;
}

TEST(MonikerCut, FindsDocumentPageAndShape) {
  const struct {
    const char *name, *document, *page, *shape;
  } cases[] = {
      {"C:\\Drawings\\Passive.vsd\\Drawing\\Page-1/~Resistor.3\\Sheet.2", "Passive.vsd", "Page-1",
       "Resistor.3"},
      {"C:\\A\\B\\Doc.vsd\\X\\Page 2?~Shape", "Doc.vsd", "Page 2", "Shape"},
      {"Doc\\Seg\\P/~S\\more\\text", "Doc", "P", "S"},
  };
  for (const auto &c : cases) {
    passive::MonikerNames names;
    ASSERT_TRUE(passive::cutMonikerName(c.name, names)) << c.name;
    EXPECT_EQ(names.document, c.document) << c.name;
    EXPECT_EQ(names.page, c.page) << c.name;
    EXPECT_EQ(names.shape, c.shape) << c.name;
  }
  passive::MonikerNames names;
  for (const char *bad : {"", "~", "no tilde\\here", "Page/~Shape", "a\\b/~", "~Shape\\x"})
    EXPECT_FALSE(passive::cutMonikerName(bad, names)) << bad;
}

} // namespace
