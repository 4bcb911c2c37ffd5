// A picture's published state as the persistence component keeps it inside
// a picture's binary value: the class name of the graphic it holds, as a
// length byte and the name's characters, then the graphic's data: its
// size as a 4-byte little-endian number and that many bytes (for a
// "TBitmap", the bitmap file).
#ifndef CLIPBOARD_CHECKER_CORE_PICTURE_STATE_H
#define CLIPBOARD_CHECKER_CORE_PICTURE_STATE_H

#include <string>

namespace lexitray {

struct PictureState {
  std::string graphicClass;
  std::string data;
};

std::string pictureStateBytes(const PictureState &picture);
// Raises components::Exception for state whose lengths run past its end
// or leave bytes over.
PictureState parsePictureState(const std::string &bytes);

} // namespace lexitray

#endif
