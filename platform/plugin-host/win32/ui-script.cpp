// The UI script's steps.
#include "platform/plugin-host/win32/ui-script.h"

#include "platform/base/win32/gdi-owners.h"
#include "testing/ui-driver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace plugin_host {

UiScript *UiScript::active_;

namespace {

using namespace test_windows;

bool isDialog(HWND window) { return windowClass(window) == "#32770"; }

// Every top-level window of this thread, hidden ones too.
std::vector<HWND> allThreadWindows() { return threadWindows(GetCurrentThreadId(), true); }

// Visible dialogs of this thread, top-level ones and those inside them
// that have a caption (the export window is a child of its full-screen
// pane).
std::vector<HWND> visibleDialogs() {
  std::vector<HWND> dialogs;
  for (HWND top : allThreadWindows()) {
    if (!IsWindowVisible(top))
      continue;
    if (isDialog(top))
      dialogs.push_back(top);
    for (HWND child : children(top))
      if (IsWindowVisible(child) && isDialog(child) && !windowText(child).empty())
        dialogs.push_back(child);
  }
  return dialogs;
}

HWND dialogWithCaption(const std::string &caption) {
  for (HWND dialog : visibleDialogs())
    if (windowText(dialog) == caption)
      return dialog;
  return nullptr;
}

bool split(const std::string &argument, int &id, std::string &value) {
  std::size_t equals = argument.find('=');
  if (equals == std::string::npos)
    return false;
  id = std::atoi(argument.substr(0, equals).c_str());
  value = argument.substr(equals + 1);
  return true;
}

// The rightmost column a check box or radio button paints, found from what
// it draws (box, text, a disabled text's embossing) when it is widened for
// a moment so that nothing of it is cut: printed into a bitmap whose far
// right column gives its background.
int paintedRight(HWND control) {
  const int spare = 200;
  RECT outer{}, client{};
  GetWindowRect(control, &outer);
  GetClientRect(control, &client);
  UINT keep = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;
  int width = client.right + spare, height = client.bottom;
  SetWindowPos(control, nullptr, 0, 0, outer.right - outer.left + spare, outer.bottom - outer.top,
               keep);
  base::WindowDC screen(control);
  base::CreatedDC memory(CreateCompatibleDC(screen.get()));
  base::GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get(), width, height));
  base::SelectedObject selected(memory.get(), bitmap.get());
  SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()),
               PRF_CLIENT | PRF_ERASEBKGND);
  SetWindowPos(control, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top, keep);
  for (int x = width - 2; x >= 0; --x)
    for (int y = 0; y < height; ++y)
      if (GetPixel(memory.get(), x, y) != GetPixel(memory.get(), width - 1, y))
        return x;
  return -1;
}

// Whether a label shows its whole text. Check boxes and radio buttons:
// nothing they draw lies beyond their client area (paintedRight). Static
// texts, group boxes and one-line edits: the text measured with the
// control's own font, on one line for the styles that do not wrap, else
// wrapped at the control's width; group boxes inside their frame, edits
// inside their formatting rectangle. Other controls have no text to cut.
bool textFits(HWND control) {
  std::string text = windowText(control);
  LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
  std::string kind = windowClass(control);
  RECT client{};
  GetClientRect(control, &client);
  LONG room = client.right;
  bool oneLine = true;
  UINT format = DT_CALCRECT;
  if (text.empty())
    return true;
  if (kind == "Static") {
    LONG_PTR type = style & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_SIMPLE &&
        type != SS_LEFTNOWORDWRAP)
      return true;
    oneLine = type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
    if (style & SS_NOPREFIX)
      format |= DT_NOPREFIX;
  } else if (kind == "Button") {
    LONG_PTR type = style & BS_TYPEMASK;
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
        type == BS_AUTO3STATE || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
      return paintedRight(control) < client.right;
    if (type != BS_GROUPBOX)
      return true;
    room -= 16;
  } else if (kind == "Edit" && !(style & ES_MULTILINE)) {
    // A one-line edit shows its text inside its formatting rectangle.
    RECT shown{};
    SendMessageA(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&shown));
    room = shown.right - shown.left;
    format |= DT_NOPREFIX;
  } else {
    return true;
  }
  base::WindowDC dc(control);
  auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  base::SelectedObject selected(dc.get(), font ? static_cast<HGDIOBJ>(font)
                                               : GetCurrentObject(dc.get(), OBJ_FONT));
  RECT needed{0, 0, room, 0};
  DrawTextA(dc.get(), text.c_str(), -1, &needed, format | (oneLine ? DT_SINGLELINE : DT_WORDBREAK));
  return needed.right <= room && (kind != "Static" || needed.bottom <= client.bottom);
}

} // namespace

