// The model library of a semiconductor kind as the module carries it: the
// resource of type "XML" and the kind's number, located, sized, loaded and
// locked, as one 8-bit text.
#ifndef SEMI_LIB_WIN32_MODEL_LIBRARY_RESOURCE_H
#define SEMI_LIB_WIN32_MODEL_LIBRARY_RESOURCE_H

#include "semi-lib/core/semi-kind.h"

#include <windows.h>

#include <string>

namespace semi {

// False, with text left empty, when any step yields nothing.
bool loadModelLibrary(HMODULE module, SemiKind kind, std::string &text);

} // namespace semi

#endif
