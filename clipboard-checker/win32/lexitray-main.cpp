// Lexitray's main block: the string tables and the single-instance guard
// first, then either the program (main form and about box on the message
// loop) or, when an instance already runs, that instance to the front.
#include "clipboard-checker/win32/about-box.h"
#include "clipboard-checker/win32/first-instance.h"
#include "clipboard-checker/win32/main-form.h"
#include "clipboard-checker/win32/utility-strings.h"
#include "platform/components/win32/application.h"

#include <windows.h>

using namespace components;
using namespace lexitray;

namespace {

void runProgram() {
  Application->SetHelpFile("Lexitray.hlp");
  Application->SetTitle("Lexitray");
  TForm1 *form = Application->CreateForm<TForm1>();
  TaboutBox *about = Application->CreateForm<TaboutBox>();
  form->SetAboutBox(about);
  Application->Run();
  // The forms go while everything they use still stands: the main form
  // saves its state and leaves the viewer chain, the spelling component
  // writes its configuration.
  delete about;
  delete form;
}

int ProgramMain() {
  try {
    openUtilityStrings();
    FirstInstanceInit();
    if (IsFirstInstance())
      runProgram();
    else
      ActivateFirstInstance();
  } catch (...) {
    Application->HandleException(nullptr);
  }
  FirstInstanceDone();
  return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return ProgramMain(); }
