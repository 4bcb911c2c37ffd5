// Owners for the window-system handles that the component library keeps:
// windows, GDI objects, device contexts, menus, registry keys, modules, the
// open clipboard and locked global memory. Each is movable, not copyable,
// and releases its handle exactly once.
#ifndef COMPONENTS_WIN32_HANDLES_H
#define COMPONENTS_WIN32_HANDLES_H

#include <windows.h>

#include <utility>

namespace components {
namespace handles {

// Owns a T released by Release when it is not null.
template <typename T, typename Release> class Unique {
public:
  Unique() = default;
  explicit Unique(T value) : value_(value) {}
  Unique(Unique &&other) noexcept : value_(other.release()) {}
  Unique &operator=(Unique &&other) noexcept {
    reset(other.release());
    return *this;
  }
  Unique(const Unique &) = delete;
  Unique &operator=(const Unique &) = delete;
  ~Unique() { reset(); }

  T get() const { return value_; }
  explicit operator bool() const { return value_ != nullptr; }
  T release() { return std::exchange(value_, nullptr); }
  void reset(T value = nullptr) {
    T old = std::exchange(value_, value);
    if (old)
      Release()(old);
  }

private:
  T value_ = nullptr;
};

struct DestroyWindowRelease {
  void operator()(HWND window) const { DestroyWindow(window); }
};
struct DeleteObjectRelease {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DestroyMenuRelease {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct RegCloseKeyRelease {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
struct FreeLibraryRelease {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
struct DeleteDcRelease {
  void operator()(HDC dc) const { DeleteDC(dc); }
};

using UniqueWindow = Unique<HWND, DestroyWindowRelease>;
using UniqueFont = Unique<HFONT, DeleteObjectRelease>;
using UniqueBrush = Unique<HBRUSH, DeleteObjectRelease>;
using UniquePen = Unique<HPEN, DeleteObjectRelease>;
using UniqueBitmap = Unique<HBITMAP, DeleteObjectRelease>;
using UniqueMenu = Unique<HMENU, DestroyMenuRelease>;
using UniqueKey = Unique<HKEY, RegCloseKeyRelease>;
using UniqueModule = Unique<HMODULE, FreeLibraryRelease>;
using UniqueMemoryDc = Unique<HDC, DeleteDcRelease>;

// A window's device context from GetDC, given back with ReleaseDC.
class WindowDc {
public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_)
      ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc &) = delete;
  WindowDc &operator=(const WindowDc &) = delete;
  HDC get() const { return dc_; }

private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectedObject {
public:
  SelectedObject(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (previous_)
      SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject &) = delete;
  SelectedObject &operator=(const SelectedObject &) = delete;

private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The clipboard while it is open; closed on every path.
class OpenClipboardScope {
public:
  explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~OpenClipboardScope() {
    if (open_)
      CloseClipboard();
  }
  OpenClipboardScope(const OpenClipboardScope &) = delete;
  OpenClipboardScope &operator=(const OpenClipboardScope &) = delete;
  bool isOpen() const { return open_; }

private:
  bool open_;
};

// Global memory locked for reading or writing.
class GlobalLockScope {
public:
  explicit GlobalLockScope(HGLOBAL memory)
      : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
  ~GlobalLockScope() {
    if (data_)
      GlobalUnlock(memory_);
  }
  GlobalLockScope(const GlobalLockScope &) = delete;
  GlobalLockScope &operator=(const GlobalLockScope &) = delete;
  void *data() const { return data_; }

private:
  HGLOBAL memory_;
  void *data_;
};

// Global memory owned until handed to the clipboard.
struct GlobalFreeRelease {
  void operator()(HGLOBAL memory) const { GlobalFree(memory); }
};
using UniqueGlobal = Unique<HGLOBAL, GlobalFreeRelease>;

} // namespace handles
} // namespace components

#endif
