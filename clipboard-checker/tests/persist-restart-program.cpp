// A program that keeps its window state as the clipboard checker does, run
// twice by persist-restart.sh: "first" finds no stored state, moves its
// window, checks its menu item and ends (saving on destruction); "second"
// must come up where the first run left off. Exit code 0 when the run saw
// what it expected.
#include "clipboard-checker/win32/persist-platform.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/menus.h"

#include <cstdio>
#include <string>

using namespace components;
using namespace lexitray;

namespace {

class StateForm : public TForm {
public:
  explicit StateForm(TComponent *owner) : TForm(owner) {
    SetName("Form1");
    SetCaption("Lexitray");
    SetBounds(200, 150, 420, 300);
    menu = new TPopupMenu(this);
    singleClick = new TMenuItem(this);
    singleClick->SetName("SingleclickRestore1");
    singleClick->SetCaption("Single-click Restore");
    menu->Items().Add(singleClick);
    persist = createPersist(this);
    persist->SetName("kfPersist1");
    persist->BeginLoading();
    persist->SetStorageType(kfpRegistry);
    persist->SetRegistryKey("Software\\Ovelmark\\lexitray\\1.0");
    persist->SetOptions(kfpOption(kfpAutoSave) | kfpOption(kfpAutoFileName));
    for (const char *line :
         {"(TForm);Height;1;(TForm)_Height;;1;0;1;;", "(TForm);Width;1;(TForm)_Width;;1;0;1;;",
          "(TForm);Top;1;(TForm)_Top;;1;0;1;;", "(TForm);Left;1;(TForm)_Left;;1;0;1;;",
          "SingleclickRestore1;Checked;3;SingleclickRestore1_Checked;;1;0;1;;"})
      persist->Items().Add(line);
    persist->AfterLoad = [this](TObject *) { loaded = true; };
    persist->Loaded();
  }
  TPopupMenu *menu;
  TMenuItem *singleClick;
  TkfPersist *persist;
  bool loaded = false;
};

bool showAndLoad(StateForm &form) {
  form.Show();
  form.persist->PostLoad();
  return Application->WaitUntil([&] { return form.loaded; }, 10000);
}

bool at(StateForm &form, int left, int top, int width, int height) {
  std::printf("bounds %d %d %d %d, checked %d\n", form.Left(), form.Top(), form.Width(),
              form.Height(), form.singleClick->Checked() ? 1 : 0);
  return form.Left() == left && form.Top() == top && form.Width() == width &&
         form.Height() == height;
}

int run(const std::string &phase) {
  auto *form = new StateForm(nullptr);
  if (!showAndLoad(*form))
    return 10;
  if (phase == "first") {
    if (!at(*form, 200, 150, 420, 300) || form->singleClick->Checked())
      return 11; // a first run keeps the designed state
    form->SetBounds(123, 77, 456, 321);
    form->singleClick->SetChecked(true);
    delete form; // saves
    return 0;
  }
  bool restored = at(*form, 123, 77, 456, 321) && form->singleClick->Checked();
  delete form;
  return restored ? 0 : 12;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2)
    return 2;
  try {
    return run(argv[1]);
  } catch (const std::exception &error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 3;
  }
}
