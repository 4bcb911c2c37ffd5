// Controls: the visual component base (TControl), windowed controls that
// own a window (TWinControl) and windowless controls that their parent
// paints and feeds with mouse input (TGraphicControl). Every window of the
// library runs through one window procedure that hands exceptions to the
// application's handler, so none unwinds through the platform.
#ifndef COMPONENTS_WIN32_CONTROLS_H
#define COMPONENTS_WIN32_CONTROLS_H

#include "platform/components/core/component.h"
#include "platform/components/core/event.h"
#include "platform/components/win32/graphics.h"
#include "platform/base/win32/window-owners.h"

#include <windows.h>

#include <string>
#include <vector>

namespace components {

class TWinControl;
class TPopupMenu;
class TForm;

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
using TShiftState = unsigned;
constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32,
                      ssDouble = 64;

// The shift state of a mouse message's key flags (MK_SHIFT, MK_CONTROL and
// the buttons), with Alt from the keyboard, which the flags do not carry.
TShiftState KeysToShiftState(WPARAM keys);

using TMouseEvent = Event<TObject *, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = Event<TObject *, TShiftState, int, int>;
using TKeyPressEvent = Event<TObject *, char &>;

class TControl : public TComponent {
public:
  explicit TControl(TComponent *owner);
  ~TControl() override;

  TWinControl *Parent() const { return parent_; }
  virtual void SetParent(TWinControl *parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
  void SetTop(int top) { SetBounds(left_, top, width_, height_); }
  void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
  void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
  virtual int ClientWidth() const { return width_; }
  virtual int ClientHeight() const { return height_; }
  // A point of this control's client area in screen coordinates.
  virtual POINT ClientToScreen(POINT point) const;

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // The caption of buttons, labels and forms; the text of edits.
  virtual std::string Caption() const { return caption_; }
  void SetCaption(const std::string &caption);
  std::string Text() const { return Caption(); }
  void SetText(const std::string &text) { SetCaption(text); }

  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int context) { helpContext_ = context; }
  const std::string &Hint() const { return hint_; }
  void SetHint(std::string hint) { hint_ = std::move(hint); }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool show) { showHint_ = show; }
  TPopupMenu *PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu *menu) { popupMenu_ = menu; }

  virtual void Click();
  virtual void Invalidate() = 0;
  // An accelerator key (Alt with a letter) typed in the control's form:
  // true when the control took it. None does by default.
  virtual bool DialogChar(char key) {
    (void)key;
    return false;
  }
  void Notification(TComponent *component, bool removing) override;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

protected:
  virtual void textChanged() {}
  virtual void boundsChanged() {}
  virtual void visibleChanged() {}
  virtual void enabledChanged() {}
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  // The window system reported a move or resize that the control did not
  // ask for: only the fields change.
  void storeBounds(int left, int top, int width, int height);

  std::string caption_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;

private:
  friend class TWinControl;
  friend class TGraphicControl;
  // The mouse was pressed and released over this control: a click, for
  // the controls that make clicks out of mouse input.
  void mouseReleased(TMouseButton button, TShiftState shift, int x, int y);

  TWinControl *parent_ = nullptr;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  bool clicked_ = false;
  int tag_ = 0;
  int helpContext_ = 0;
  std::string hint_;
  bool showHint_ = false;
  TPopupMenu *popupMenu_ = nullptr;
};

// How a windowed control's window is made.
struct TCreateParams {
  std::string className; // a platform class, or ours (registered on demand)
  bool ownClass = false; // a class of ours, painted by Paint
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
  bool textAfterCreation = false; // the window takes its text once set up
};

class TGraphicControl;

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
  bool Focused() const;
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
  // changes, until their own font is changed (ParentFont turns false).
  TFont &Font() { return font_; }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool parentFont);
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

// A control without a window: its parent paints it and routes the mouse
// to it.
class TGraphicControl : public TControl {
public:
  explicit TGraphicControl(TComponent *owner);
  ~TGraphicControl() override;
  void Invalidate() override;
  TCanvas &Canvas() { return canvas_; }
  bool MouseCaptured() const;

protected:
  virtual void Paint() {}
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  void boundsChanged() override;
  void visibleChanged() override { invalidateArea(); }
  void enabledChanged() override;

private:
  friend class TWinControl;
  void invalidateArea();

  TCanvas canvas_;
};

// The form a control sits on, or null.
TForm *GetParentForm(TControl *control);

} // namespace components

#endif
