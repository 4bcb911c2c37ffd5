// The window wrapper under every dialog, page and control of the export
// window: one shared dialog procedure binds the window to its object and
// turns each message into a virtual operation. An exception thrown by a
// handler ends a modal dialog and is thrown again to the caller of the
// modal call, so it never unwinds through the system's own frames.
#ifndef JPEG_WIN32_T_WINDOW_H
#define JPEG_WIN32_T_WINDOW_H

#include <windows.h>

#include <exception>

namespace pixtune {

class TWindow {
public:
  TWindow(WORD id, HINSTANCE instance) : id_(id), instance_(instance) {}
  virtual ~TWindow() = default;
  TWindow(const TWindow &) = delete;
  TWindow &operator=(const TWindow &) = delete;

  HWND Handle() const { return handle_; }
  WORD Id() const { return id_; }
  HINSTANCE Instance() const { return instance_; }

  // Modal from the template id or a template in memory: the end result,
  // -1 when the dialog cannot be made.
  INT_PTR RunModal(HWND parent, LPARAM user);
  INT_PTR RunModalIndirect(const DLGTEMPLATE *dialogTemplate, HWND parent, LPARAM user);
  // Modeless: the window, also kept as the handle.
  HWND CreateModeless(HWND parent, LPARAM user);
  HWND CreateModelessIndirect(const DLGTEMPLATE *dialogTemplate, HWND parent, LPARAM user);

  // A modeless window's handler failure cannot end a modal loop of its
  // own: it is handed to the modal window that owns it, which ends and
  // throws it to its caller.
  void SetFailureOwner(TWindow *owner) { failureOwner_ = owner; }

protected:
  // One operation per message; each answers what the dialog procedure
  // answers. Mouse positions come in lParam (x low, y high, signed).
  virtual INT_PTR OnCommand(WORD /*code*/, WPARAM, LPARAM) { return 0; }
  virtual INT_PTR OnLButtonDown(WPARAM, LPARAM, int) { return 0; }
  virtual INT_PTR OnRButtonDown(WPARAM, LPARAM, int) { return 0; }
  virtual INT_PTR OnLButtonUp(WPARAM, LPARAM, int) { return 0; }
  virtual INT_PTR OnRButtonUp(WPARAM, LPARAM, int) { return 0; }
  virtual INT_PTR OnMouseMove(WPARAM, LPARAM, int) { return 0; }
  virtual INT_PTR OnKeyDown(WPARAM, LPARAM) { return 0; }
  virtual INT_PTR OnKeyUp(WPARAM, LPARAM) { return 0; }
  virtual INT_PTR OnSetCursor(WPARAM, LPARAM, int) { return 0; }
  virtual INT_PTR OnTimer(WPARAM, LPARAM) { return 0; }
  virtual INT_PTR OnHScroll(WORD, WORD, LPARAM) { return 0; }
  virtual INT_PTR OnVScroll(WORD, WORD, LPARAM) { return 0; }
  virtual INT_PTR OnPaint(WPARAM) { return 0; }
  virtual INT_PTR OnEraseBackground(WPARAM) { return 0; }
  virtual INT_PTR OnInitDialog(WPARAM, LPARAM) { return 1; }
  virtual INT_PTR OnNotify(WPARAM, LPARAM) { return 0; }
  virtual INT_PTR OnClose();
  virtual INT_PTR OnDestroy() { return 0; }
  virtual INT_PTR OnHelp(LPARAM) { return 0; }
  virtual INT_PTR OnGetDialogCode() { return 0; }
  virtual INT_PTR OnNcPaint(WPARAM) { return 0; }
  virtual INT_PTR OnNcActivate(WPARAM) { return 0; }
  // Picks the operation of the message; others answer 0.
  virtual INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  // Ends a modal dialog with result_.
  void End(INT_PTR result);
  INT_PTR result_ = 0;

private:
  struct StartRecord {
    TWindow *window;
    LPARAM user;
  };
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR FinishModal(INT_PTR result);

  void Fail(std::exception_ptr failure);

  WORD id_;
  HINSTANCE instance_;
  TWindow *failureOwner_ = nullptr;
  HWND handle_ = nullptr;
  std::exception_ptr failure_;
};

} // namespace pixtune

#endif
