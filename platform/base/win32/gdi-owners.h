// Owners for GDI objects and device contexts, and the scope that restores
// a DC's previously selected object. A window DC goes back with ReleaseDC,
// a created DC with DeleteDC: the two owners keep them apart.
#ifndef PLATFORM_BASE_GDI_OWNERS_H
#define PLATFORM_BASE_GDI_OWNERS_H

#include <windows.h>

#include <utility>

namespace base {

// A pen, brush, font, bitmap or region, deleted once.
template <typename T> class GdiObject {
public:
  GdiObject() = default;
  explicit GdiObject(T object) : object_(object) {}
  GdiObject(GdiObject &&other) noexcept : object_(other.release()) {}
  GdiObject &operator=(GdiObject &&other) noexcept {
    reset(other.release());
    return *this;
  }
  GdiObject(const GdiObject &) = delete;
  GdiObject &operator=(const GdiObject &) = delete;
  ~GdiObject() { reset(); }

  T get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  T release() { return std::exchange(object_, nullptr); }
  void reset(T object = nullptr) {
    if (T old = std::exchange(object_, object))
      DeleteObject(old);
  }

private:
  T object_ = nullptr;
};

// A DC from GetDC or GetWindowDC, released to its window.
class WindowDC {
public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDC(const WindowDC &) = delete;
  WindowDC &operator=(const WindowDC &) = delete;
  ~WindowDC() {
    if (dc_)
      ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

private:
  HWND window_;
  HDC dc_;
};

// A DC from CreateCompatibleDC or CreateDC, deleted.
class CreatedDC {
public:
  explicit CreatedDC(HDC dc) : dc_(dc) {}
  CreatedDC(const CreatedDC &) = delete;
  CreatedDC &operator=(const CreatedDC &) = delete;
  ~CreatedDC() {
    if (dc_)
      DeleteDC(dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

private:
  HDC dc_;
};

// Selects an object into a DC for the scope and puts the old one back, so
// the owner of the selected object may delete it afterwards.
class SelectedObject {
public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject &) = delete;
  SelectedObject &operator=(const SelectedObject &) = delete;
  ~SelectedObject() {
    if (old_ && old_ != HGDI_ERROR)
      SelectObject(dc_, old_);
  }
  bool ok() const { return old_ && old_ != HGDI_ERROR; }

private:
  HDC dc_;
  HGDIOBJ old_;
};

} // namespace base

#endif
