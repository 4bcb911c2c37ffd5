// Where the spell-check dialog goes while a check runs: beside the checked
// control when it first appears, and off the word in question as the check
// moves on. Pure arithmetic on screen rectangles, so the window side only
// measures and moves.
//
// A dialog fits below a rectangle when its height plus the rectangle's
// bottom is less than the screen height (and right of one when its width
// plus the rectangle's right is less than the screen width). Every move
// keeps the dialog's size and clamps it to the screen, left and top first.
#ifndef SPELLING_DIALOG_PLACEMENT_H
#define SPELLING_DIALOG_PLACEMENT_H

namespace spelling {

struct PlacementRect {
  int left = 0, top = 0, right = 0, bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  // Left and top edges inside, right and bottom edges outside.
  bool contains(int x, int y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
  friend bool operator==(const PlacementRect &a, const PlacementRect &b) {
    return a.left == b.left && a.top == b.top && a.right == b.right &&
           a.bottom == b.bottom;
  }
};

struct ScreenSize {
  int width = 0, height = 0;
};

// How the dialog keeps off each new word once it is placed.
enum class WordAvoidance {
  Never,            // stays where it is
  WhenCovered,      // moves only when a corner of the word is inside it
  WhenCoveredKeepX, // the same, moving only up or down
  Always,           // follows every word
  AlwaysKeepX,      // follows every word, moving only up or down
};

// The dialog at (x, y) with its size kept, clamped to the screen.
PlacementRect moveDialog(const PlacementRect &dialog, int x, int y,
                         ScreenSize screen);

// Centred on the screen: half the screen minus half the dialog, each half
// rounded toward zero.
PlacementRect centreDialog(const PlacementRect &dialog, ScreenSize screen);

// The dialog after a new word: below the word (2 pixels apart) when it
// fits, else above it. A word whose left edge is 0 or less has no place on
// the screen and leaves the dialog where it is.
PlacementRect avoidWord(WordAvoidance avoidance, const PlacementRect &dialog,
                        const PlacementRect &word, ScreenSize screen);

// The dialog for the first word of a check: below the checked control,
// else right of it, above it or left of it, whichever fits first; when
// none does, under the word as avoidWord(Always) places it, or centred
// when the word has no place. A control whose left edge is negative is not
// on the screen: the dialog is centred then.
PlacementRect placeBesideControl(const PlacementRect &dialog,
                                 const PlacementRect &control,
                                 const PlacementRect &word, ScreenSize screen);

} // namespace spelling

#endif
