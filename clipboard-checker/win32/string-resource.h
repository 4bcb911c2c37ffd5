// TzmStringResource: one "STR0" string table of a module's RCDATA
// resources, opened once and read by number. Failures raise
// ETzmStringResourceError with a message from the reader's own table
// "SRMGR_STRINGS".
#ifndef CLIPBOARD_CHECKER_WIN32_STRING_RESOURCE_H
#define CLIPBOARD_CHECKER_WIN32_STRING_RESOURCE_H

#include "clipboard-checker/core/bk-base.h"

#include <windows.h>

#include <string>

namespace lexitray {

class TzmStringResource : public components::TObject {
public:
  // Opens the table; an empty name makes an object without one (every
  // lookup then gives empty text). Raises when the resource is missing,
  // cannot be loaded or locked, or is not a sound "STR0" table.
  TzmStringResource(HINSTANCE instance, const std::string &resourceName);

  // The text of entry id in the ANSI code page; empty when there is none.
  std::string GetString(int id) const;

private:
  const void *lock() const;

  std::string resourceName_;
  HGLOBAL resource_ = nullptr; // module memory: never freed by us
  DWORD size_ = 0;
};

// The reader's message with the given number, with arg formatted in for
// its "%s" or "%d".
std::string stringResourceMessage(int id, const std::string &arg);

} // namespace lexitray

#endif
