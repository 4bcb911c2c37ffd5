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

// Lines of at most 72 characters, broken at the last space that keeps
// them so; the rest continues after "+ ".
TEST(NetlistText, ModelWrap) {
  // Words of 9 characters: spaces at 9, 19, ..., 69, 79, 89.
  const std::string model = repeat("ABCDEFGHI", 10), a72(72, 'a'), b70(70, 'b'), x200(200, 'x');
  const struct {
    const char *what;
    std::string text, wrapped;
  } cases[] = {
      {"a hundred characters", model + "J",
       model.substr(0, 69) + "\n+ " + model.substr(70) + "J\n"},
      {"exactly 72", a72, a72 + "\n"},
      {"continuations", a72 + " " + b70 + " c", a72 + "\n+ " + b70 + "\n+ c\n"},
      {"no space", x200, x200 + "\n"},
      {"a space only at the start", " " + x200, "\n+ " + x200 + "\n"},
      {"a space only before the continuation", "head " + x200, "head\n+ " + x200 + "\n"},
      {"nothing", "", ""},
  };
  for (const auto &c : cases)
    EXPECT_EQ(qorsim::wrapModelText(c.text), c.wrapped) << c.what;
}

TEST(NetlistText, TitleFromTheDocumentName) {
  EXPECT_EQ(qorsim::titleFromDocumentName("drawing1"), "Drawing1");
  EXPECT_EQ(qorsim::titleFromDocumentName("my circuit.vsd"), "My circuit");
  EXPECT_EQ(qorsim::titleFromDocumentName("a.b.c"), "A");
  EXPECT_EQ(qorsim::titleFromDocumentName(""), "");
}

} // namespace
