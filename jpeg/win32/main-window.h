// The export window: a large preview pane above two option pages on tabs
// ("Image options", "Thumbnail options"), the options dialog, and a
// full-screen mode in which the pane is a maximised window of its own and
// this window floats over it (and can collapse to one button). Every
// control edits a working copy of the settings, which becomes the
// settings only on OK.
#ifndef JPEG_WIN32_MAIN_WINDOW_H
#define JPEG_WIN32_MAIN_WINDOW_H

#include "jpeg/core/export-settings.h"
#include "jpeg/core/tstring.h"
#include "jpeg/win32/image-page.h"
#include "jpeg/win32/options-dialog.h"
#include "jpeg/win32/preview-pane.h"
#include "jpeg/win32/thumbnail-page.h"
#include "platform/base/win32/window-owners.h"

#include <memory>

namespace pixtune {

// Results of one creation of the window.
constexpr INT_PTR MainWindowCancel = 0;
constexpr INT_PTR MainWindowOk = 1;
constexpr INT_PTR MainWindowRecreate = 2;

class TMainWindow final : public TWindow {
public:
  // dib: the host bitmap (dibBytes in its block); host: how the host
  // draws and whether it is a known one. Throws TVMError 1005 when the
  // pages' buffers cannot be had.
  TMainWindow(std::uint8_t *dib, std::size_t dibBytes, const HostDrawing &host, HINSTANCE instance,
              TSettings &settings);
  ~TMainWindow() override;

  // Shows the window until OK (1) or Cancel (0), re-creating it while the
  // full-screen button asks for the other mode; on OK the working copy
  // becomes the settings. A known host's bitmap is put in the host's order
  // for the whole run and always put back. -1 when no window could be made.
  INT_PTR RunModal(HWND parent);

  bool Collapsed() const { return collapsed_; }

private:
  INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  INT_PTR OnInitDialog(WPARAM, LPARAM user) override;
  INT_PTR OnCommand(WORD code, WPARAM wParam, LPARAM lParam) override;
  INT_PTR OnNotify(WPARAM, LPARAM) override;
  INT_PTR OnClose() override;
  INT_PTR OnDestroy() override;
  INT_PTR OnHelp(LPARAM) override;
  INT_PTR OnLButtonDown(WPARAM, LPARAM, int) override;
  INT_PTR OnMouseMove(WPARAM, LPARAM, int) override;
  INT_PTR OnLButtonUp(WPARAM, LPARAM, int) override;
  INT_PTR OnSetCursor(WPARAM, LPARAM, int) override;
  static LRESULT CALLBACK TabsProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR self);
  // The pointer went down at point (client of from): the window follows it.
  void BeginMove(HWND from, LPARAM point);

  TOptionPage &CurrentPage();
  TOptionPage &OtherPage(const TOptionPage &page);
  void ShowPreview();
  void SyncPages(TOptionPage *sender);
  void Layout();
  void ShiftChildren(int dy);
  void PlaceInsidePane();
  void Collapse();
  void Restore();

  TBitmapView bitmap_;
  HostDrawing host_;
  TSettings &settings_;
  PluginOptions options_;
  CompressionParams imageParams_;
  CompressionParams thumbnailParams_;
  TString expansion_;
  TPreviewPane pane_;
  std::unique_ptr<TImagePage> imagePage_;
  std::unique_ptr<TThumbnailPage> thumbnailPage_;
  TOptionsDialog optionsDialog_;
  HCURSOR arrow_, sizeAll_;
  base::IconHandle fullScreenIcon_, collapseIcon_;
  HWND tooltip_ = nullptr;
  int currentTab_ = 0;
  POINT normalPosition_{0, 0}, collapsedPosition_{0, 0};
  bool fullScreen_ = false;
  bool fullScreenRequest_ = false;
  bool collapsed_ = false;
  bool moving_ = false;
  POINT moveFrom_{0, 0};
};

} // namespace pixtune

#endif