UiScript::UiScript(std::vector<std::string> steps, Reporter report, DWORD stepTimeoutMs)
    : steps_(std::move(steps)), report_(std::move(report)), stepTimeout_(stepTimeoutMs) {
  active_ = this;
  stepStarted_ = GetTickCount();
  if (!steps_.empty())
    timer_ = SetTimer(nullptr, 0, 50, onTimer);
}

UiScript::~UiScript() {
  if (timer_)
    KillTimer(nullptr, timer_);
  active_ = nullptr;
}

void UiScript::Finish() {
  report_("ui.done", std::to_string(next_) + "/" + std::to_string(steps_.size()));
  if (!failed_ && next_ < steps_.size())
    report_("ui.failed", std::to_string(next_) + ":" + steps_[next_] + " (never reached)");
}

void CALLBACK UiScript::onTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (active_)
    active_->Tick();
}

void UiScript::Tick() {
  if (busy_)
    return; // an action's own messages dispatched this timer again
  busy_ = true;
  if (failed_) {
    CancelEverything();
  } else {
    // Several steps may go in one tick, as long as each finds its condition.
    while (next_ < steps_.size()) {
      const std::string &step = steps_[next_];
      std::size_t colon = step.find(':');
      std::string verb = step.substr(0, colon);
      std::string argument = colon == std::string::npos ? "" : step.substr(colon + 1);
      if (target_ && !IsWindow(target_))
        target_ = nullptr;
      if (!Try(verb, argument)) {
        if (GetTickCount() - stepStarted_ > stepTimeout_)
          Fail(std::to_string(next_) + ":" + step);
        break;
      }
      ++next_;
      stepStarted_ = GetTickCount();
      // What a step posted is handled before the next step looks.
      if (verb == "click" || verb == "notify" || verb == "press" || verb == "tab" ||
          verb == "file" || verb == "drag" || verb == "hold" || verb == "key")
        break;
    }
  }
  busy_ = false;
}

// A control of the target; the first visible one, since both option pages
// use the same ids and only the shown page's controls count.
HWND UiScript::Control(int id, bool visibleOnly) const {
  if (!target_)
    return nullptr;
  HWND hidden = nullptr;
  for (HWND child : children(target_)) {
    if (GetDlgCtrlID(child) != id)
      continue;
    if (IsWindowVisible(child))
      return child;
    if (!hidden)
      hidden = child;
  }
  return visibleOnly ? nullptr : hidden;
}

// The points are client points of the control; after the press each
// message goes to the window that holds the capture (as the system routes
// real input), at the same screen point the pointer would be on.
bool UiScript::Drag(HWND control, const std::string &points) {
  RECT client{};
  GetClientRect(control, &client);
  std::vector<POINT> path;
  std::size_t at = 0;
  while (at < points.size()) {
    std::size_t end = points.find('>', at);
    std::string point = points.substr(at, end == std::string::npos ? std::string::npos : end - at);
    std::size_t comma = point.find(',');
    if (comma == std::string::npos)
      return false;
    std::string x = point.substr(0, comma), y = point.substr(comma + 1);
    // "<n>r": n pixels in from the right or bottom edge.
    auto resolve = [](const std::string &value, LONG extent) {
      int n = std::atoi(value.c_str());
      return !value.empty() && value.back() == 'r' ? extent - n : n;
    };
    path.push_back(POINT{resolve(x, client.right), resolve(y, client.bottom)});
    if (end == std::string::npos)
      break;
    at = end + 1;
  }
  if (path.size() < 2)
    return false;
  POINT origin = path[0];
  ClientToScreen(control, &origin);
  auto send = [&](UINT message, WPARAM keys, const POINT &point) {
    POINT screen{origin.x + point.x - path[0].x, origin.y + point.y - path[0].y};
    HWND captured = GetCapture();
    HWND to = message != WM_LBUTTONDOWN && captured &&
                      GetWindowThreadProcessId(captured, nullptr) == GetCurrentThreadId()
                  ? captured
                  : control;
    ScreenToClient(to, &screen);
    SendMessageA(to, message, keys, MAKELPARAM(screen.x, screen.y));
  };
  send(WM_LBUTTONDOWN, MK_LBUTTON, path[0]);
  for (std::size_t i = 1; i < path.size(); ++i)
    send(WM_MOUSEMOVE, MK_LBUTTON, path[i]);
  send(WM_LBUTTONUP, 0, path.back());
  return true;
}

