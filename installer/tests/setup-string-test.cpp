// SetupString: buffer sizes at the rule's boundaries, sharing and the
// moment a shared text is copied, the text operations and trimming.
#include "installer/core/setup-string.h"

#include <gtest/gtest.h>

#include <string>

using installer::SetupString;

namespace {

TEST(SetupStringTest, BufferSizeFollowsTheTextLength) {
  struct Case {
    std::size_t characters;
    std::size_t size;
  };
  const Case cases[] = {{0, 256},   {1, 256},   {254, 256}, {255, 512},
                        {510, 512}, {511, 768}, {766, 768}, {767, 1024}};
  for (const Case &c : cases) {
    std::string text(c.characters, 'x');
    EXPECT_EQ(SetupString(text.c_str()).capacity(), c.size) << c.characters << " characters";
    SetupString assigned;
    assigned = text.c_str();
    EXPECT_EQ(assigned.capacity(), c.size) << c.characters << " characters assigned";
    EXPECT_EQ(assigned.length(), c.characters);
  }
}

TEST(SetupStringTest, RoomIsRoundedLikeText) {
  EXPECT_EQ(SetupString::withRoom(0).capacity(), 256u);
  EXPECT_EQ(SetupString::withRoom(255).capacity(), 256u);
  EXPECT_EQ(SetupString::withRoom(256).capacity(), 512u);
  EXPECT_EQ(SetupString::withRoom(1024).capacity(), 1280u);
  SetupString text("abc");
  text.reserve(384);
  EXPECT_EQ(text.capacity(), 512u);
  EXPECT_TRUE(text.empty()) << "room empties the string";
}

TEST(SetupStringTest, AppendGrowsAcrossTheBoundary) {
  SetupString text(std::string(250, 'a').c_str());
  const char *before = text.c_str();
  text += "bbbb"; // 254 characters: still 256 bytes, same buffer
  EXPECT_EQ(text.capacity(), 256u);
  EXPECT_EQ(text.c_str(), before);
  text += "c"; // 255: 512 bytes, a new buffer
  EXPECT_EQ(text.capacity(), 512u);
  EXPECT_EQ(std::string(text.c_str()), std::string(250, 'a') + "bbbbc");
}

TEST(SetupStringTest, AssignmentShrinksToTheRule) {
  SetupString text = SetupString::withRoom(2000);
  text = "short";
  EXPECT_EQ(text.capacity(), 256u);
  EXPECT_EQ(text, "short");
}

TEST(SetupStringTest, CopiesShareUntilOneChanges) {
  SetupString a("shared text");
  SetupString b(a);
  SetupString c;
  c = a;
  EXPECT_EQ(a.shareCount(), 2);
  EXPECT_EQ(b.c_str(), a.c_str());
  EXPECT_NE(c.c_str(), a.c_str()) << "assignment into an own buffer copies the text";

  b += "!";
  EXPECT_EQ(a, "shared text");
  EXPECT_EQ(b, "shared text!");
  EXPECT_EQ(a.shareCount(), 1);

  SetupString d(a);
  d.at(0) = 'S';
  EXPECT_EQ(a, "shared text") << "a writable character gives the writer its own copy";
  EXPECT_EQ(d, "Shared text");

  SetupString e(a);
  e.data()[1] = 'H';
  EXPECT_EQ(a, "shared text");
  EXPECT_EQ(e, "sHared text");

  SetupString f(a);
  f.trimLeft();
  f.reserve(10);
  EXPECT_EQ(a, "shared text");
}

TEST(SetupStringTest, LastOwnerFreesTheText) {
  // Under the address sanitizer a double free or leak fails this test.
  SetupString *kept = nullptr;
  {
    SetupString a("abc");
    SetupString b(a);
    SetupString c(b);
    c = "other";
    kept = new SetupString(b);
  }
  EXPECT_EQ(*kept, "abc");
  EXPECT_EQ(kept->shareCount(), 1);
  delete kept;
}

TEST(SetupStringTest, Concatenation) {
  SetupString a("C:\\Program Files");
  EXPECT_EQ(a + "\\" + SetupString("x"), "C:\\Program Files\\x");
  EXPECT_EQ("[" + a, "[C:\\Program Files");
  EXPECT_EQ(SetupString() + SetupString(), "");
  SetupString self("ab");
  self += self;
  EXPECT_EQ(self, "abab");
}

TEST(SetupStringTest, FindAndParts) {
  SetupString text("Pixtune plug-in");
  EXPECT_EQ(text.find("plug"), 8);
  EXPECT_EQ(text.find("P"), 0);
  EXPECT_EQ(text.find("missing"), -1);
  EXPECT_EQ(SetupString().find("a"), -1);

  struct Case {
    long first, last;
    const char *expected;
  };
  const Case cases[] = {
      {0, 6, "Pixtune"}, {8, 14, "plug-in"}, {3, 3, "t"}, {5, 4, ""}, {0, 14, "Pixtune plug-in"}};
  for (const Case &c : cases)
    EXPECT_EQ(text.mid(c.first, c.last), c.expected) << c.first << ".." << c.last;
  EXPECT_EQ(text.left(3), "Pix");
  EXPECT_EQ(text.right(2), "in");
  EXPECT_EQ(text.left(0), "");
  EXPECT_EQ(text.right(15), "Pixtune plug-in");
}

TEST(SetupStringTest, TrimmingKeepsTheMiddle) {
  struct Case {
    const char *text, *left, *right;
  };
  const Case cases[] = {
      {" \t\n\v\f\rC:\\a b\r\n", "C:\\a b\r\n", " \t\n\v\f\rC:\\a b"},
      {"  ", "", ""},
      {"", "", ""},
      {"x", "x", "x"},
      {"\xA0word\xA0", "\xA0word\xA0", "\xA0word\xA0"}, // 0xA0 is no white space here
      {"a \t b", "a \t b", "a \t b"},
  };
  for (const Case &c : cases) {
    SetupString left(c.text), right(c.text);
    EXPECT_EQ(left.trimLeft(), c.left) << '"' << c.text << '"';
    EXPECT_EQ(right.trimRight(), c.right) << '"' << c.text << '"';
  }
  SetupString both("   C:\\Target Folder   ");
  EXPECT_EQ(both.trimRight().trimLeft(), "C:\\Target Folder");
}

TEST(SetupStringTest, WritingThroughTheBuffer) {
  SetupString text = SetupString::withRoom(600);
  std::string filled(text.capacity(), 'z'); // no terminator written
  std::copy(filled.begin(), filled.end(), text.data());
  text.syncLength();
  EXPECT_EQ(text.length(), text.capacity() - 1) << "the last byte always ends the text";
}

} // namespace
