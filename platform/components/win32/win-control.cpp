#include "platform/components/win32/win-control.h"

#include "platform/components/win32/control.h"
#include "platform/components/win32/graphic-control.h"

#include "platform/components/core/exception.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/menus.h"

#include <windowsx.h>

#include <algorithm>

namespace components {

namespace {

// Window property that leads from a window to its control.
const char controlProperty[] = "ComponentsControl";

void registerOwnClass(const std::string &name) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (GetClassInfoExA(instance, name.c_str(), &existing))
    return;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = controlWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name.c_str();
  RegisterClassExA(&windowClass);
}

bool isButtonDown(UINT msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
         msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
}

bool isButtonUp(UINT msg) {
  return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
}

TMouseButton buttonOf(UINT msg) {
  switch (msg) {
  case WM_RBUTTONDOWN:
  case WM_RBUTTONUP:
  case WM_RBUTTONDBLCLK:
    return mbRight;
  case WM_MBUTTONDOWN:
  case WM_MBUTTONUP:
  case WM_MBUTTONDBLCLK:
    return mbMiddle;
  default:
    return mbLeft;
  }
}

} // namespace

LRESULT CALLBACK controlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto *create = reinterpret_cast<CREATESTRUCTA *>(lParam);
    auto *control = static_cast<TWinControl *>(create->lpCreateParams);
    if (control && !control->window_) {
      SetPropA(window, controlProperty, control);
      control->window_.reset(window);
    }
  }
  auto *control = static_cast<TWinControl *>(GetPropA(window, controlProperty));
  if (!control)
    return DefWindowProcA(window, msg, wParam, lParam);
  if (control->window_.get() != window) {
    // A window its control no longer holds: let it go quietly.
    if (msg == WM_NCDESTROY)
      RemovePropA(window, controlProperty);
    return DefWindowProcA(window, msg, wParam, lParam);
  }
  TMessage message{msg, wParam, lParam, 0};
  // The control may free itself while handling the message (a released
  // form): nothing of it is touched after the call.
  CallGuarded<int>(control, 0, [&] {
    control->handleMessage(message);
    return 0;
  });
  return message.Result;
}

TWinControl::TWinControl(TComponent *owner) : TControl(owner) {
  font_.OnChange = [this](TObject *) {
    if (!inheritingFont_)
      parentFont_ = false;
    if (window_)
      SendMessageA(window_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
    for (TControl *control : controls_) {
      if (auto *child = dynamic_cast<TWinControl *>(control))
        child->inheritFont(font_);
      else
        control->Invalidate();
    }
  };
}

void TWinControl::inheritFont(const TFont &font) {
  if (!parentFont_)
    return;
  inheritingFont_ = true;
  font_.Assign(font);
  inheritingFont_ = false;
}

void TWinControl::lowerBeneathSiblings() {
  for (TControl *control : controls_) {
    auto *child = dynamic_cast<TWinControl *>(control);
    if (child && child->staysBeneathSiblings() && child->HandleAllocated())
      SetWindowPos(child->window_.get(), HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
}

bool TWinControl::DialogChar(char key) {
  for (TControl *control : controls_)
    if (control->Visible() && control->Enabled() && control->DialogChar(key))
      return true;
  return false;
}

TWinControl::~TWinControl() {
  for (TControl *control : controls_)
    control->parent_ = nullptr;
  controls_.clear();
  destroyHandle();
}

TWinControl *TWinControl::FromHandle(HWND window) {
  if (!window)
    return nullptr;
  return static_cast<TWinControl *>(GetPropA(window, controlProperty));
}

void TWinControl::CreateParams(TCreateParams &params) {
  params.className = "TWinControl";
  params.ownClass = true;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
}

HWND TWinControl::Handle() {
  if (!window_)
    createHandle();
  return window_.get();
}

void TWinControl::createHandle() {
  if (window_)
    return;
  TCreateParams params;
  CreateParams(params);
  HWND parentWindow = nullptr;
  if (params.style & WS_CHILD) {
    if (!Parent())
      return; // a child window needs its parent first
    parentWindow = Parent()->Handle();
  } else {
    parentWindow = Application->Handle();
  }
  if (Visible())
    params.style |= WS_VISIBLE;
  if (!Enabled())
    params.style |= WS_DISABLED;
  ownClass_ = params.ownClass;
  void *createParam = nullptr;
  if (ownClass_) {
    registerOwnClass(params.className);
    createParam = this;
  }
  const char *windowName = params.textAfterCreation ? "" : caption_.c_str();
  HWND window = CreateWindowExA(params.exStyle, params.className.c_str(), windowName, params.style,
                                left_, top_, width_, height_, parentWindow, nullptr,
                                GetModuleHandleA(nullptr), createParam);
  if (!window)
    throw Exception("Error creating window of class " + params.className);
  if (!ownClass_) {
    window_.reset(window);
    SetPropA(window, controlProperty, this);
    defaultProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&controlWindowProc)));
  }
  // Set-up first: a rich edit refuses to change its text mode once it has
  // been given a font.
  handleCreated();
  if (Parent())
    inheritFont(Parent()->Font());
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
  // The platform puts a new child window at the bottom of its siblings:
  // labels go below it again, so no label covers a windowed control.
  if (Parent())
    Parent()->lowerBeneathSiblings();
  if (params.textAfterCreation && !caption_.empty())
    SetWindowTextA(window, caption_.c_str());
  for (TControl *control : controls_)
    if (auto *child = dynamic_cast<TWinControl *>(control))
      if (!child->HandleAllocated())
        child->createHandle();
  Realign();
}

