// The rules of the export window's controls that need no window: how typed
// values are corrected, whether a page may be left, and which items the
// option lists select. The dialogs apply them and rewrite their controls
// where a rule says so.
#ifndef JPEG_CORE_PAGE_RULES_H
#define JPEG_CORE_PAGE_RULES_H

#include <cstdint>

namespace pixtune {

// A value typed into an edit, corrected, and whether the edit must show the
// corrected value instead of what was typed.
struct EditValue {
  long long value;
  bool rewrite;
};

// Luminance and chrominance: a number typed beyond the sliders' range
// 0..255 becomes 255, as the slider's far end.
EditValue LevelFromTyped(unsigned long typed);
// Sharpen 0..100.
EditValue SharpenFromTyped(long typed);
// Thumbnail width or height: below 10 becomes 10 without rewriting the edit
// (the user may still be typing), above the image's side becomes that side
// and is shown.
EditValue ThumbnailSideFromTyped(long typed, int imageSide);
// Preview delay of the options dialog: 0 or below becomes 1, above 100000
// becomes 100000.
EditValue PreviewDelayFromTyped(long typed);

// The modem-speed list: the first item whose text begins with the speed in
// decimal, the first item when none does (the speed itself is kept).
int ModemSpeedItem(std::int32_t modemSpeed, const char *const *items, int count);

enum class OptionPageKind { Image, Thumbnail };

// The question a page asks before it is left: 0 when it may be left at
// once, else the string id of the question (16115 on the image page when
// no thumbnail is made, 16132 on the thumbnail page when only the
// thumbnail is made).
int LeaveQuestion(OptionPageKind page, std::int32_t thumbnailMode);
constexpr int QuestionNoThumbnail = 16115;
constexpr int QuestionThumbnailOnly = 16132;
// The answer: Yes makes both images (mode 3) and lets the page go; No keeps
// the page and the mode.
bool AnswerLeaveQuestion(bool yes, std::int32_t &thumbnailMode);

// The tab shown first: the thumbnail page when it was last shown or only
// the thumbnail is made.
int InitialTab(int lastTab, std::int32_t thumbnailMode);

} // namespace pixtune

#endif
