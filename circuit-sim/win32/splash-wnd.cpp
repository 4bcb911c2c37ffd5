#include "circuit-sim/win32/splash-wnd.h"

#include "circuit-sim/core/dib-pixels.h"
#include "circuit-sim/core/stopwatch-math.h"
#include "platform/base/win32/gdi-owners.h"

#include <cstring>

namespace qorsim {

const char SplashWnd::ClassName[] = "QorSimSplash";

namespace {

const UINT_PTR CloseTimer = 1;

// One hook per process: the hook procedure has no object to ask. It sees
// each message after the window has handled it, so that a window that
// sets its own cursor cannot take the hourglass away.
HHOOK waitHook = nullptr;
HCURSOR cursorBeforeWait = nullptr;

LRESULT CALLBACK waitCursorHook(int code, WPARAM wParam, LPARAM lParam) {
  const CWPRETSTRUCT *call = reinterpret_cast<const CWPRETSTRUCT *>(lParam);
  if (code == HC_ACTION && call && call->message == WM_SETCURSOR) {
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    return 0; // the hourglass wins over the other hooks
  }
  return CallNextHookEx(waitHook, code, wParam, lParam);
}

int colourTableEntries(const BITMAPINFOHEADER &header) {
  if (header.biClrUsed)
    return static_cast<int>(header.biClrUsed);
  return header.biBitCount <= 8 ? 1 << header.biBitCount : 0;
}

} // namespace

SplashWnd::~SplashWnd() {
  close();
  removeWaitCursor();
  freeBitmap();
}

void SplashWnd::freeBitmap() {
  if (bitmap_)
    DeleteObject(bitmap_);
  if (palette_)
    DeleteObject(palette_);
  bitmap_ = nullptr;
  palette_ = nullptr;
  dib_.clear();
  bitsOffset_ = 0;
  width_ = height_ = 0;
  transparent_ = NoPixel;
  tolerance_ = 0;
}

bool SplashWnd::loadBitmap(HINSTANCE module, UINT resource, COLORREF transparent, POINT reference,
                           int tolerance) {
  freeBitmap();
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resource), MAKEINTRESOURCEA(2));
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void *data = loaded ? LockResource(loaded) : nullptr;
  if (!data)
    return false;
  return loadDib(data, SizeofResource(module, found), transparent, reference, tolerance);
}

bool SplashWnd::loadDib(const void *data, std::size_t size, COLORREF transparent, POINT reference,
                        int tolerance) {
  freeBitmap();
  if (size < sizeof(BITMAPINFOHEADER))
    return false;
  dib_.assign(static_cast<const unsigned char *>(data),
              static_cast<const unsigned char *>(data) + size);
  BITMAPINFO *info = reinterpret_cast<BITMAPINFO *>(dib_.data());
  const BITMAPINFOHEADER &header = info->bmiHeader;
  const int entries = colourTableEntries(header);
  const std::size_t bitsOffset =
      header.biSize + static_cast<std::size_t>(entries) * sizeof(RGBQUAD);
  if (header.biSize < sizeof(BITMAPINFOHEADER) || entries < 0 || entries > 256 ||
      bitsOffset >= dib_.size()) {
    dib_.clear();
    return false;
  }

  HDC screen = GetDC(nullptr);
  if (entries > 0) {
    std::vector<unsigned char> storage(sizeof(LOGPALETTE) + entries * sizeof(PALETTEENTRY));
    LOGPALETTE *logical = reinterpret_cast<LOGPALETTE *>(storage.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(entries);
    PALETTEENTRY *out = logical->palPalEntry;
    for (int i = 0; i < entries; ++i)
      out[i] = {info->bmiColors[i].rgbRed, info->bmiColors[i].rgbGreen, info->bmiColors[i].rgbBlue,
                0};
    palette_ = CreatePalette(logical);
  } else if (GetDeviceCaps(screen, SIZEPALETTE) == 256) {
    palette_ = CreateHalftonePalette(screen);
  }
  HPALETTE old = palette_ ? SelectPalette(screen, palette_, FALSE) : nullptr;
  if (palette_)
    RealizePalette(screen);
  bitmap_ =
      CreateDIBitmap(screen, &header, CBM_INIT, dib_.data() + bitsOffset, info, DIB_RGB_COLORS);
  if (old)
    SelectPalette(screen, old, FALSE);
  ReleaseDC(nullptr, screen);
  bitsOffset_ = bitsOffset;
  width_ = header.biWidth;
  height_ = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  if (transparent != CLR_INVALID) {
    const long atReference = pixel(reference.x, reference.y);
    transparent_ = atReference != NoPixel ? atReference : static_cast<long>(transparent & 0xffffff);
    tolerance_ = tolerance;
  }
  return bitmap_ != nullptr;
}

long SplashWnd::pixel(int x, int y) const {
  if (dib_.empty())
    return NoPixel;
  const BITMAPINFOHEADER &header = reinterpret_cast<const BITMAPINFO *>(dib_.data())->bmiHeader;
  const DibView view{dib_.data() + header.biSize,
                     colourTableEntries(header),
                     dib_.data() + bitsOffset_,
                     dib_.size() - bitsOffset_,
                     static_cast<int>(header.biWidth),
                     static_cast<int>(header.biHeight),
                     header.biBitCount};
  return pixelAt(view, x, y);
}

bool SplashWnd::transparentAt(int x, int y) const {
  return transparent_ != NoPixel && coloursNear(pixel(x, y), transparent_, tolerance_);
}

// The window's region: each row's runs of kept pixels.
void SplashWnd::leaveOutTransparentPixels() {
  base::GdiObject<HRGN> kept(CreateRectRgn(0, 0, 0, 0));
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_;) {
      if (transparentAt(x, y)) {
        ++x;
        continue;
      }
      const int from = x;
      while (x < width_ && !transparentAt(x, y))
        ++x;
      base::GdiObject<HRGN> run(CreateRectRgn(from, y, x, y + 1));
      CombineRgn(kept.get(), kept.get(), run.get(), RGN_OR);
    }
  }
  SetWindowRgn(window_, kept.release(), FALSE); // the window owns the region now
}

