// A control with a window of its own: makes the window from its create
// parameters, lays out and paints its children, and routes the messages
// of its window (mouse input for its windowless children included).
#ifndef COMPONENTS_WIN32_WIN_CONTROL_H
#define COMPONENTS_WIN32_WIN_CONTROL_H

#include "platform/components/win32/control.h"

#include "platform/components/core/component.h"
#include "platform/components/core/event.h"
#include "platform/components/win32/graphics.h"
#include "platform/base/win32/window-owners.h"

#include <windows.h>

#include <string>
#include <vector>

namespace components {

class TGraphicControl;

// How a windowed control's window is made.
struct TCreateParams {
  std::string className; // a platform class, or ours (registered on demand)
  bool ownClass = false; // a class of ours, painted by Paint
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
  bool textAfterCreation = false; // the window takes its text once set up
};

// The window procedure of every window the library makes or subclasses.
LRESULT CALLBACK controlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

class TWinControl : public TControl {
public:
  explicit TWinControl(TComponent *owner);
  ~TWinControl() override;

  // The window, made (with its parent's) on first use.
  HWND Handle();
  bool HandleAllocated() const { return static_cast<bool>(window_); }
  void SetParent(TWinControl *parent) override;
  int ClientWidth() const override;
  int ClientHeight() const override;
  POINT ClientToScreen(POINT point) const override;
  std::string Caption() const override;

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl *Controls(int index) const { return controls_.at(index); }
  void SetFocus();
  void Invalidate() override;
  void Update();
  void Repaint() {
    Invalidate();
    Update();
  }
  // Offers an accelerator key to this control and its children in turn.
  bool DialogChar(char key) override;
  // Lays out the aligned children again.
  void Realign();

  // Children take their parent's font when they are made and whenever it
  // changes, until their own font is changed.
  TFont &Font() { return font_; }
  // The control whose window this is, or null.
  static TWinControl *FromHandle(HWND window);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TNotifyEvent OnResize;
  TKeyPressEvent OnKeyPress;

protected:
  virtual void CreateParams(TCreateParams &params);
  // After the window is made: texts, fonts and state that need it.
  virtual void handleCreated() {}
  // Every message of the window; the default handles reflection of
  // notifications to child controls, mouse routing to windowless children
  // and painting, then calls DefaultHandler.
  virtual void WndProc(TMessage &message);
  void DefaultHandler(TMessage &message);
  // Notifications that the parent reflects back to the control.
  virtual void command(WORD code, WORD id) { (void)code, (void)id; }
  virtual bool notify(NMHDR &header, LRESULT &result) {
    (void)header, (void)result;
    return false;
  }
  virtual void drawItem(DRAWITEMSTRUCT &item) { (void)item; }
  // Controls whose window reports a double-click as a notification of its
  // own (a list box's LBN_DBLCLK) fire OnDblClick from that alone, so one
  // double-click is one event.
  virtual bool notifiesDoubleClicks() const { return false; }
  // Controls drawn beneath every windowed sibling wherever they overlap
  // (labels): their windows are kept at the bottom of the sibling order.
  virtual bool staysBeneathSiblings() const { return false; }
  // Painting of windows of our own classes; the canvas draws on the paint DC.
  virtual void Paint(TCanvas &canvas);
  virtual void Resize() { OnResize(this); }
  void textChanged() override;
  void boundsChanged() override;
  void visibleChanged() override;
  void enabledChanged() override;
  // The area that aligned children share (client area by default).
  virtual RECT alignArea();
  void createHandle();
  void destroyHandle();

private:
  friend class TControl;
  friend class TGraphicControl;
  friend LRESULT CALLBACK controlWindowProc(HWND, UINT, WPARAM, LPARAM);
  void insertControl(TControl *control);
  void removeControl(TControl *control);
  void handleMessage(TMessage &message);
  bool routeMouse(TMessage &message);
  void paintWindow();
  TGraphicControl *graphicAt(int x, int y) const;
  void inheritFont(const TFont &font);
  void lowerBeneathSiblings();

  base::WindowHandle window_;
  WNDPROC defaultProc_ = nullptr;
  bool ownClass_ = false;
  std::vector<TControl *> controls_;
  TFont font_;
  TGraphicControl *captured_ = nullptr;
  TGraphicControl *mouseOver_ = nullptr;
  bool trackingLeave_ = false;
  bool realigning_ = false;
  bool parentFont_ = true;
  bool inheritingFont_ = false;
};

} // namespace components

#endif
