// A picture property's object for the persistence component: the graphic
// a picture holds, written and read as its stored state; an empty picture
// is stored as "EMPTY".
#ifndef CLIPBOARD_CHECKER_WIN32_PICTURE_OBJECT_H
#define CLIPBOARD_CHECKER_WIN32_PICTURE_OBJECT_H

#include "clipboard-checker/core/published-property.h"
#include "platform/components/win32/picture.h"

namespace lexitray {

class PictureObject : public PersistentObject {
public:
  explicit PictureObject(components::TPicture &picture) : picture_(picture) {}
  Kind kind() const override { return Kind::Picture; }
  std::string className() const override { return "TPicture"; }
  bool isEmpty() const override { return picture_.Empty(); }
  void clear() override { picture_.Clear(); }
  std::string saveState() const override;
  // A damaged state, or a graphic of a class other than "TBitmap", raises
  // and leaves the picture as it was.
  void loadState(const std::string &state) override;

private:
  components::TPicture &picture_;
};

} // namespace lexitray

#endif
