// Billpost's main block: the application's title and help file, the main
// window, and the message loop until the window closes.
#include "invoice-mailer/win32/main-form.h"
#include "platform/components/win32/application.h"

#include <windows.h>

using namespace components;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    Application->SetTitle("Billpost for Ledgerly 95");
    Application->SetHelpFile("Ledgerly.hlp");
    billpost::TForm1 *form = Application->CreateForm<billpost::TForm1>();
    Application->Run();
    delete form;
  } catch (...) {
    Application->HandleException(nullptr);
  }
  return 0;
}
