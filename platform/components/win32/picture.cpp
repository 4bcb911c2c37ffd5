// Pictures loaded from bitmap files.
#include "platform/components/win32/picture.h"

#include "platform/components/core/file-system.h"
#include "platform/components/core/string-list.h"
#include "platform/components/win32/graphic-error.h"

namespace components {

void TPicture::LoadFromFile(const std::string &fileName) {
  if (!SameText(ExtractFileExt(fileName), ".bmp"))
    throw EInvalidGraphic("The picture file \"" + fileName +
                          "\" cannot be read: only bitmap files (.bmp) can be loaded.");
  std::string data;
  if (!defaultFileSystem().readFile(fileName, data))
    throw EInvalidGraphic("The picture file \"" + fileName + "\" cannot be opened.");
  BitmapFileInfo info;
  std::string problem;
  if (!ReadBitmapFile(data, info, problem))
    throw EInvalidGraphic("The picture file \"" + fileName + "\" cannot be read: " + problem + ".");
  LoadFromData(data);
}

void TPicture::LoadFromData(const std::string &data) {
  auto graphic = std::make_unique<TBitmap>();
  graphic->LoadFromData(data);
  graphic_ = std::move(graphic);
  OnChange(this);
}

void TPicture::Assign(const TPicture &other) {
  if (&other == this)
    return;
  graphic_ = other.graphic_ ? std::make_unique<TBitmap>(*other.graphic_) : nullptr;
  OnChange(this);
}

void TPicture::Clear() {
  graphic_.reset();
  OnChange(this);
}

} // namespace components
