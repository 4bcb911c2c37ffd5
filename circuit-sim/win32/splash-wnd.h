// The splash window: a topmost popup over the host's window that paints
// one bitmap from the module's resources and closes itself on a timer or
// at the first key or mouse press. It also owns the process's wait-cursor
// hook, which keeps the hourglass up while the add-on works.
#ifndef CIRCUIT_SIM_SPLASH_WND_H
#define CIRCUIT_SIM_SPLASH_WND_H

#include <windows.h>

#include <cstdint>
#include <vector>

namespace qorsim {

class SplashWnd {
public:
  static const int NoTimeout = -1;
  static const int DefaultTimeoutMs = 750;
  static const char ClassName[];

  SplashWnd() = default;
  ~SplashWnd();
  SplashWnd(const SplashWnd &) = delete;
  SplashWnd &operator=(const SplashWnd &) = delete;

  // Loads a DIB resource; the transparent colour CLR_INVALID keeps the
  // bitmap's whole rectangle. False when the resource cannot be had.
  bool loadBitmap(HINSTANCE module, UINT resource, COLORREF transparent = CLR_INVALID);
  // Shows the window over `parent` (closing a shown one first); false
  // without a bitmap or when the window cannot be created.
  bool create(int timeoutMs, HWND parent);
  // A positive delay (re)starts the closing timer; zero or less closes now.
  void setTimeout(int milliseconds);
  void close();
  // The splash stays 10 seconds after it was shown: closes after what is
  // left of them at `nowSeconds`, or at once when they have passed.
  void closeTenSecondsAfter(std::int64_t shownSeconds, std::int64_t nowSeconds);
  HWND window() const { return window_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // The process's one wait-cursor hook on the thread that owns `window`.
  static void installWaitCursor(HWND window);
  // Unhooks and restores the cursor it replaced; nothing when not hooked.
  static void removeWaitCursor();
  static bool waitCursorInstalled();

private:
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void freeBitmap();
  void paint();
  void centreOverParent();

  HWND window_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HPALETTE palette_ = nullptr;
  std::vector<unsigned char> dib_; // header, colour table and pixels
  int width_ = 0, height_ = 0;
  int timeoutMs_ = DefaultTimeoutMs;
  bool closeOnInput_ = true;
};

} // namespace qorsim

#endif
