// The about box.
#include "clipboard-checker/win32/about-box.h"

namespace lexitray {

using namespace components;

namespace {

TLabel *addLabel(TaboutBox *box, const char *caption, int top, int height) {
  auto *label = new TLabel(box);
  label->SetCaption(caption);
  label->Font().SetHeight(height);
  label->SetBounds(24, top, 205, height < 0 ? -height + 8 : height);
  label->SetParent(box);
  return label;
}

} // namespace

TaboutBox::TaboutBox(TComponent *owner) : TForm(owner) {
  SetName("aboutBox");
  SetCaption("About Lexitray");
  SetBorderStyle(bsNone);
  SetBorderIcons(0);
  SetPosition(poScreenCenter);
  SetBounds(0, 0, 253, 218);
  ProgramName = addLabel(this, "Lexitray", 72, -19);
  Version = addLabel(this, "version 1.0", 112, -11);
  // The labels let the mouse through, so a click on them is one on the box.
  SetMessageHandler(WM_LBUTTONUP, [this](TMessage &message) {
    FormClick(this);
    message.Result = 0;
  });
  OnClick = [this](TObject *sender) { FormClick(sender); };
}

void TaboutBox::FormClick(TObject *) { Close(); }

} // namespace lexitray
