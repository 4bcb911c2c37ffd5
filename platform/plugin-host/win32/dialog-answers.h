// Answers the modal dialogs that a plug-in opens during a test run, as a
// person at the host would: each new dialog of the host's thread takes the
// next answer ("ok", "cancel", or "file=<path>" to type a file name into a
// save dialog and accept it). A thread timer does the work, since a modal
// dialog's own loop dispatches it.
#ifndef PLATFORM_PLUGIN_HOST_DIALOG_ANSWERS_H
#define PLATFORM_PLUGIN_HOST_DIALOG_ANSWERS_H

#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace plugin_host {

class DialogAnswers {
public:
  explicit DialogAnswers(std::vector<std::string> answers);
  ~DialogAnswers();
  DialogAnswers(const DialogAnswers &) = delete;
  DialogAnswers &operator=(const DialogAnswers &) = delete;

  // Captions of the dialogs answered so far, in order.
  const std::vector<std::string> &answered() const { return captions_; }

private:
  static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);
  static BOOL CALLBACK onWindow(HWND window, LPARAM);
  void answer(HWND dialog);

  static DialogAnswers *active_;
  std::vector<std::string> answers_;
  std::size_t next_ = 0;
  std::set<HWND> seen_;
  std::vector<std::string> captions_;
  UINT_PTR timer_ = 0;
};

} // namespace plugin_host

#endif
