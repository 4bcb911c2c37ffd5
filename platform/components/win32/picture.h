// A picture: holds one graphic (a bitmap) or none, loads it from a file
// and reports every change, so that what shows it can repaint.
#ifndef COMPONENTS_WIN32_PICTURE_H
#define COMPONENTS_WIN32_PICTURE_H

#include "platform/components/core/event.h"
#include "platform/components/win32/bitmap.h"

#include <memory>
#include <string>

namespace components {

class TPicture : public TObject {
public:
  // The graphic held, or null for an empty picture.
  const TBitmap *Graphic() const { return graphic_.get(); }
  bool Empty() const { return !graphic_; }
  // Reads a bitmap file (".bmp"). A file that is missing, of another kind
  // or damaged raises EInvalidGraphic with a message naming the file and
  // the fault; the picture then keeps what it held.
  void LoadFromFile(const std::string &fileName);
  // A bitmap file's contents (as Graphic()->Data() gives them back).
  void LoadFromData(const std::string &data);
  void Assign(const TPicture &other);
  void Clear();

  TNotifyEvent OnChange;

private:
  std::unique_ptr<TBitmap> graphic_;
};

} // namespace components

#endif
