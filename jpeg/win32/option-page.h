// The base of the export window's two option pages ("Image options" and
// "Thumbnail options"): the level sliders and edits with their link, the
// progressive box, sharpen, the readout bar, the progress bar and the
// preview cycle. Every change restarts a one-shot timer; when it fires
// the page compresses its image and posts "preview ready" to the main
// window.
#ifndef JPEG_WIN32_OPTION_PAGE_H
#define JPEG_WIN32_OPTION_PAGE_H

#include "jpeg/core/export-settings.h"
#include "jpeg/core/host-bitmap.h"
#include "jpeg/core/page-rules.h"
#include "jpeg/win32/host-display.h"
#include "jpeg/win32/page-progress.h"
#include "jpeg/win32/preview-pane.h"
#include "jpeg/win32/readout-bar.h"
#include "jpeg/win32/t-timer.h"
#include "jpeg/win32/t-window.h"
#include "platform/base/win32/window-owners.h"

namespace pixtune {

// Private messages of the export window.
constexpr UINT MessageCompressNow = WM_USER + 1;   // to a page
constexpr UINT MessagePreviewReady = WM_USER + 2;  // posted to the main window
constexpr UINT MessageLevelsChanged = WM_USER + 3; // to the main window, wParam the page
constexpr UINT_PTR PreviewTimerId = 100;

// What both pages are built from.
struct PageRecord {
  WORD templateId;
  HINSTANCE instance;
  CompressionParams &params;
  PluginOptions &options;
  TBitmapView bitmap;
  TPreviewPane &pane;
  HostDrawing host;
};

class TOptionPage : public TWindow, public PaneSource {
public:
  explicit TOptionPage(const PageRecord &record);
  ~TOptionPage() override;

  // Creates the page on the main window, adds its tab (caption from the
  // string table) and places it on the tab's display area.
  void Attach(HWND mainWindow, HWND tabs, UINT captionId);
  // The other page changed the levels or the options dialog closed with OK.
  virtual void SyncFromOther(const TOptionPage &other);
  // Asks before the page is left where it must; false keeps the page.
  virtual bool MayLeave() = 0;
  // The page was shown again: controls that follow shared options refresh.
  virtual void Refresh() {}
  // The options changed: the readouts of the last preview are made again
  // (the download time follows the modem speed).
  void RefreshReadouts();

  // Header and pixels of the last preview's reconstruction, or null.
  virtual const std::uint8_t *Reconstruction() const = 0;
  // What the preview pane shows while this page is current.
  const std::uint8_t *PaneBitmap() const override { return Reconstruction(); }
  void SaveScroll(int x, int y) { scrollX_ = x, scrollY_ = y; }
  void SavedScroll(int &x, int &y) const { x = scrollX_, y = scrollY_; }
  const CompressionParams &Params() const { return params_; }

protected:
  INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  INT_PTR OnInitDialog(WPARAM, LPARAM) override;
  INT_PTR OnCommand(WORD code, WPARAM wParam, LPARAM lParam) override;
  INT_PTR OnHScroll(WORD code, WORD position, LPARAM control) override;
  INT_PTR OnTimer(WPARAM id, LPARAM) override;

  // The page's own part of the start, run with the initialising flag set.
  virtual void InitPage() = 0;
  // Compresses into the reconstruction and sets the readouts.
  virtual void Compress() = 0;

  void RunPreview();
  // The lock icon and its edge from byte 43.
  void ApplyLock();
  void SetReadouts(int width, int height, int bitsPerPixel, std::uint32_t compressedBytes);
  // A change of the levels: tell the main window, restart the timer.
  void LevelsChanged();
  // The page's question before it is left, when its thumbnail mode asks
  // for one; Yes changes the mode and sets box to boxChecked.
  bool AskToLeave(OptionPageKind kind, int box, bool boxChecked);
  bool Checked(int id) const;
  void SetChecked(int id, bool checked);
  void SetNumber(int id, long value);
  bool Linked() const { return options_.independentChrominance == 0; }

  CompressionParams &params_;
  PluginOptions &options_;
  TBitmapView bitmap_;
  TPreviewPane &pane_;
  HostDrawing host_;
  TTimer timer_;
  TPageProgress progress_;
  TReadoutBar readouts_;
  bool initialising_ = false;

private:
  void LevelEdited(int editId);
  HWND mainWindow_ = nullptr;
  base::IconHandle lockIcons_[2];
  HCURSOR wait_;
  HWND tooltip_ = nullptr;
  int scrollX_ = 0, scrollY_ = 0;
  // What the last preview's readouts were made from (none yet: 0 bytes).
  int readWidth_ = 0, readHeight_ = 0, readBits_ = 0;
  std::uint32_t readCompressed_ = 0;
  bool rewriting_ = false; // an edit is being corrected in place
  bool echoing_ = false;   // the linked edit follows the other
};

} // namespace pixtune

#endif
