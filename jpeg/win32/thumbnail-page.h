// "Thumbnail options": the thumbnail's levels, size, fit and smart cut,
// name expansion and the crop view. The smart cut's resampled image is
// kept until the crop or the size changes, so a change of levels alone
// re-encodes without resampling.
#ifndef JPEG_WIN32_THUMBNAIL_PAGE_H
#define JPEG_WIN32_THUMBNAIL_PAGE_H

#include "jpeg/core/page-previews.h"
#include "jpeg/core/tstring.h"
#include "jpeg/win32/option-page.h"
#include "jpeg/win32/preview-view.h"

namespace pixtune {

class TThumbnailPage final : public TOptionPage {
public:
  // imageParams: the image page's levels, which this page follows while
  // the sliders are locked; expansion: the working name expansion.
  TThumbnailPage(const PageRecord &record, const CompressionParams &imageParams,
                 TString &expansion);

  void SyncFromOther(const TOptionPage &other) override;
  bool MayLeave() override;
  void Refresh() override;
  const std::uint8_t *Reconstruction() const override;
  const ThumbnailPreview &Preview() const { return preview_; }

private:
  void InitPage() override;
  void Compress() override;
  INT_PTR OnCommand(WORD code, WPARAM wParam, LPARAM lParam) override;
  bool ProportionFlag() const { return options_.fitThumbnail && options_.smartCut; }
  // After a change of the size or the fit options: the crop view follows
  // and the preview waits again.
  void CropChanged(bool smartFit);
  void SmartCropNow();

  const CompressionParams &imageParams_;
  TString &expansion_;
  ThumbnailPreview preview_;
  TPreviewView cropView_;
};

} // namespace pixtune

#endif
