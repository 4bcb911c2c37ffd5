// The flat button's platform-free rules: cell count of a glyph strip, the
// grey copy, the disabled mask, the image a state draws, and the places of
// glyph and caption for the nine alignments.
#include "invoice-mailer/core/button-layout.h"
#include "invoice-mailer/core/glyph-strip.h"

#include <gtest/gtest.h>

namespace billpost {
namespace {

TEST(GlyphStrip, CellCountFollowsTheStripShape) {
  struct Case {
    int width, height, current, expected;
  } cases[] = {
      {64, 16, 1, 4}, // four square cells
      {80, 16, 3, 1}, // five cells are more than the button knows: one
      {50, 16, 3, 3}, // not a whole multiple: unchanged
      {50, 0, 2, 2},  // a strip without rows: unchanged
      {16, 16, 4, 1}, {32, 16, 1, 2}, {48, 16, 1, 3}, {0, 16, 2, 2},
  };
  for (const Case &c : cases)
    EXPECT_EQ(GlyphCountFor(c.width, c.height, c.current), c.expected)
        << c.width << "x" << c.height;
}

TEST(GlyphStrip, GreyWeighsRedElevenGreenFiftyNineBlueThirty) {
  struct Case {
    std::uint32_t rgb;
    int grey;
  } cases[] = {
      {0xFF0000, 28},                                 // 11 * 255 / 100 = 28.05
      {0x00FF00, 150},                                // 59 * 255 / 100 = 150.45
      {0x0000FF, 76},                                 // 30 * 255 / 100 = 76.5
      {0xFFFFFF, 255}, {0x000000, 0}, {0x0A141E, 21}, // (110 + 1180 + 900) / 100 = 21.9
      {0x808000, 89},                                 // (1408 + 7552) / 100 = 89.6
  };
  for (const Case &c : cases)
    EXPECT_EQ(GreyLevel(c.rgb), c.grey) << std::hex << c.rgb;
  std::vector<std::uint32_t> grey = GreyCell({0xFF0000, 0x0000FF});
  EXPECT_EQ(grey, (std::vector<std::uint32_t>{0x1C1C1C, 0x4C4C4C}));
}

TEST(GlyphStrip, DisabledMaskDarkensAllButWhiteAndTheCornerColour) {
  // Corner colour olive is transparent; white stays light; red, black and
  // a near-white are dark.
  std::vector<std::uint32_t> cell = {0x808000, 0xFFFFFF, 0xFF0000, 0x808000,
                                     0x000000, 0xFEFFFF, 0x808000, 0xFFFFFF};
  std::vector<bool> expected = {false, false, true, false, true, true, false, false};
  EXPECT_EQ(DisabledMask(cell), expected);
  EXPECT_TRUE(DisabledMask({}).empty());
}

TEST(GlyphStrip, ImageChoiceByCountAndState) {
  struct Case {
    int numGlyphs;
    bool enabled, pressed, grey;
    int image;
  } cases[] = {
      {1, true, false, false, 0},  {1, true, true, false, 0},  {1, false, false, false, 2},
      {1, true, false, true, 1},   {1, false, false, true, 2}, {2, true, false, false, 0},
      {2, false, false, false, 1}, {2, true, false, true, 2},  {3, true, true, false, 2},
      {3, false, true, false, 1},  {4, true, false, false, 0}, {4, true, true, true, 4},
  };
  for (const Case &c : cases)
    EXPECT_EQ(GlyphImageFor({c.numGlyphs, c.enabled, c.pressed, c.grey}), c.image)
        << c.numGlyphs << c.enabled << c.pressed << c.grey;
}

TEST(ButtonLayout, GlyphAndCaptionForTheNineAlignments) {
  // A 60 x 50 button, 16 x 16 glyph, spacing 2, caption 20 x 10.
  ButtonGeometry g{60, 50, 16, 16, 2};
  struct Case {
    TTextAlign align;
    LayoutPoint glyph, caption;
  } cases[] = {
      // Caption on top: glyph at the bottom (50-16-2 = 32), caption ends 2 above it.
      {ttaTopLeft, {22, 32}, {2, 20}},
      {ttaTop, {22, 32}, {20, 20}},
      {ttaTopRight, {22, 32}, {38, 20}},
      // Caption at the side: glyph on the other side, both centred vertically.
      {ttaRight, {2, 17}, {38, 20}},
      {ttaLeft, {42, 17}, {2, 20}},
      // Caption below: glyph at the top (2), caption 2 below it (20).
      {ttaBottomRight, {22, 2}, {38, 20}},
      {ttaBottom, {22, 2}, {20, 20}},
      {ttaBottomLeft, {22, 2}, {2, 20}},
      {ttaCenter, {22, 17}, {20, 20}},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(GlyphOrigin(c.align, g), c.glyph) << c.align;
    EXPECT_EQ(CaptionOrigin(c.align, g, 20, 10), c.caption) << c.align;
  }
}

} // namespace
} // namespace billpost
