// The about box (dialog 209): rich text 210 in a read-only rich-edit
// control, centred over its owner.
#ifndef CIRCUIT_SIM_ABOUT_BOX_H
#define CIRCUIT_SIM_ABOUT_BOX_H

#include <windows.h>

#include <cstddef>

namespace qorsim {

const UINT AboutDialogId = 209;
const UINT AboutTextId = 210;
const int AboutTextControl = 206;

// Runs the dialog modally over `owner` until OK closes it.
INT_PTR showAboutBox(HINSTANCE module, HWND owner);

// Streams rich text `AboutTextId` of `module` into `richEdit`, as the
// control asks for it; returns how many times the control asked (the
// last call, with nothing left, ends the stream), or -1 when the stream
// failed.
int streamAboutText(HWND richEdit, HINSTANCE module);

// The stream-in callback's state: where the next request reads from.
struct AboutStream {
  HINSTANCE module;
  std::size_t position;
  int calls;
};

// The stream-in callback (cookie: an AboutStream): copies up to
// `requested` bytes of the text from the read position; 0 bytes end the
// stream, a missing text reports an error.
DWORD CALLBACK supplyAboutText(DWORD_PTR cookie, LPBYTE buffer, LONG requested, LONG *given);

// Moves `dialog` without resizing to the middle of its owner when that is
// visible and not minimised, else of the work area, kept inside the area.
void centreDialog(HWND dialog);

} // namespace qorsim

#endif
