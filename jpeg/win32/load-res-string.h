// String-table entries as Pixtune strings, of any length.
#ifndef JPEG_WIN32_LOAD_RES_STRING_H
#define JPEG_WIN32_LOAD_RES_STRING_H

#include "jpeg/core/tstring.h"

#include <windows.h>

namespace pixtune {

// The entry, or "" when there is none.
TString LoadResString(HINSTANCE instance, UINT id);

} // namespace pixtune

#endif