void TWinControl::destroyHandle() {
  if (!window_)
    return;
  HWND window = window_.get();
  // Detach first: the window's last messages must not reach a control that
  // is being destroyed.
  RemovePropA(window, controlProperty);
  if (defaultProc_)
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defaultProc_));
  window_.reset();
}

void TWinControl::SetParent(TWinControl *parent) {
  TControl::SetParent(parent);
  if (!parent)
    return;
  if (window_) {
    ::SetParent(window_.get(), parent->Handle());
    return;
  }
  if (parent->HandleAllocated())
    createHandle();
}

void TWinControl::insertControl(TControl *control) {
  controls_.push_back(control);
  if (control->Align() != alNone)
    Realign();
  if (dynamic_cast<TGraphicControl *>(control))
    control->Invalidate();
}

void TWinControl::removeControl(TControl *control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  if (captured_ == control) {
    captured_ = nullptr;
    if (window_ && GetCapture() == window_.get())
      ReleaseCapture();
  }
  if (mouseOver_ == control)
    mouseOver_ = nullptr;
  if (control->Align() != alNone)
    Realign();
}

void TWinControl::boundsChanged() {
  if (window_)
    MoveWindow(window_.get(), left_, top_, width_, height_, TRUE);
}

void TWinControl::textChanged() {
  if (window_)
    SetWindowTextA(window_.get(), caption_.c_str());
}

void TWinControl::visibleChanged() {
  if (window_)
    ShowWindow(window_.get(), Visible() ? SW_SHOW : SW_HIDE);
}

void TWinControl::enabledChanged() {
  if (window_)
    EnableWindow(window_.get(), Enabled());
}

std::string TWinControl::Caption() const {
  if (!window_)
    return caption_;
  int length = GetWindowTextLengthA(window_.get());
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  int copied = GetWindowTextA(window_.get(), &text[0], length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

int TWinControl::ClientWidth() const {
  RECT rect{};
  if (!window_)
    return width_;
  GetClientRect(window_.get(), &rect);
  return rect.right;
}

int TWinControl::ClientHeight() const {
  RECT rect{};
  if (!window_)
    return height_;
  GetClientRect(window_.get(), &rect);
  return rect.bottom;
}

POINT TWinControl::ClientToScreen(POINT point) const {
  if (!window_)
    return TControl::ClientToScreen(point);
  ::ClientToScreen(window_.get(), &point);
  return point;
}

void TWinControl::SetFocus() {
  if (Handle())
    ::SetFocus(window_.get());
}

void TWinControl::Invalidate() {
  if (window_)
    InvalidateRect(window_.get(), nullptr, TRUE);
}

void TWinControl::Update() {
  if (window_)
    UpdateWindow(window_.get());
}

RECT TWinControl::alignArea() {
  RECT rect{0, 0, ClientWidth(), ClientHeight()};
  return rect;
}

void TWinControl::Realign() {
  if (realigning_ || !window_)
    return;
  realigning_ = true;
  RECT area = alignArea();
  // Top and bottom first, then left and right, then the client: the order
  // in which the class library shares out a parent's client area.
  for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl *control : controls_) {
      if (control->Align() != pass || !control->Visible())
        continue;
      int width = area.right - area.left, height = area.bottom - area.top;
      switch (pass) {
      case alTop:
        control->SetBounds(area.left, area.top, width, control->Height());
        area.top += control->Height();
        break;
      case alBottom:
        control->SetBounds(area.left, area.bottom - control->Height(), width, control->Height());
        area.bottom -= control->Height();
        break;
      case alLeft:
        control->SetBounds(area.left, area.top, control->Width(), height);
        area.left += control->Width();
        break;
      case alRight:
        control->SetBounds(area.right - control->Width(), area.top, control->Width(), height);
        area.right -= control->Width();
        break;
      case alClient:
        control->SetBounds(area.left, area.top, width, height);
        break;
      case alNone:
        break;
      }
    }
  }
  realigning_ = false;
}