void UiScript::Fail(const std::string &why) {
  failed_ = true;
  report_("ui.failed", why);
  std::string seen;
  for (HWND dialog : visibleDialogs())
    seen += (seen.empty() ? "" : "|") + windowText(dialog);
  report_("ui.visible", seen);
  // Every window of the thread, to tell a hidden window from a missing one.
  std::string all;
  for (HWND top : allThreadWindows()) {
    RECT rect{};
    GetWindowRect(top, &rect);
    all += (all.empty() ? "" : "|") + windowClass(top) + " \"" + windowText(top) + "\"" +
           (IsWindowVisible(top) ? "" : " hidden") + " " + std::to_string(rect.right - rect.left) +
           "x" + std::to_string(rect.bottom - rect.top);
    for (HWND child : children(top))
      if (isDialog(child))
        all += " > " + windowClass(child) + " \"" + windowText(child) + "\"" +
               (IsWindowVisible(child) ? "" : " hidden");
  }
  report_("ui.windows", all);
  CancelEverything();
}

void UiScript::CancelEverything() {
  for (HWND dialog : visibleDialogs()) {
    PostMessageA(dialog, WM_COMMAND, IDNO, 0);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  }
}

bool UiScript::Try(const std::string &verb, const std::string &argument) {
  int id = std::atoi(argument.c_str());
  std::string value;
  if (verb == "window") {
    HWND found = dialogWithCaption(argument);
    if (!found)
      return false;
    target_ = found;
    return true;
  }
  if (verb == "settle") {
    settling_ = !settling_;
    return !settling_;
  }
  if (verb == "gone")
    return dialogWithCaption(argument) == nullptr;
  if (verb == "file") {
    for (HWND dialog : visibleDialogs())
      if (chooseFile(dialog, argument))
        return true;
    return false;
  }
  if (verb == "shift") {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE state = id ? 0x80 : 0;
    keys[VK_SHIFT] = keys[VK_LSHIFT] = state;
    SetKeyboardState(keys);
    return true;
  }
  if (verb == "dump") {
    if (dumpPath_)
      dumpPath_(argument);
    return true;
  }
  if (verb == "client") {
    HWND control = Control(id);
    if (!control)
      return false;
    RECT client{};
    GetClientRect(control, &client);
    report_("ui." + std::to_string(next_) + ".client." + argument,
            std::to_string(client.right) + "," + std::to_string(client.bottom));
    return true;
  }
  if (verb == "above") {
    HWND control = Control(id);
    if (!control)
      return false;
    // The visible static texts over the control: across its width, ending
    // within its height above its top; left to right.
    RECT under{};
    GetWindowRect(control, &under);
    std::vector<std::pair<LONG, std::string>> texts;
    for (HWND child : children(GetParent(control))) {
      RECT r{};
      GetWindowRect(child, &r);
      if (windowClass(child) == "Static" && IsWindowVisible(child) && !windowText(child).empty() &&
          r.right > under.left && r.left < under.right && r.bottom <= under.top &&
          r.bottom >= under.top - (under.bottom - under.top))
        texts.emplace_back(r.left, windowText(child));
    }
    std::sort(texts.begin(), texts.end());
    std::string joined;
    for (const auto &text : texts)
      joined += (joined.empty() ? "" : "|") + text.second;
    report_("ui." + std::to_string(next_) + ".above." + argument, joined);
    return true;
  }
  if (verb == "screen") {
    HWND control = Control(id);
    if (!control)
      return false;
    RECT rect{};
    GetWindowRect(control, &rect);
    report_("ui." + std::to_string(next_) + ".screen." + argument,
            std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
                std::to_string(rect.right) + "," + std::to_string(rect.bottom));
    return true;
  }
  if (verb == "fits") {
    if (!target_)
      return false;
    std::string clipped;
    for (HWND child : children(target_))
      if (IsWindowVisible(child) && !textFits(child))
        clipped += (clipped.empty() ? "" : "|") + std::to_string(GetDlgCtrlID(child)) + ":" +
                   windowText(child);
    report_("ui." + std::to_string(next_) + ".fits." + argument, clipped);
    return true;
  }
  if (verb == "press") {
    if (!target_)
      return false;
    PostMessageA(target_, WM_COMMAND, static_cast<WPARAM>(id), 0);
    return true;
  }
  if (verb == "tab" || verb == "tabis") {
    HWND tabs = nullptr;
    if (target_)
      for (HWND child : children(target_))
        if (windowClass(child) == WC_TABCONTROLA && IsWindowVisible(child))
          tabs = child;
    if (!tabs)
      return false;
    if (verb == "tabis")
      return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == id;
    RECT item{};
    if (!SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(id),
                      reinterpret_cast<LPARAM>(&item)))
      return false;
    postClick(tabs, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
    return true;
  }
  if (verb == "saytext") {
    if (!target_)
      return false;
    for (HWND child : children(target_))
      if (windowClass(child) == "Static" && windowText(child).find(argument) != std::string::npos)
        return true;
    return false;
  }
  if (verb == "shot") {
    if (!target_)
      return false;
    // The whole top-level window: in full screen, the pane with the
    // export window over it.
    HWND root = GetAncestor(target_, GA_ROOT);
    report_("ui.shot", saveWindowShot(root, argument) ? argument : "failed: " + argument);
    return true;
  }
  if (verb == "click" || verb == "notify" || verb == "report") {
    HWND control = Control(id);
    if (!control)
      return false;
    if (verb == "click")
      press(control);
    else if (verb == "notify")
      PostMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(id, STN_CLICKED),
                   reinterpret_cast<LPARAM>(control));
    else
      report_("ui." + std::to_string(next_) + "." + argument, windowText(control));
    return true;
  }
  if (!split(argument, id, value))
    return false;
  if (verb == "shown" || verb == "progress") {
    HWND control = Control(id, false);
    if (!control)
      return false;
    if (verb == "shown")
      return (IsWindowVisible(control) != FALSE) == (value == "1");
    return SendMessageA(control, PBM_GETPOS, 0, 0) == std::atoi(value.c_str());
  }
  HWND control = Control(id);
  if (!control)
    return false;
  if (verb == "type") {
    setText(control, value);
    return true;
  }
  if (verb == "slide") {
    int position = std::atoi(value.c_str());
    SendMessageA(control, TBM_SETPOS, TRUE, position);
    SendMessageA(GetParent(control), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                 reinterpret_cast<LPARAM>(control));
    SendMessageA(GetParent(control), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                 reinterpret_cast<LPARAM>(control));
    return true;
  }
  if (verb == "pick") {
    LRESULT item = SendMessageA(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(value.c_str()));
    if (item == CB_ERR)
      return false;
    SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(control));
    return true;
  }
  if (verb == "drag")
    return Drag(control, value);
  if (verb == "hold") {
    RECT rect{};
    GetWindowRect(control, &rect);
    HWND parent = GetParent(control);
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ScreenToClient(parent, &centre);
    bool down = value == "down";
    HWND to = !down && GetCapture() ? GetCapture() : parent;
    SendMessageA(to, down ? WM_LBUTTONDOWN : WM_LBUTTONUP, down ? MK_LBUTTON : 0,
                 MAKELPARAM(centre.x, centre.y));
    return true;
  }
  if (verb == "key") {
    std::size_t star = value.find('*');
    int repeat = star == std::string::npos ? 1 : std::atoi(value.c_str() + star + 1);
    UINT key = static_cast<UINT>(std::atoi(value.c_str()));
    SetFocus(control);
    LPARAM data = static_cast<LPARAM>(repeat & 0xFFFF) |
                  static_cast<LPARAM>(MapVirtualKeyA(key, 0) & 0xFF) << 16;
    PostMessageA(control, WM_KEYDOWN, key, data);
    return true;
  }
  if (verb == "exstyle" || verb == "noexstyle") {
    auto bits = static_cast<LONG_PTR>(std::strtoul(value.c_str(), nullptr, 16));
    LONG_PTR style = GetWindowLongPtrA(control, GWL_EXSTYLE);
    return verb == "exstyle" ? (style & bits) == bits : (style & bits) == 0;
  }
  if (verb == "expect")
    return windowText(control) == value;
  if (verb == "checked")
    return (SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED) == (value == "1");
  if (verb == "enabled")
    return (IsWindowEnabled(control) != FALSE) == (value == "1");
  report_("ui.failed", "unknown step " + verb);
  failed_ = true;
  return false;
}

} // namespace plugin_host
