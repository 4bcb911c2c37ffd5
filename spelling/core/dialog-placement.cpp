// Placement of the spell-check dialog beside the checked control and off
// the word in question.
#include "spelling/core/dialog-placement.h"

namespace spelling {

namespace {

bool fitsBelow(const PlacementRect &dialog, const PlacementRect &rect,
               ScreenSize screen) {
  return dialog.height() + rect.bottom < screen.height;
}

bool fitsRight(const PlacementRect &dialog, const PlacementRect &rect,
               ScreenSize screen) {
  return dialog.width() + rect.right < screen.width;
}

bool coversCorner(const PlacementRect &dialog, const PlacementRect &word) {
  return dialog.contains(word.left, word.top) ||
         dialog.contains(word.right, word.top) ||
         dialog.contains(word.left, word.bottom) ||
         dialog.contains(word.right, word.bottom);
}

} // namespace

PlacementRect moveDialog(const PlacementRect &dialog, int x, int y,
                         ScreenSize screen) {
  int width = dialog.width(), height = dialog.height();
  if (x < 0)
    x = 0;
  if (x + width > screen.width)
    x = screen.width - width;
  if (y < 0)
    y = 0;
  if (y + height > screen.height)
    y = screen.height - height;
  return PlacementRect{x, y, x + width, y + height};
}

PlacementRect centreDialog(const PlacementRect &dialog, ScreenSize screen) {
  return moveDialog(dialog, screen.width / 2 - dialog.width() / 2,
                    screen.height / 2 - dialog.height() / 2, screen);
}

PlacementRect avoidWord(WordAvoidance avoidance, const PlacementRect &dialog,
                        const PlacementRect &word, ScreenSize screen) {
  if (word.left <= 0 || avoidance == WordAvoidance::Never)
    return dialog;
  bool onlyWhenCovered = avoidance == WordAvoidance::WhenCovered ||
                         avoidance == WordAvoidance::WhenCoveredKeepX;
  if (onlyWhenCovered && !coversCorner(dialog, word))
    return dialog;
  bool keepX = avoidance == WordAvoidance::WhenCoveredKeepX ||
               avoidance == WordAvoidance::AlwaysKeepX;
  int x = keepX ? dialog.left : word.left;
  int y = fitsBelow(dialog, word, screen) ? word.bottom + 2
                                          : word.top - dialog.height() - 2;
  return moveDialog(dialog, x, y, screen);
}

PlacementRect placeBesideControl(const PlacementRect &dialog,
                                 const PlacementRect &control,
                                 const PlacementRect &word, ScreenSize screen) {
  if (control.left < 0)
    return centreDialog(dialog, screen);
  int width = dialog.width(), height = dialog.height();
  if (fitsBelow(dialog, control, screen))
    return moveDialog(dialog, control.left, control.bottom + 2, screen);
  if (fitsRight(dialog, control, screen))
    return moveDialog(dialog, control.right + 2, control.top, screen);
  if (control.top - height > 0)
    return moveDialog(dialog, control.left, control.top - height - 2, screen);
  if (control.left - width > 0)
    return moveDialog(dialog, control.left - width - 2, control.top, screen);
  if (word.left < 0)
    return centreDialog(dialog, screen);
  return avoidWord(WordAvoidance::Always, dialog, word, screen);
}

} // namespace spelling
