// The base of the options dialog's pages: a tab sheet filled by a panel
// without bevel, whose every resize arranges the page's controls, and the
// measuring of texts on the dialog's canvas that the language pass uses to
// size columns.
#ifndef SPELLING_WIN32_DIALOGS_CONFIG_SHEET_H
#define SPELLING_WIN32_DIALOGS_CONFIG_SHEET_H

#include "platform/components/win32/common-controls.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/std-controls.h"

#include <string>

namespace spelling {

class TConfiguration;

class TConfigSheet : public components::TTabSheet {
public:
  // The page is owned by the dialog; it attaches to the page control only
  // when the dialog runs.
  TConfigSheet(components::TForm *dialog, components::TPageControl *pageControl);
  ~TConfigSheet() override;

  virtual void ArrangeControls() = 0;
  virtual void AttachToPageControl() { SetPageControl(pageControl_); }
  // Sets the control's text and raises widest to the text's width on the
  // dialog's canvas.
  virtual void MeasureText(components::TControl *control, const std::string &text, int &widest);

  components::TPanel *Panel() const { return panel_; }

protected:
  // The derived page has made its controls: resizes arrange them from now.
  void controlsMade() { alive_ = true; }

  components::TForm *dialog_;

private:
  components::TPageControl *pageControl_;
  components::TPanel *panel_;
  bool alive_ = false;
};

} // namespace spelling

#endif
