// Template patching.
#include "jpeg/win32/dialog-template.h"

#include <cstring>

namespace pixtune {

namespace {

bool extended(const std::vector<DWORD> &words) {
  WORD head[2];
  std::memcpy(head, words.data(), sizeof head);
  return head[0] == 1 && head[1] == 0xFFFF;
}

DWORD readDword(const std::vector<DWORD> &words, std::size_t offset) {
  DWORD value;
  std::memcpy(&value, reinterpret_cast<const char *>(words.data()) + offset, sizeof value);
  return value;
}

void writeDword(std::vector<DWORD> &words, std::size_t offset, DWORD value) {
  std::memcpy(reinterpret_cast<char *>(words.data()) + offset, &value, sizeof value);
}

} // namespace

PatchedTemplate::PatchedTemplate(HINSTANCE instance, WORD id, DWORD addStyle, DWORD removeStyle,
                                 DWORD removeExStyle) {
  HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
  HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
  const void *data = loaded ? LockResource(loaded) : nullptr;
  DWORD bytes = found ? SizeofResource(instance, found) : 0;
  if (!data || bytes < 18)
    return;
  words_.resize((bytes + 3) / 4);
  std::memcpy(words_.data(), data, bytes);
  // Extended: version, signature, help id, extended style, style.
  // Plain: style, extended style.
  std::size_t style = StyleOffset(), exStyle = extended(words_) ? 8 : 4;
  writeDword(words_, style, (readDword(words_, style) & ~removeStyle) | addStyle);
  writeDword(words_, exStyle, readDword(words_, exStyle) & ~removeExStyle);
}

std::size_t PatchedTemplate::StyleOffset() const { return extended(words_) ? 12 : 0; }

DWORD PatchedTemplate::Style() const {
  return words_.empty() ? 0 : readDword(words_, StyleOffset());
}

} // namespace pixtune
