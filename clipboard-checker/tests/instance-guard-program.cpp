// A program started as the clipboard checker starts (built as Lexitray.exe,
// so that its default title is "Lexitray"), run twice by
// instance-guard.sh. The first instance minimises itself, reports that it
// is ready by creating the file named by its first argument, and ends with
// code 0 once a later instance has restored it (code 9 when none did
// within 30 s). A later instance activates the first and ends with code 7.
#include "clipboard-checker/win32/first-instance.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/utility.h"

#include <windows.h>

#include <cstdio>
#include <string>

using namespace components;
using namespace lexitray;

namespace {

int runFirst(const std::string &readyFile) {
  Application->SetHelpFile("Lexitray.hlp");
  Application->SetTitle("Lexitray");
  TForm *form = Application->CreateForm<TForm>();
  form->SetCaption("Lexitray");
  form->SetBounds(326, 116, 366, 242);
  ShowWindow(Application->Handle(), SW_SHOWNORMAL);
  form->Show();
  Application->Minimize();
  bool ready = false;
  int result = 9;
  DWORD start = GetTickCount();
  TTimer timer(nullptr);
  timer.SetInterval(100);
  timer.OnTimer = [&](TObject *) {
    bool minimised = IsIconic(Application->Handle()) != FALSE;
    if (!ready && minimised) {
      ready = true;
      if (std::FILE *file = std::fopen(readyFile.c_str(), "w"))
        std::fclose(file);
    } else if (ready && !minimised) {
      result = 0;
      Application->Terminate();
    } else if (GetTickCount() - start > 30000) {
      Application->Terminate();
    }
  };
  // Run would show the application window normally again: the loop is
  // run here so that the window stays minimised.
  while (!Application->Terminated())
    Application->HandleMessage();
  return result;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2)
    return 2;
  FirstInstanceInit();
  int result = 7;
  try {
    if (IsFirstInstance())
      result = runFirst(argv[1]);
    else
      ActivateFirstInstance();
  } catch (const std::exception &error) {
    std::fprintf(stderr, "%s\n", error.what());
    result = 3;
  }
  FirstInstanceDone();
  return result;
}
