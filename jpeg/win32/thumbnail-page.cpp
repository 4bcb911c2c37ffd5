// Thumbnail page.
#include "jpeg/win32/thumbnail-page.h"

#include "jpeg/core/host-pixel-order.h"
#include "jpeg/core/thumbnail-geometry.h"
#include "jpeg/win32/resource.h"

#include <commctrl.h>

namespace pixtune {

TThumbnailPage::TThumbnailPage(const PageRecord &record, const CompressionParams &imageParams,
                               TString &expansion)
    : TOptionPage(record), imageParams_(imageParams), expansion_(expansion), preview_(&progress_),
      cropView_(record.bitmap, record.host, record.options, IDC_CROP_VIEW, record.instance) {}

const std::uint8_t *TThumbnailPage::Reconstruction() const {
  return preview_.Reconstruction().Data();
}

void TThumbnailPage::InitPage() {
  HWND page = Handle();
  RECT frame{};
  GetWindowRect(GetDlgItem(page, IDC_CROP_FRAME), &frame);
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT *>(&frame), 2);
  cropView_.SetFit(ProportionFlag());
  cropView_.Attach(page, frame);
  readouts_.SetTexts(readouts_.Texts());
  SetDlgItemTextA(page, IDC_EXPANSION, expansion_.c_str());
  SetChecked(IDC_SMART_CUT, options_.smartCut != 0);
  SetChecked(IDC_DISCARD_ASPECT, options_.smartCut == 0);
  SetChecked(IDC_FIT_THUMBNAIL, options_.fitThumbnail != 0);
  SetChecked(IDC_THUMBNAIL_ONLY, options_.thumbnailMode == ThumbnailModeThumbnail);
  EnableWindow(GetDlgItem(page, IDC_DISCARD_ASPECT), options_.fitThumbnail != 0);
  EnableWindow(GetDlgItem(page, IDC_SMART_CUT), options_.fitThumbnail != 0);
  SetNumber(IDC_THUMB_WIDTH, options_.thumbnailWidth);
  SendDlgItemMessageA(page, IDC_THUMB_WIDTH_SPIN, UDM_SETRANGE32, 10, bitmap_.Width());
  SendDlgItemMessageA(page, IDC_THUMB_WIDTH_SPIN, UDM_SETBUDDY,
                      reinterpret_cast<WPARAM>(GetDlgItem(page, IDC_THUMB_WIDTH)), 0);
  SetNumber(IDC_THUMB_HEIGHT, options_.thumbnailHeight);
  SendDlgItemMessageA(page, IDC_THUMB_HEIGHT_SPIN, UDM_SETRANGE32, 10, bitmap_.Height());
  SendDlgItemMessageA(page, IDC_THUMB_HEIGHT_SPIN, UDM_SETBUDDY,
                      reinterpret_cast<WPARAM>(GetDlgItem(page, IDC_THUMB_HEIGHT)), 0);
}

void TThumbnailPage::Refresh() {
  if (Handle())
    SetChecked(IDC_THUMBNAIL_ONLY, options_.thumbnailMode == ThumbnailModeThumbnail);
}

void TThumbnailPage::Compress() {
  std::uint32_t compressed;
  {
    HostPixelOrder encoderOrder(bitmap_, host_.knownHost);
    compressed = preview_.Compress(bitmap_, options_, params_);
  }
  if (host_.knownHost) {
    TBitmapView reconstruction(preview_.Reconstruction());
    FlipDibRows(reconstruction);
    SwapRedBlue(reconstruction);
  }
  TBitmapView thumbnail(preview_.Thumbnail());
  SetReadouts(thumbnail.Width(), thumbnail.Height(), thumbnail.BitsPerPixel(), compressed);
  if (cropView_.Handle())
    cropView_.Update(ProportionFlag());
}

