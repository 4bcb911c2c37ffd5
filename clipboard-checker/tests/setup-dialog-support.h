// Driving the persistence component's setup dialog through its windows, as
// the setup dialog tests do: finding it, choosing an entry as a click would,
// reading its labels and the state of "&Apply".
#ifndef CLIPBOARD_CHECKER_TESTS_SETUP_DIALOG_SUPPORT_H
#define CLIPBOARD_CHECKER_TESTS_SETUP_DIALOG_SUPPORT_H

#include "testing/dialog-driver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace setup_dialog {

// The caption of the dialog over the tests' form, "Kept Form".
inline const char DialogCaption[] = "Kept Form Setup Dialog";

inline HWND dialog() { return dialog_test::findTopLevel(DialogCaption); }

// The list of entries, the dialog's first list box.
inline HWND itemList() {
  HWND d = dialog();
  return d ? dialog_test::findChildren(d, "ListBox").at(0) : nullptr;
}

// Tells the control's parent of a change, as the control itself would.
inline void notify(HWND control, WORD code) {
  SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

// Chooses an entry as a click on it would: the selection, then the list's
// notification to the dialog.
inline void choose(const std::string &valueName) {
  HWND list = itemList();
  LRESULT index = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(valueName.c_str()));
  ASSERT_GE(index, 0) << valueName;
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  notify(list, LBN_SELCHANGE);
}

// The labels' texts in order: the description, then the kind's word.
inline std::vector<std::string> labels() {
  std::vector<std::string> texts;
  for (HWND window : dialog_test::findChildren(dialog(), "Static"))
    if (GetParent(window) == dialog())
      texts.push_back(dialog_test::windowText(window));
  return texts;
}

inline bool applyEnabled() {
  return IsWindowEnabled(dialog_test::findChild(dialog(), "Button", "&Apply")) != FALSE;
}

} // namespace setup_dialog

#endif
