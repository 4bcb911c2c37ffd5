// Drives the dialogs from inside the message loops that show them, as a
// person would: a timer looks at the windows on the screen at each tick
// and, when the next step's window is there, acts on it (types into an
// edit, presses a button). Steps run in order; each answers true once it
// has acted. A script that stalls gives up after a deadline by pressing
// whatever ends the dialogs, so no test can hang.
#ifndef TESTING_DIALOG_DRIVER_H
#define TESTING_DIALOG_DRIVER_H

#include "testing/dialog-test-support.h"

#include "platform/base/win32/unique-handle.h"
#include "platform/components/win32/utility.h"

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace dialog_test {

inline BOOL CALLBACK collectTopLevel(HWND window, LPARAM list) {
  if (IsWindowVisible(window))
    reinterpret_cast<std::vector<HWND> *>(list)->push_back(window);
  return TRUE;
}

// The visible top-level window of this thread with this caption, or null.
inline HWND findTopLevel(const std::string &caption) {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), collectTopLevel, reinterpret_cast<LPARAM>(&windows));
  for (HWND window : windows)
    if (windowText(window) == caption)
      return window;
  return nullptr;
}

// The visible message dialog (a form of ours) whose text begins with
// prefix, or null.
inline HWND findMessage(const std::string &prefix) {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), collectTopLevel, reinterpret_cast<LPARAM>(&windows));
  for (HWND window : windows)
    for (HWND label : findChildren(window, "Static"))
      if (windowText(label).compare(0, prefix.size(), prefix) == 0)
        return window;
  return nullptr;
}

// Queues a press of the button, as the mouse would: the press runs when
// the step has returned, so a press that opens a modal loop (a message,
// the options dialog) lets the next steps run inside it.
inline bool pressIfEnabled(HWND parent, const std::string &caption) {
  HWND button = parent ? findChild(parent, "Button", caption) : nullptr;
  if (!button || !IsWindowEnabled(button) || !IsWindowVisible(button))
    return false;
  PostMessageA(button, BM_CLICK, 0, 0);
  return true;
}

class DialogDriver {
public:
  using Step = std::function<bool()>;

  // giveUp: what the driver does at each tick once the deadline passed.
  DialogDriver(std::vector<Step> steps, std::function<void()> giveUp, DWORD deadlineMs = 60000)
      : steps_(std::move(steps)), giveUp_(std::move(giveUp)),
        deadline_(GetTickCount() + deadlineMs), timer_(nullptr) {
    timer_.SetInterval(40);
    timer_.OnTimer = [this](components::TObject *) { tick(); };
  }
  bool Finished() const { return next_ >= steps_.size(); }
  std::size_t StepsDone() const { return next_; }

private:
  void tick() {
    if (busy_)
      return; // a step's press is still running its own message loop
    busy_ = true;
    if (static_cast<LONG>(GetTickCount() - deadline_) > 0)
      giveUp_();
    else if (!Finished() && steps_[next_]())
      ++next_;
    busy_ = false;
  }

  std::vector<Step> steps_;
  std::function<void()> giveUp_;
  DWORD deadline_;
  std::size_t next_ = 0;
  bool busy_ = false;
  components::TTimer timer_;
};

// Writes what the screen shows of a window into a 24-bit BMP file; false
// when it cannot, or when the picture is blank (a painted dialog shows at
// least its face, text, edges and a white field: four colours or more).
inline bool saveWindowShot(HWND window, const std::string &path) {
  RECT rect{};
  GetWindowRect(window, &rect);
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0)
    return false;
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  base::WindowDC screen(nullptr);
  base::CreatedDC memory(CreateCompatibleDC(screen.get()));
  base::GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get(), width, height));
  if (!memory || !bitmap)
    return false;
  int stride = (width * 3 + 3) & ~3;
  std::vector<char> pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  {
    base::SelectedObject selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY);
  }
  if (!GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(height), pixels.data(), &info,
                 DIB_RGB_COLORS))
    return false;
  std::set<unsigned> colours;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const auto *pixel = reinterpret_cast<const unsigned char *>(
          &pixels[static_cast<std::size_t>(y * stride + x * 3)]);
      colours.insert(pixel[0] | pixel[1] << 8 | pixel[2] << 16);
    }
  if (colours.size() < 4)
    return false;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42; // "BM"
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  base::FileHandle out(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!out)
    return false;
  DWORD written = 0;
  return WriteFile(out.get(), &file, sizeof file, &written, nullptr) &&
         WriteFile(out.get(), &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
         WriteFile(out.get(), pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
}

} // namespace dialog_test

#endif
