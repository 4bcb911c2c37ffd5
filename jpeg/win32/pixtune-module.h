// The module instance of Pixtune.dll: every dialog and string is loaded
// from it.
#ifndef JPEG_WIN32_PIXTUNE_MODULE_H
#define JPEG_WIN32_PIXTUNE_MODULE_H

#include <windows.h>

namespace pixtune {

HINSTANCE moduleInstance();

} // namespace pixtune

#endif