void TWinControl::DefaultHandler(TMessage &message) {
  if (!window_)
    return;
  if (defaultProc_)
    message.Result =
        CallWindowProcA(defaultProc_, window_.get(), message.Msg, message.WParam, message.LParam);
  else
    message.Result = DefWindowProcA(window_.get(), message.Msg, message.WParam, message.LParam);
}

void TWinControl::handleMessage(TMessage &message) {
  if (message.Msg == WM_NCDESTROY) {
    // The window goes away with its parent: forget it without destroying
    // it a second time.
    HWND window = window_.get();
    DefaultHandler(message);
    RemovePropA(window, controlProperty);
    if (defaultProc_)
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defaultProc_));
    defaultProc_ = nullptr;
    window_.release();
    return;
  }
  WndProc(message);
}

TGraphicControl *TWinControl::graphicAt(int x, int y) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    auto *graphic = dynamic_cast<TGraphicControl *>(*it);
    if (!graphic || !graphic->Visible())
      continue;
    RECT bounds = graphic->BoundsRect();
    POINT point{x, y};
    if (PtInRect(&bounds, point))
      return graphic;
  }
  return nullptr;
}

// Mouse input of windows of our own classes: windowless children first,
// then the window itself. Answers true when a windowless child took it.
bool TWinControl::routeMouse(TMessage &message) {
  int x = GET_X_LPARAM(message.LParam), y = GET_Y_LPARAM(message.LParam);
  TShiftState shift = KeysToShiftState(message.WParam);
  if (message.Msg == WM_MOUSELEAVE) {
    trackingLeave_ = false;
    if (mouseOver_) {
      TGraphicControl *left = mouseOver_;
      mouseOver_ = nullptr;
      left->MouseLeave();
    }
    return false;
  }
  TGraphicControl *over = graphicAt(x, y);
  if (message.Msg == WM_MOUSEMOVE && over != mouseOver_) {
    TGraphicControl *left = mouseOver_;
    mouseOver_ = over;
    if (left)
      left->MouseLeave();
    if (over && over->Enabled())
      over->MouseEnter();
    if (over && !trackingLeave_) {
      TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_.get(), 0};
      trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
  }
  TGraphicControl *target = captured_ ? captured_ : over;
  if (!target || !target->Enabled())
    return false;
  int localX = x - target->Left(), localY = y - target->Top();
  if (message.Msg == WM_MOUSEMOVE) {
    target->MouseMove(shift, localX, localY);
    return true;
  }
  if (isButtonDown(message.Msg)) {
    TMouseButton button = buttonOf(message.Msg);
    if (message.Msg == WM_LBUTTONDBLCLK)
      shift |= ssDouble;
    captured_ = target;
    SetCapture(window_.get());
    if (button == mbLeft)
      target->clicked_ = true;
    target->MouseDown(button, shift, localX, localY);
    if (message.Msg == WM_LBUTTONDBLCLK)
      target->OnDblClick(target);
    return true;
  }
  if (isButtonUp(message.Msg)) {
    if (captured_ == target) {
      captured_ = nullptr;
      ReleaseCapture();
    }
    target->mouseReleased(buttonOf(message.Msg), shift, localX, localY);
    return true;
  }
  return false;
}

void TWinControl::Paint(TCanvas &canvas) { (void)canvas; }

void TWinControl::paintWindow() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_.get(), &paint);
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Font().Assign(font_);
  Paint(canvas);
  for (TControl *control : controls_) {
    auto *graphic = dynamic_cast<TGraphicControl *>(control);
    if (!graphic || !graphic->Visible())
      continue;
    RECT bounds = graphic->BoundsRect(), overlap;
    if (!IntersectRect(&overlap, &bounds, &paint.rcPaint))
      continue;
    int saved = SaveDC(dc);
    IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    SetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
    graphic->canvas_.SetHandle(dc);
    graphic->canvas_.Font().Assign(font_);
    graphic->Paint();
    graphic->canvas_.SetHandle(nullptr);
    RestoreDC(dc, saved);
  }
  EndPaint(window_.get(), &paint);
}

