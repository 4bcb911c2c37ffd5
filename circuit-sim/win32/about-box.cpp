#include "circuit-sim/win32/about-box.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

namespace qorsim {

namespace {

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace

// Each call finds the text again, as the control may ask at any pace.
DWORD CALLBACK supplyAboutText(DWORD_PTR cookie, LPBYTE buffer, LONG requested, LONG *given) {
  AboutStream &state = *reinterpret_cast<AboutStream *>(cookie);
  ++state.calls;
  *given = 0;
  HRSRC found = FindResourceA(state.module, MAKEINTRESOURCEA(AboutTextId), "RTF");
  HGLOBAL loaded = found ? LoadResource(state.module, found) : nullptr;
  const char *text = loaded ? static_cast<const char *>(LockResource(loaded)) : nullptr;
  if (!text)
    return 1; // no text: the stream stops and the control stays empty
  const std::size_t size = SizeofResource(state.module, found);
  const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(requested),
                                                  size - std::min(size, state.position));
  std::memcpy(buffer, text + state.position, count);
  state.position += count;
  *given = static_cast<LONG>(count);
  return 0;
}

namespace {

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_INITDIALOG: {
    HWND text = GetDlgItem(dialog, AboutTextControl);
    SendMessageA(text, EM_SETBKGNDCOLOR, 0, GetSysColor(COLOR_BTNFACE));
    streamAboutText(text, reinterpret_cast<HINSTANCE>(lParam));
    SendMessageA(text, EM_SETSEL, 0, 0); // the text opens at its top, unselected
    centreDialog(dialog);
    SetFocus(GetDlgItem(dialog, IDOK));
    return FALSE; // the focus is set
  }
  case WM_COMMAND:
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
      EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    }
    break;
  }
  return FALSE;
}

} // namespace

int streamAboutText(HWND richEdit, HINSTANCE module) {
  AboutStream state{module, 0, 0};
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&state);
  stream.pfnCallback = supplyAboutText;
  SendMessageA(richEdit, EM_STREAMIN, SF_RTF | SFF_PLAINRTF, reinterpret_cast<LPARAM>(&stream));
  return stream.dwError ? -1 : state.calls;
}

void centreDialog(HWND dialog) {
  RECT own{}, area{}, centreOn{};
  GetWindowRect(dialog, &own);
  const bool child = (GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD) != 0;
  HWND parent = child ? GetParent(dialog) : GetWindow(dialog, GW_OWNER);
  if (child && parent) {
    GetClientRect(parent, &area); // a child moves in its parent's client coordinates
    centreOn = area;
  } else {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    if (parent && IsWindowVisible(parent) && !IsIconic(parent))
      GetWindowRect(parent, &centreOn);
    else
      centreOn = area;
  }
  const int width = own.right - own.left, height = own.bottom - own.top;
  int x = (centreOn.left + centreOn.right - width) / 2;
  int y = (centreOn.top + centreOn.bottom - height) / 2;
  if (x < area.left)
    x = area.left;
  else if (x + width > area.right)
    x = area.right - width;
  if (y < area.top)
    y = area.top;
  else if (y + height > area.bottom)
    y = area.bottom - height;
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR showAboutBox(HINSTANCE module, HWND owner) {
  LoadLibraryA("riched20.dll"); // registers the rich-edit class; kept for the process
  return DialogBoxParamA(module, MAKEINTRESOURCEA(AboutDialogId), owner, aboutProc,
                         reinterpret_cast<LPARAM>(module));
}

} // namespace qorsim
