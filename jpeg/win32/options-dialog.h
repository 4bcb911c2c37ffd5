// The "Options" dialog: edits a copy of the working plug-in options and
// writes it back only when closed with OK.
#ifndef JPEG_WIN32_OPTIONS_DIALOG_H
#define JPEG_WIN32_OPTIONS_DIALOG_H

#include "jpeg/core/export-settings.h"
#include "jpeg/win32/t-window.h"

namespace pixtune {

class TOptionsDialog final : public TWindow {
public:
  TOptionsDialog(HINSTANCE instance, PluginOptions &working);
  // True when closed with OK (the working options then hold the edits).
  bool Run(HWND parent);

private:
  INT_PTR OnInitDialog(WPARAM, LPARAM) override;
  INT_PTR OnCommand(WORD code, WPARAM, LPARAM) override;
  INT_PTR OnHelp(LPARAM) override;
  void SetCheck(int id, bool checked);
  bool Checked(int id) const;

  PluginOptions &working_;
  PluginOptions copy_;
  bool initialising_ = false;
};

} // namespace pixtune

#endif
