// The background window and its painting.
#include "installer/win32/setup-window.h"

#include "installer/win32/resource.h"
#include "installer/win32/setup-texts.h"
#include "platform/base/win32/gdi-owners.h"

#include <string>

namespace installer {

namespace {

const char *const className = "TarvosSetupAppClass";
const COLORREF darkBlue = RGB(0, 0, 140);

// Without a palette, one line per pixel row from dark blue towards light
// grey-blue; with one, a solid blue that every palette can show.
void paintBackground(HDC dc, const RECT &client, bool palette) {
  if (palette) {
    base::GdiObject<HBRUSH> brush(CreateSolidBrush(darkBlue));
    FillRect(dc, &client, brush.get());
    return;
  }
  int height = client.bottom > 0 ? client.bottom : 1;
  for (int i = 0; i < client.bottom; ++i) {
    int t = i * 220 / height;
    base::GdiObject<HBRUSH> brush(CreateSolidBrush(RGB(t, t, 110 + t / 2)));
    RECT line = {0, i, client.right, i + 1};
    FillRect(dc, &line, brush.get());
  }
}

void paintText(HDC dc, RECT area, unsigned id, const char *face, int height, int weight,
               bool italic, COLORREF colour, UINT format) {
  base::GdiObject<HFONT> font(CreateFontA(height, 0, 0, 0, weight, italic, FALSE, FALSE,
                                          ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                          DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
  base::SelectedObject selected(dc, font.get());
  SetTextColor(dc, colour);
  SetBkMode(dc, TRANSPARENT);
  std::string text = loadText(id).c_str();
  DrawTextA(dc, text.c_str(), -1, &area, format);
}

void paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!dc)
    return;
  RECT client;
  GetClientRect(window, &client);
  bool palette = GetDeviceCaps(dc, NUMCOLORS) != -1;
  paintBackground(dc, client, palette);
  RECT top = client;
  top.top += 16;
  paintText(dc, top, IDS_TITLE, "Times", 44, 900, true, RGB(255, 255, 255), DT_CENTER | DT_TOP);
  RECT bottom = client;
  bottom.bottom -= 8;
  paintText(dc, bottom, IDS_MAKER_NOTICE, "Arial", 22, 500, false,
            palette ? RGB(255, 255, 255) : darkBlue, DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
  EndPaint(window, &ps);
}

LRESULT CALLBACK setupWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    switch (msg) {
    case WM_PAINT:
      paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1; // the paint covers every pixel
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
    }
  } catch (...) {
    return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

} // namespace

HWND createSetupWindow(HINSTANCE instance) {
  WNDCLASSA windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = setupWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));     // IDI_APPLICATION
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
  windowClass.lpszMenuName = "GenericAppMenu";
  windowClass.lpszClassName = className;
  if (!RegisterClassA(&windowClass))
    return nullptr;
  HWND window = CreateWindowExA(0, className, "Setup", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                nullptr, instance, nullptr);
  if (!window)
    return nullptr;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  placement.showCmd = SW_SHOWMAXIMIZED;
  SetWindowPlacement(window, &placement);
  // Wine without a window manager leaves a window restored that was only
  // placed maximised.
  if (!IsZoomed(window))
    ShowWindow(window, SW_SHOWMAXIMIZED);
  UpdateWindow(window);
  return window;
}

} // namespace installer
