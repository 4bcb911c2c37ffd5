// TWaitForm: the progress dialog shown while an invoice is rendered or
// mailed: a caption and a line of text, a gauge from 0 to 100 and a
// one-part status bar.
#ifndef INVOICE_MAILER_WIN32_WAIT_FORM_H
#define INVOICE_MAILER_WIN32_WAIT_FORM_H

#include "platform/components/win32/common-controls.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/std-controls.h"

#include <string>

namespace billpost {

class TWaitForm : public components::TForm {
public:
  explicit TWaitForm(components::TComponent *owner);

  void DlgInfo(const std::string &caption, const std::string &text);
  void SetProgress(int percent);
  void SetStatus(const std::string &text);

  int Progress() const { return ProgressBar1->Position(); }
  std::string Status() const { return StatusBar1->SimpleText(); }

private:
  void redraw();

  components::TLabel *Label1;
  components::TProgressBar *ProgressBar1;
  components::TStatusBar *StatusBar1;
};

} // namespace billpost

#endif
