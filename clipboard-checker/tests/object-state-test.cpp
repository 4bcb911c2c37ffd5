// The stored state of fonts and pictures inside their binary values: what
// is written reads back the same, and damaged state is refused whole.
#include "clipboard-checker/core/font-state.h"
#include "clipboard-checker/core/picture-state.h"
#include "platform/components/core/exception.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace lexitray;

TEST(FontState, IsWrittenAsNamedLinesAndReadBack) {
  FontState font;
  font.colour = 0xFF000008; // clWindowText
  font.height = -19;
  font.name = "Courier New";
  font.style = 1 | 2;
  std::string text = fontStateText(font);
  EXPECT_EQ(text,
            "Color=clWindowText\r\nHeight=-19\r\nName=Courier New\r\nStyle=[fsBold,fsItalic]\r\n");
  FontState back = parseFontState(text);
  EXPECT_EQ(back.colour, font.colour);
  EXPECT_EQ(back.height, -19);
  EXPECT_EQ(back.name, "Courier New");
  EXPECT_EQ(back.style, 3u);

  font.colour = 0x123456; // no identifier: decimal
  font.style = 0;
  back = parseFontState(fontStateText(font));
  EXPECT_EQ(back.colour, 0x123456);
  EXPECT_EQ(back.style, 0u);
}

TEST(FontState, DamagedStateIsRefused) {
  const std::string good = "Color=clRed\r\nHeight=-11\r\nName=Arial\r\nStyle=[]\r\n";
  EXPECT_NO_THROW(parseFontState(good));
  const std::vector<std::string> damaged = {
      "",
      "Color=clRed\r\nHeight=-11\r\nName=Arial\r\n",                // no style
      "Color=clRed\r\nHeight=-11\r\nName=Arial\r\nStyle=[]",        // last line not ended
      "Color=clNoSuch\r\nHeight=-11\r\nName=Arial\r\nStyle=[]\r\n", // unknown colour
      "Color=clRed\r\nHeight=big\r\nName=Arial\r\nStyle=[]\r\n",    // height not a number
      "Color=clRed\r\nHeight=99999\r\nName=Arial\r\nStyle=[]\r\n",  // height out of range
      "Color=clRed\r\nHeight=-11\r\nName=\r\nStyle=[]\r\n",         // no face
      "Color=clRed\r\nHeight=-11\r\nName=" + std::string(32, 'x') + "\r\nStyle=[]\r\n",
      "Color=clRed\r\nHeight=-11\r\nName=Arial\r\nStyle=[fsWide]\r\n",     // unknown style
      "Color=clRed\r\nHeight=-11\r\nName=Arial\r\nStyle=fsBold\r\n",       // not a set
      "Color=clRed\r\nHeight=-11\r\nName=Arial\r\nStyle=[]\r\nSize=8\r\n", // unknown line
      "Color=clRed\r\nHeight -11\r\nName=Arial\r\nStyle=[]\r\n",           // no "="
  };
  for (const std::string &text : damaged)
    EXPECT_THROW(parseFontState(text), components::Exception) << text;
}

TEST(PictureState, HoldsTheGraphicsClassAndDataAndRefusesWrongLengths) {
  std::string data("BM\0\x01", 4);
  std::string bytes = pictureStateBytes({"TBitmap", data});
  EXPECT_EQ(bytes, std::string("\x07TBitmap\x04\0\0\0BM\0\x01", 16));
  PictureState back = parsePictureState(bytes);
  EXPECT_EQ(back.graphicClass, "TBitmap");
  EXPECT_EQ(back.data, data);
  for (std::size_t size = 0; size < bytes.size(); ++size)
    EXPECT_THROW(parsePictureState(bytes.substr(0, size)), components::Exception) << size;
  EXPECT_THROW(parsePictureState(bytes + "x"), components::Exception);
  EXPECT_THROW(parsePictureState(std::string("\0TBitmap", 8)), components::Exception);
}
