// The base of every control: bounds, alignment, visibility, caption and
// the mouse events, with the messages and shift states they carry.
#ifndef COMPONENTS_WIN32_CONTROL_H
#define COMPONENTS_WIN32_CONTROL_H

#include "platform/components/core/component.h"
#include "platform/components/core/event.h"
#include "platform/components/win32/graphics.h"
#include "platform/base/win32/window-owners.h"

#include <windows.h>

#include <string>
#include <vector>

namespace components {

class TWinControl;
class TGraphicControl;

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

// The form a control sits on, or null.
TForm *GetParentForm(TControl *control);

} // namespace components

#endif
