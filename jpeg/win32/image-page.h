// "Image options": the main image's levels, the thumbnail switch, and the
// press-and-hold source view. Its encoder, memory stream and
// reconstruction are made once; each preview only encodes again.
#ifndef JPEG_WIN32_IMAGE_PAGE_H
#define JPEG_WIN32_IMAGE_PAGE_H

#include "jpeg/core/page-previews.h"
#include "jpeg/win32/option-page.h"

namespace pixtune {

class TImagePage final : public TOptionPage {
public:
  // dibBytes: the bytes of the host bitmap's block.
  TImagePage(const PageRecord &record, std::size_t dibBytes);

  bool MayLeave() override;
  void Refresh() override;
  const std::uint8_t *Reconstruction() const override;
  const std::uint8_t *PaneBitmap() const override;

private:
  void InitPage() override;
  void Compress() override;
  INT_PTR OnCommand(WORD code, WPARAM wParam, LPARAM lParam) override;
  INT_PTR OnLButtonDown(WPARAM, LPARAM, int) override;
  INT_PTR OnLButtonUp(WPARAM, LPARAM, int) override;
  void SetSourceEdge(bool pressed);

  ImagePreview preview_;
  bool sourcePressed_ = false;
  HWND tooltip_ = nullptr;
};

} // namespace pixtune

#endif
