// The splash window: a topmost popup over the host's window that paints
// one bitmap from the module's resources and closes itself on a timer or
// at the first key or mouse press. It also owns the process's wait-cursor
// hook, which keeps the hourglass up while the add-on works.
#ifndef CIRCUIT_SIM_SPLASH_WND_H
#define CIRCUIT_SIM_SPLASH_WND_H

#include <windows.h>

#include <cstddef>
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

  // Loads a DIB resource (loadDib). False when it cannot be had.
  bool loadBitmap(HINSTANCE module, UINT resource, COLORREF transparent = CLR_INVALID,
                  POINT reference = {-1, -1}, int tolerance = 0);
  // Takes a DIB (header, colour table, pixels) as the picture. The
  // transparent colour CLR_INVALID keeps the bitmap's whole rectangle;
  // any other makes the window leave out the pixels within tolerance (on
  // each of red, green and blue) of the colour found at the reference
  // point, or of the colour given when that point lies outside the
  // picture. False for a DIB too short for its header and colour table,
  // or one the screen cannot take.
  bool loadDib(const void *data, std::size_t size, COLORREF transparent = CLR_INVALID,
               POINT reference = {-1, -1}, int tolerance = 0);
  // The colour of the pixel at (x, y) from the top left, as 0x00BBGGRR;
  // -1 outside the picture.
  long pixel(int x, int y) const;
  // Whether the window leaves out the pixel at (x, y).
  bool transparentAt(int x, int y) const;
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
  void leaveOutTransparentPixels();

  HWND window_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HPALETTE palette_ = nullptr;
  std::vector<unsigned char> dib_; // header, colour table and pixels
  std::size_t bitsOffset_ = 0;
  int width_ = 0, height_ = 0;
  long transparent_ = -1; // the colour left out, or -1 for none
  int tolerance_ = 0;
  int timeoutMs_ = DefaultTimeoutMs;
  bool closeOnInput_ = true;
};

} // namespace qorsim

#endif
