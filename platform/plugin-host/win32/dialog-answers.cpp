// Answering a plug-in's dialogs.
#include "platform/plugin-host/win32/dialog-answers.h"

namespace plugin_host {

DialogAnswers *DialogAnswers::active_;

namespace {

// The file name field of the platform's save dialog: the combo box of the
// explorer-style dialog, or the plain edit field of the old one.
constexpr int fileNameCombo = 0x47C;
constexpr int fileNameEdit = 0x480;

} // namespace

DialogAnswers::DialogAnswers(std::vector<std::string> answers) : answers_(std::move(answers)) {
  active_ = this;
  if (!answers_.empty())
    timer_ = SetTimer(nullptr, 0, 100, onTimer);
}

DialogAnswers::~DialogAnswers() {
  if (timer_)
    KillTimer(nullptr, timer_);
  active_ = nullptr;
}

void CALLBACK DialogAnswers::onTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (active_)
    EnumThreadWindows(GetCurrentThreadId(), onWindow, 0);
}

BOOL CALLBACK DialogAnswers::onWindow(HWND window, LPARAM) {
  char className[32] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::string(className) == "#32770" && IsWindowVisible(window) &&
      !active_->seen_.count(window))
    active_->answer(window);
  return TRUE;
}

void DialogAnswers::answer(HWND dialog) {
  if (next_ >= answers_.size())
    return;
  seen_.insert(dialog);
  char caption[256] = {};
  GetWindowTextA(dialog, caption, sizeof caption);
  captions_.push_back(caption);
  const std::string &answer = answers_[next_++];
  if (answer.compare(0, 5, "file=") == 0) {
    HWND field = GetDlgItem(dialog, fileNameCombo);
    if (!field)
      field = GetDlgItem(dialog, fileNameEdit);
    SetWindowTextA(field, answer.substr(5).c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return;
  }
  PostMessageA(dialog, WM_COMMAND, answer == "ok" ? IDOK : IDCANCEL, 0);
}

} // namespace plugin_host