// With the sliders locked, the image's levels are written into this
// page's edits, which store them; this page's changes never go back.
void TThumbnailPage::SyncFromOther(const TOptionPage &other) {
  TOptionPage::SyncFromOther(other);
  if (!options_.lockSliders || !Handle())
    return;
  if (params_.chrominance != imageParams_.chrominance)
    SetNumber(IDC_CHROMINANCE_EDIT, imageParams_.chrominance);
  if (params_.luminance != imageParams_.luminance)
    SetNumber(IDC_LUMINANCE_EDIT, imageParams_.luminance);
}

bool TThumbnailPage::MayLeave() {
  return AskToLeave(OptionPageKind::Thumbnail, IDC_THUMBNAIL_ONLY, false);
}

void TThumbnailPage::SmartCropNow() {
  CropPercentages crop{options_.cropLeft, options_.cropTop, options_.cropRight,
                       options_.cropBottom};
  PixelRect rect;
  SmartCropThumbnail(bitmap_.Width(), bitmap_.Height(), options_.thumbnailHeight,
                     options_.thumbnailWidth, crop, rect);
  options_.cropLeft = crop.left;
  options_.cropTop = crop.top;
  options_.cropRight = crop.right;
  options_.cropBottom = crop.bottom;
}

void TThumbnailPage::CropChanged(bool smartFit) {
  if (initialising_)
    return;
  bool proportion = ProportionFlag();
  cropView_.SetFit(proportion);
  if (smartFit)
    cropView_.SmartFit(proportion);
  cropView_.Update(proportion);
  timer_.Start();
}

INT_PTR TThumbnailPage::OnCommand(WORD code, WPARAM wParam, LPARAM lParam) {
  int id = LOWORD(wParam);
  switch (id) {
  case IDC_THUMB_WIDTH:
  case IDC_THUMB_HEIGHT: {
    if (code != EN_CHANGE || initialising_)
      return 1;
    bool width = id == IDC_THUMB_WIDTH;
    BOOL read = FALSE;
    EditValue value =
        ThumbnailSideFromTyped(static_cast<long>(GetDlgItemInt(Handle(), id, &read, TRUE)),
                               width ? bitmap_.Width() : bitmap_.Height());
    (width ? options_.thumbnailWidth : options_.thumbnailHeight) =
        static_cast<std::uint16_t>(value.value);
    if (value.rewrite)
      SetNumber(id, static_cast<long>(value.value));
    preview_.MarkDirty();
    CropChanged(true);
    return 1;
  }
  case IDC_EXPANSION:
    if (code == EN_CHANGE) {
      expansion_.Reserve(256);
      GetDlgItemTextA(Handle(), IDC_EXPANSION, expansion_.Buffer(), expansion_.Capacity());
    }
    return 1;
  case IDC_THUMBNAIL_ONLY:
    if (code == BN_CLICKED)
      options_.thumbnailMode =
          Checked(IDC_THUMBNAIL_ONLY) ? ThumbnailModeThumbnail : ThumbnailModeBoth;
    return 1;
  case IDC_FIT_THUMBNAIL:
    if (code == BN_CLICKED) {
      bool fit = Checked(IDC_FIT_THUMBNAIL);
      if (fit && options_.smartCut && !options_.fitThumbnail)
        SmartCropNow();
      options_.fitThumbnail = fit ? 1 : 0;
      EnableWindow(GetDlgItem(Handle(), IDC_DISCARD_ASPECT), fit);
      EnableWindow(GetDlgItem(Handle(), IDC_SMART_CUT), fit);
      preview_.MarkDirty();
      CropChanged(false);
    }
    return 1;
  case IDC_DISCARD_ASPECT:
  case IDC_SMART_CUT:
    if (code == BN_CLICKED) {
      bool smart = Checked(IDC_SMART_CUT);
      if (smart && !options_.smartCut && options_.fitThumbnail)
        SmartCropNow();
      options_.smartCut = smart ? 1 : 0;
      preview_.MarkDirty();
      CropChanged(false);
    }
    return 1;
  case IDC_CROP_VIEW:
    if (code != 0)
      preview_.MarkDirty();
    timer_.Start();
    return 1;
  default:
    return TOptionPage::OnCommand(code, wParam, lParam);
  }
}

} // namespace pixtune
