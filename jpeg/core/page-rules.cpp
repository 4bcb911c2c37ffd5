// Corrections of typed values and the page questions.
#include "jpeg/core/page-rules.h"

#include "jpeg/core/export-settings.h"

#include <cstdio>
#include <cstring>

namespace pixtune {

EditValue LevelFromTyped(unsigned long typed) {
  unsigned long level = typed > 255 ? 255 : typed;
  return {static_cast<long long>(level), level != typed};
}

EditValue SharpenFromTyped(long typed) {
  if (typed < 0)
    return {0, true};
  if (typed > 100)
    return {100, true};
  return {typed, false};
}

EditValue ThumbnailSideFromTyped(long typed, int imageSide) {
  if (typed < 10)
    return {10, false};
  if (typed > imageSide)
    return {imageSide, true};
  return {typed, false};
}

EditValue PreviewDelayFromTyped(long typed) {
  if (typed <= 0)
    return {1, true};
  if (typed > 100000)
    return {100000, true};
  return {typed, false};
}

int ModemSpeedItem(std::int32_t modemSpeed, const char *const *items, int count) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%ld", static_cast<long>(modemSpeed));
  std::size_t length = std::strlen(digits);
  for (int i = 0; i < count; ++i)
    if (std::strncmp(items[i], digits, length) == 0)
      return i;
  return 0;
}

int LeaveQuestion(OptionPageKind page, std::int32_t thumbnailMode) {
  if (page == OptionPageKind::Image)
    return thumbnailMode == ThumbnailModeBoth ? 0 : QuestionNoThumbnail;
  return thumbnailMode != ThumbnailModeThumbnail ? 0 : QuestionThumbnailOnly;
}

bool AnswerLeaveQuestion(bool yes, std::int32_t &thumbnailMode) {
  if (yes)
    thumbnailMode = ThumbnailModeBoth;
  return yes;
}

int InitialTab(int lastTab, std::int32_t thumbnailMode) {
  return lastTab != 0 || thumbnailMode == ThumbnailModeThumbnail ? 1 : 0;
}

} // namespace pixtune
