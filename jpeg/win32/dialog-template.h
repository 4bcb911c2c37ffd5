// A dialog resource copied into memory with its window styles changed, so
// one template serves as a popup and as a child (the main window and the
// preview pane in normal and full-screen mode). Both the plain and the
// extended template layouts are understood.
#ifndef JPEG_WIN32_DIALOG_TEMPLATE_H
#define JPEG_WIN32_DIALOG_TEMPLATE_H

#include <windows.h>

#include <vector>

namespace pixtune {

class PatchedTemplate {
public:
  // Empty when the resource is missing.
  PatchedTemplate(HINSTANCE instance, WORD id, DWORD addStyle, DWORD removeStyle,
                  DWORD removeExStyle);
  // Null when the resource is missing.
  const DLGTEMPLATE *Get() const {
    return words_.empty() ? nullptr : reinterpret_cast<const DLGTEMPLATE *>(words_.data());
  }
  DWORD Style() const;

private:
  std::size_t StyleOffset() const;
  std::vector<DWORD> words_; // DWORD-aligned, as the dialog calls want it
};

} // namespace pixtune

#endif