void TWinControl::WndProc(TMessage &message) {
  switch (message.Msg) {
  case WM_COMMAND:
    if (message.LParam) {
      if (TWinControl *child = FromHandle(reinterpret_cast<HWND>(message.LParam))) {
        child->command(HIWORD(message.WParam), LOWORD(message.WParam));
        return;
      }
    } else if (HIWORD(message.WParam) == 0 &&
               Application->dispatchMenuCommand(LOWORD(message.WParam))) {
      return;
    }
    break;
  case WM_NOTIFY: {
    auto *header = reinterpret_cast<NMHDR *>(message.LParam);
    if (TWinControl *child = FromHandle(header->hwndFrom))
      if (child->notify(*header, message.Result))
        return;
    break;
  }
  case WM_DRAWITEM: {
    auto *item = reinterpret_cast<DRAWITEMSTRUCT *>(message.LParam);
    if (TWinControl *child = FromHandle(item->hwndItem)) {
      child->drawItem(*item);
      message.Result = TRUE;
      return;
    }
    break;
  }
  case WM_SIZE:
    DefaultHandler(message);
    if (message.WParam != SIZE_MINIMIZED) {
      Realign();
      Resize();
    }
    return;
  case WM_WINDOWPOSCHANGED: {
    auto *position = reinterpret_cast<WINDOWPOS *>(message.LParam);
    if (!(position->flags & SWP_NOSIZE) || !(position->flags & SWP_NOMOVE))
      storeBounds(position->x, position->y, position->cx, position->cy);
    break;
  }
  case WM_SETFOCUS:
    DefaultHandler(message);
    OnEnter(this);
    return;
  case WM_KILLFOCUS:
    DefaultHandler(message);
    OnExit(this);
    return;
  case WM_CHAR: {
    char key = static_cast<char>(message.WParam);
    OnKeyPress(this, key);
    if (key == 0)
      return;
    message.WParam = static_cast<unsigned char>(key);
    break;
  }
  case WM_CONTEXTMENU:
    if (PopupMenu()) {
      POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
      PopupMenu()->SetPopupComponent(this);
      PopupMenu()->Popup(point.x, point.y);
      return;
    }
    break;
  case WM_PAINT:
    if (ownClass_) {
      paintWindow();
      return;
    }
    break;
  // The platform's own classes keep the font they are given; ours paint
  // with the control's font, which they report and repaint in when it
  // changes.
  case WM_GETFONT:
    if (ownClass_) {
      message.Result = reinterpret_cast<LRESULT>(font_.Handle());
      return;
    }
    break;
  case WM_SETFONT:
    if (ownClass_) {
      if (LOWORD(message.LParam))
        InvalidateRect(window_.get(), nullptr, TRUE);
      return;
    }
    break;
  case WM_MOUSEMOVE:
  case WM_MOUSELEAVE:
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDOWN:
  case WM_RBUTTONUP:
  case WM_RBUTTONDBLCLK:
  case WM_MBUTTONDOWN:
  case WM_MBUTTONUP:
  case WM_MBUTTONDBLCLK:
    if (ownClass_ && routeMouse(message))
      return;
    if (message.Msg != WM_MOUSELEAVE) {
      int x = GET_X_LPARAM(message.LParam), y = GET_Y_LPARAM(message.LParam);
      TShiftState shift = KeysToShiftState(message.WParam);
      if (message.Msg == WM_MOUSEMOVE)
        MouseMove(shift, x, y);
      else if (isButtonDown(message.Msg)) {
        if (ownClass_ && message.Msg == WM_LBUTTONDOWN)
          clicked_ = true;
        MouseDown(buttonOf(message.Msg), shift, x, y);
        if (message.Msg == WM_LBUTTONDBLCLK && !notifiesDoubleClicks())
          OnDblClick(this);
      } else if (ownClass_)
        mouseReleased(buttonOf(message.Msg), shift, x, y);
      else
        MouseUp(buttonOf(message.Msg), shift, x, y);
    }
    break;
  }
  DefaultHandler(message);
}

} // namespace components
