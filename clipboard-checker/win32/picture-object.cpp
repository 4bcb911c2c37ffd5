// Pictures kept by the persistence component.
#include "clipboard-checker/win32/picture-object.h"

#include "clipboard-checker/core/picture-state.h"
#include "platform/components/core/exception.h"

namespace lexitray {

namespace {
const char bitmapClass[] = "TBitmap";
}

std::string PictureObject::saveState() const {
  if (picture_.Empty())
    return std::string();
  return pictureStateBytes({bitmapClass, picture_.Graphic()->Data()});
}

void PictureObject::loadState(const std::string &bytes) {
  PictureState state = parsePictureState(bytes);
  if (state.graphicClass != bitmapClass)
    throw components::Exception("The stored picture holds a graphic of an unknown kind (" +
                                state.graphicClass + ")");
  picture_.LoadFromData(state.data);
}

} // namespace lexitray
