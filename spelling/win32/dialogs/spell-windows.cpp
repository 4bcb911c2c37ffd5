// Platform hooks of the spelling component over the component library.
#include "spelling/win32/dialogs/spell-windows.h"

#include "spelling/win32/dialogs/config-dialog.h"

#include "platform/components/win32/application.h"
#include "platform/components/win32/dialogs.h"

#include <windows.h>

#include <random>

namespace spelling {

using namespace components;

namespace {

TMessageResult showMessage(const std::string &text, TMessageKind kind, TMessageButtons buttons) {
  TMsgDlgType type = kind == TMessageKind::Error          ? mtError
                     : kind == TMessageKind::Confirmation ? mtConfirmation
                                                          : mtInformation;
  TMsgDlgButtons shown = buttons == TMessageButtons::Abort   ? mbAbort
                         : buttons == TMessageButtons::YesNo ? mbYes | mbNo
                                                             : mbOK;
  switch (MessageDlg(text, type, shown, 0)) {
  case mrYes:
    return TMessageResult::Yes;
  case mrAbort:
    return TMessageResult::Abort;
  case mrNo:
    return TMessageResult::No;
  default:
    // Closed without a button: the answer that changes nothing.
    return buttons == TMessageButtons::YesNo   ? TMessageResult::No
           : buttons == TMessageButtons::Abort ? TMessageResult::Abort
                                               : TMessageResult::OK;
  }
}

std::string programDirectory() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string file(path, length < sizeof path ? length : 0);
  std::size_t slash = file.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

} // namespace

void InstallSpellWindows(TSpellPlatform &platform) {
  platform.ProcessMessages = [] { Application->ProcessMessages(); };
  platform.HandleMessage = [] { Application->HandleMessage(); };
  platform.ApplicationEnding = [] { return Application->Terminated(); };
  platform.Random = [] {
    static std::minstd_rand generator(GetTickCount());
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
  };
  platform.ShowMessage = showMessage;
  platform.GetHelpFile = [] { return Application->HelpFile(); };
  platform.SetHelpFile = [](const std::string &file) { Application->SetHelpFile(file); };
  platform.ShowHelp = [](int context) { Application->HelpContext(context); };
  platform.ProgramDirectory = programDirectory;
  platform.Screen = [] {
    return TDialogRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  };
  platform.HourGlass = [](bool on) { SetCursor(LoadCursorA(nullptr, on ? IDC_WAIT : IDC_ARROW)); };
  InstallSpellDialogs(platform);
}

} // namespace spelling
