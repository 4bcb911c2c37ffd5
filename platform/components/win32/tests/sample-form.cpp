// A sample form with one of each control, shown for a screenshot: the
// program creates the file named by its second argument once the form has
// painted, and ends when the file named by its first argument appears
// (the shot script creates it after the capture).
#include "platform/components/win32/application.h"
#include "platform/components/win32/common-controls.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/menus.h"
#include "platform/components/win32/std-controls.h"
#include "platform/components/win32/utility.h"

#include <windows.h>

#include <string>

using namespace components;

namespace {

void addMenu(TMainMenu *menu, TForm *form) {
  for (const char *caption : {"&File", "&Search", "&View", "&Help"}) {
    auto *item = new TMenuItem(form);
    item->SetCaption(caption);
    menu->Items().Add(item);
    auto *sub = new TMenuItem(form);
    sub->SetCaption("&Open...");
    item->Add(sub);
  }
}

TForm *buildSample() {
  auto *form = new TForm(Application);
  form->SetCaption("Components sample");
  form->SetBounds(40, 30, 560, 460);
  auto *menu = new TMainMenu(form);
  addMenu(menu, form);
  form->SetMenu(menu);

  auto *bar = new TToolBar(form);
  bar->SetFlat(true);
  bar->SetShowCaptions(true);
  bar->SetButtonWidth(73);
  bar->SetButtonHeight(21);
  bar->SetHeight(28);
  bar->SetParent(form);
  for (const char *caption : {"Check...", "Preferences...", "Help"}) {
    auto *button = new TToolButton(form);
    button->SetCaption(caption);
    button->SetParent(bar);
  }
  auto *status = new TStatusBar(form);
  status->SetParent(form);
  status->AddPanel().SetWidth(180);
  status->AddPanel().SetWidth(120);
  status->Panels(0).SetText("42 words checked");
  status->Panels(1).SetText("Ready");

  auto *pages = new TPageControl(form);
  pages->SetBounds(8, 36, 260, 250);
  pages->SetParent(form);
  auto *general = new TTabSheet(form);
  general->SetCaption("General");
  general->SetPageControl(pages);
  auto *other = new TTabSheet(form);
  other->SetCaption("Options");
  other->SetPageControl(pages);

  auto *label = new TLabel(form);
  label->SetCaption("&Replace With:");
  label->SetBounds(8, 12, 80, 13);
  label->SetParent(general);
  auto *edit = new TEdit(form);
  edit->SetBounds(96, 8, 140, 21);
  edit->SetParent(general);
  edit->SetText("Teh quick brown fox");
  auto *combo = new TComboBox(form);
  combo->SetStyle(csDropDownList);
  combo->SetBounds(96, 36, 140, 21);
  combo->Items().Add("American.dct");
  combo->Items().Add("British.dct");
  combo->SetItemIndex(0);
  combo->SetParent(general);
  auto *check = new TCheckBox(form);
  check->SetCaption("Immediate Checking");
  check->SetBounds(8, 66, 200, 17);
  check->SetParent(general);
  check->SetChecked(true);
  auto *radio = new TRadioGroup(form);
  radio->SetCaption(" Join ");
  radio->SetBounds(8, 90, 120, 120);
  radio->SetParent(general);
  for (const char *item : {"OR", "AND", "NOT", "*ALL*"})
    radio->Items().Add(item);
  radio->SetItemIndex(1);
  auto *list = new TListBox(form);
  list->SetBounds(136, 96, 100, 114);
  list->SetParent(general);
  for (const char *item : {"the", "then", "they", "ten"})
    list->Items().Add(item);
  list->SetItemIndex(0);

  auto *group = new TGroupBox(form);
  group->SetCaption(" Invoice ");
  group->SetBounds(276, 36, 266, 150);
  group->SetParent(form);
  auto *rich = new TRichEdit(form);
  rich->SetPlainText(true);
  rich->SetBounds(8, 18, 250, 90);
  rich->SetParent(group);
  rich->SetText("Invoice 1001\r\nShip to: Ledger & Sons\r\nTotal: 1,234.50");
  auto *progress = new TProgressBar(form);
  progress->SetBounds(8, 118, 250, 16);
  progress->SetParent(group);
  progress->SetPosition(60);

  auto *panel = new TPanel(form);
  panel->SetCaption("A raised panel");
  panel->SetBounds(276, 196, 266, 50);
  panel->SetParent(form);
  auto *memo = new TMemo(form);
  memo->SetBounds(276, 254, 180, 70);
  memo->SetParent(form);
  memo->Lines().Add("A memo with");
  memo->Lines().Add("two lines");
  auto *ok = new TButton(form);
  ok->SetCaption("OK");
  ok->SetDefault(true);
  ok->SetBounds(464, 254, 75, 25);
  ok->SetParent(form);
  auto *cancel = new TBitBtn(form);
  cancel->SetKind(bkCancel);
  cancel->SetBounds(464, 286, 75, 25);
  cancel->SetParent(form);
  return form;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 3)
    return 2;
  std::string doneFile = argv[1], readyFile = argv[2];
  try {
    TForm *form = buildSample();
    form->Show();
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Application->ProcessMessages();
    HANDLE ready =
        CreateFileA(readyFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (ready == INVALID_HANDLE_VALUE)
      return 1;
    CloseHandle(ready);
    // Stays until the shot is taken; checks for the file at each tick.
    TTimer poll(nullptr);
    poll.SetInterval(100);
    bool done = false;
    poll.OnTimer = [&](TObject *) {
      done = GetFileAttributesA(doneFile.c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    bool finished = Application->WaitUntil([&] { return done; }, 60000);
    delete form;
    return finished ? 0 : 1;
  } catch (const std::exception &error) {
    MessageBoxA(nullptr, error.what(), "sample", MB_OK);
    return 1;
  }
}
