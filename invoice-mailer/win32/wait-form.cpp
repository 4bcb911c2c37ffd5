#include "invoice-mailer/win32/wait-form.h"

namespace billpost {

using namespace components;

TWaitForm::TWaitForm(TComponent *owner) : TForm(owner) {
  SetName("WaitForm");
  SetCaption("Sending...");
  SetBorderStyle(bsDialog);
  SetBorderIcons(0);
  SetPosition(poScreenCenter);
  SetBounds(0, 0, 195, 125);
  Label1 = new TLabel(this);
  Label1->SetParent(this);
  Label1->SetBounds(8, 8, 170, 16);
  Label1->SetCaption("Message to: ");
  ProgressBar1 = new TProgressBar(this);
  ProgressBar1->SetParent(this);
  ProgressBar1->SetBounds(8, 30, 170, 16);
  ProgressBar1->SetMin(0);
  ProgressBar1->SetMax(100);
  StatusBar1 = new TStatusBar(this);
  StatusBar1->SetParent(this);
  StatusBar1->SetAlign(alBottom);
  StatusBar1->SetSimplePanel(true);
}

// The dialog is shown while the program works without reading its message
// queue (a rendering), so it lays out and draws itself and its controls at
// once: the size message that places the status bar at the bottom, and a
// child window's painting, otherwise wait for the queue to be read.
void TWaitForm::redraw() {
  Realign();
  RedrawWindow(Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TWaitForm::DlgInfo(const std::string &caption, const std::string &text) {
  SetCaption(caption);
  Label1->SetCaption(text);
  redraw();
}

void TWaitForm::SetProgress(int percent) {
  ProgressBar1->SetPosition(percent);
  redraw();
}

void TWaitForm::SetStatus(const std::string &text) {
  StatusBar1->SetSimpleText(text);
  redraw();
}

} // namespace billpost
