// The netlist's text: title line, line ends, model order and the wrap.
#include "circuit-sim/core/netlist-text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string repeat(const std::string &word, int times) {
  std::string text;
  for (int i = 0; i < times; ++i)
    text += (i ? " " : "") + word;
  return text;
}

TEST(NetlistText, LayoutWithSortedDistinctModels) {
  const std::string text = qorsim::netlistText("Divider", {"R1 1 2 1000", "V1 1 0 DC 10"},
                                               {".MODEL ZD D", ".MODEL AD D", ".MODEL ZD D"});
  EXPECT_EQ(text, "*** \"Divider\" netlist created by Netweave\n"
                  "R1 1 2 1000\nV1 1 0 DC 10\n\n.MODEL AD D\n.MODEL ZD D\n\n.OP\n.END\n");
  EXPECT_EQ(qorsim::netlistText("T", {"R1 1 0 1"}, {}),
            "*** \"T\" netlist created by Netweave\nR1 1 0 1\n\n.OP\n.END\n");
}

TEST(NetlistText, HundredCharacterModelBreaksAtTheLastSpaceBefore73) {
  // Words of 9 characters: spaces at 9, 19, ..., 69, 79, 89.
  const std::string model = repeat("ABCDEFGHI", 10);
  ASSERT_EQ(model.size(), 99u);
  const std::string wrapped = qorsim::wrapModelText(model + "J");
  EXPECT_EQ(wrapped, model.substr(0, 69) + "\n+ " + model.substr(70) + "J\n");
}

TEST(NetlistText, WrapAtExactly72AndContinuations) {
  const std::string first(72, 'a');
  EXPECT_EQ(qorsim::wrapModelText(first), first + "\n");
  const std::string wrapped = qorsim::wrapModelText(first + " " + std::string(70, 'b') + " c");
  EXPECT_EQ(wrapped, first + "\n+ " + std::string(70, 'b') + "\n+ c\n");
}

TEST(NetlistText, TextWithoutUsableSpaceStillEnds) {
  const std::string unbroken(200, 'x');
  EXPECT_EQ(qorsim::wrapModelText(unbroken), unbroken + "\n");
  // A space only at the start, or only the continuation's own "+ ".
  EXPECT_EQ(qorsim::wrapModelText(" " + unbroken), "\n+ " + unbroken + "\n");
  const std::string tail = "head " + unbroken;
  EXPECT_EQ(qorsim::wrapModelText(tail), "head\n+ " + unbroken + "\n");
  EXPECT_EQ(qorsim::wrapModelText(""), "");
}

TEST(NetlistText, TitleFromTheDocumentName) {
  EXPECT_EQ(qorsim::titleFromDocumentName("drawing1"), "Drawing1");
  EXPECT_EQ(qorsim::titleFromDocumentName("my circuit.vsd"), "My circuit");
  EXPECT_EQ(qorsim::titleFromDocumentName("a.b.c"), "A");
  EXPECT_EQ(qorsim::titleFromDocumentName(""), "");
}

} // namespace
