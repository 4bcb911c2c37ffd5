// Typed-value corrections, the page questions and the option lists.
#include "jpeg/core/export-settings.h"
#include "jpeg/core/page-rules.h"

#include <gtest/gtest.h>

using namespace pixtune;

TEST(PageRules, TypedValuesAreCorrected) {
  struct Case {
    const char *what;
    EditValue got;
    long long value;
    bool rewrite;
  } cases[] = {
      {"level 300", LevelFromTyped(300), 255, true},
      {"level 255", LevelFromTyped(255), 255, false},
      {"level 256", LevelFromTyped(256), 255, true},
      {"level 4294967295", LevelFromTyped(4294967295ul), 255, true},
      {"level 0", LevelFromTyped(0), 0, false},
      {"sharpen -3", SharpenFromTyped(-3), 0, true},
      {"sharpen 101", SharpenFromTyped(101), 100, true},
      {"sharpen 50", SharpenFromTyped(50), 50, false},
      // Width 5 is stored as 10 while the edit still shows 5.
      {"thumbnail 5", ThumbnailSideFromTyped(5, 400), 10, false},
      {"thumbnail 401", ThumbnailSideFromTyped(401, 400), 400, true},
      {"thumbnail 400", ThumbnailSideFromTyped(400, 400), 400, false},
      {"delay 0", PreviewDelayFromTyped(0), 1, true},
      {"delay -7", PreviewDelayFromTyped(-7), 1, true},
      {"delay 200000", PreviewDelayFromTyped(200000), 100000, true},
      {"delay 100000", PreviewDelayFromTyped(100000), 100000, false},
      {"delay 1500", PreviewDelayFromTyped(1500), 1500, false},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(c.got.value, c.value) << c.what;
    EXPECT_EQ(c.got.rewrite, c.rewrite) << c.what;
  }
}

TEST(PageRules, ModemSpeedSelectsTheFirstMatchingItem) {
  const char *items[] = {"33600", "28800", "14400", "9600", "2400"};
  EXPECT_EQ(ModemSpeedItem(14400, items, 5), 2);
  EXPECT_EQ(ModemSpeedItem(2400, items, 5), 4);
  // 19200 is in no item: the first is shown, the speed itself is kept.
  EXPECT_EQ(ModemSpeedItem(19200, items, 5), 0);
  // A prefix of an item matches it.
  EXPECT_EQ(ModemSpeedItem(96, items, 5), 3);
}

TEST(PageRules, LeavingAPageAsksOnlyWhenTheModeWouldLoseIt) {
  struct Case {
    OptionPageKind page;
    std::int32_t mode;
    int question;
  } cases[] = {
      {OptionPageKind::Image, ThumbnailModeBoth, 0},
      {OptionPageKind::Image, ThumbnailModeImage, QuestionNoThumbnail},
      {OptionPageKind::Image, ThumbnailModeThumbnail, QuestionNoThumbnail},
      {OptionPageKind::Thumbnail, ThumbnailModeBoth, 0},
      {OptionPageKind::Thumbnail, ThumbnailModeImage, 0},
      {OptionPageKind::Thumbnail, ThumbnailModeThumbnail, QuestionThumbnailOnly},
  };
  for (const Case &c : cases)
    EXPECT_EQ(LeaveQuestion(c.page, c.mode), c.question) << c.mode;
  std::int32_t mode = ThumbnailModeImage;
  EXPECT_FALSE(AnswerLeaveQuestion(false, mode));
  EXPECT_EQ(mode, ThumbnailModeImage);
  EXPECT_TRUE(AnswerLeaveQuestion(true, mode));
  EXPECT_EQ(mode, ThumbnailModeBoth);
}

TEST(PageRules, InitialTab) {
  EXPECT_EQ(InitialTab(0, ThumbnailModeBoth), 0);
  EXPECT_EQ(InitialTab(1, ThumbnailModeBoth), 1);
  EXPECT_EQ(InitialTab(0, ThumbnailModeThumbnail), 1);
}