bool SplashWnd::create(int timeoutMs, HWND parent) {
  if (!bitmap_)
    return false;
  timeoutMs_ = timeoutMs < 1 && timeoutMs != NoTimeout ? DefaultTimeoutMs : timeoutMs;
  if (window_)
    close();
  HINSTANCE instance = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&SplashWnd::windowProc), &instance);
  WNDCLASSA windowClass{};
  if (!GetClassInfoA(instance, ClassName, &windowClass)) {
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = ClassName;
    RegisterClassA(&windowClass);
  }
  window_ = CreateWindowExA(WS_EX_TOPMOST, ClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, width_,
                            height_, parent, nullptr, instance, this);
  if (!window_)
    return false;
  SetFocus(window_);
  UpdateWindow(window_);
  return true;
}

void SplashWnd::setTimeout(int milliseconds) {
  if (!window_)
    return;
  if (milliseconds <= 0) {
    close();
    return;
  }
  timeoutMs_ = milliseconds;
  SetTimer(window_, CloseTimer, static_cast<UINT>(milliseconds), nullptr);
}

void SplashWnd::closeTenSecondsAfter(std::int64_t shownSeconds, std::int64_t nowSeconds) {
  setTimeout(static_cast<int>(splashCloseDelayMs(shownSeconds, nowSeconds)));
}

void SplashWnd::close() {
  if (!window_)
    return;
  HWND window = window_;
  window_ = nullptr;
  ShowWindow(window, SW_HIDE);
  KillTimer(window, CloseTimer);
  if (GetCapture() == window)
    ReleaseCapture();
  DestroyWindow(window);
}

void SplashWnd::centreOverParent() {
  RECT area{};
  HWND parent = GetWindow(window_, GW_OWNER);
  if (!parent || !IsWindowVisible(parent) || IsIconic(parent) || !GetWindowRect(parent, &area))
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  const int x = area.left + (area.right - area.left - width_) / 2;
  const int y = area.top + (area.bottom - area.top - height_) / 2;
  SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SplashWnd::paint() {
  PAINTSTRUCT paintInfo;
  HDC dc = BeginPaint(window_, &paintInfo);
  HPALETTE oldPalette = palette_ ? SelectPalette(dc, palette_, FALSE) : nullptr;
  if (palette_)
    RealizePalette(dc);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap_);
  BitBlt(dc, 0, 0, width_, height_, memory, 0, 0, SRCCOPY);
  SelectObject(memory, oldBitmap);
  DeleteDC(memory);
  if (oldPalette)
    SelectPalette(dc, oldPalette, FALSE);
  EndPaint(window_, &paintInfo);
}

LRESULT CALLBACK SplashWnd::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto *self =
        static_cast<SplashWnd *>(reinterpret_cast<CREATESTRUCTA *>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
  }
  auto *self = reinterpret_cast<SplashWnd *>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self || self->window_ != window)
    return DefWindowProcA(window, message, wParam, lParam);
  return self->handle(message, wParam, lParam);
}

LRESULT SplashWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_CREATE:
    if (transparent_ != NoPixel)
      leaveOutTransparentPixels();
    centreOverParent();
    if (timeoutMs_ != NoTimeout)
      SetTimer(window_, CloseTimer, static_cast<UINT>(timeoutMs_), nullptr);
    SetCapture(window_);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    return 0;
  case WM_PAINT:
    paint();
    return 0;
  case WM_TIMER:
    if (wParam == CloseTimer)
      close();
    return 0;
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN:
  case WM_LBUTTONDOWN:
  case WM_MBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_NCLBUTTONDOWN:
  case WM_NCMBUTTONDOWN:
  case WM_NCRBUTTONDOWN:
    if (closeOnInput_) {
      close();
      return 0;
    }
    break;
  case WM_NCDESTROY: // destroyed with its owner: forget the handle
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    window_ = nullptr;
    return 0;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

void SplashWnd::installWaitCursor(HWND window) {
  if (waitHook)
    return;
  const DWORD thread = window ? GetWindowThreadProcessId(window, nullptr) : GetCurrentThreadId();
  waitHook = SetWindowsHookExA(WH_CALLWNDPROCRET, waitCursorHook, nullptr, thread);
  if (waitHook) // a hook that cannot be had leaves the cursor alone
    cursorBeforeWait = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
}

void SplashWnd::removeWaitCursor() {
  if (!waitHook)
    return;
  UnhookWindowsHookEx(waitHook);
  waitHook = nullptr;
  SetCursor(cursorBeforeWait);
  cursorBeforeWait = nullptr;
}

bool SplashWnd::waitCursorInstalled() { return waitHook != nullptr; }

} // namespace qorsim
