// The options dialog's page base.
#include "spelling/win32/dialogs/config-sheet.h"

#include <algorithm>

namespace spelling {

using namespace components;

TConfigSheet::TConfigSheet(TForm *dialog, TPageControl *pageControl)
    : TTabSheet(dialog), dialog_(dialog), pageControl_(pageControl) {
  panel_ = new TPanel(this);
  panel_->SetBevelOuter(bvNone);
  panel_->SetAlign(alClient);
  panel_->SetParent(this);
  // Resizes arrive while the page is built and torn down too: only a live
  // page arranges its controls.
  panel_->OnResize = [this](TObject *) {
    if (alive_)
      ArrangeControls();
  };
  OnResize = [this](TObject *) {
    if (alive_)
      ArrangeControls();
  };
}

TConfigSheet::~TConfigSheet() { alive_ = false; }

void TConfigSheet::MeasureText(TControl *control, const std::string &text, int &widest) {
  widest = std::max(widest, dialog_->Canvas().TextWidth(text));
  control->SetCaption(text);
}

} // namespace spelling
