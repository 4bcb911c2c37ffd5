// Texts of the program's own string table, loaded into SetupStrings whose
// buffers grow until the whole text fits.
#ifndef INSTALLER_WIN32_SETUP_TEXTS_H
#define INSTALLER_WIN32_SETUP_TEXTS_H

#include "installer/core/setup-string.h"

namespace installer {

// The text with that identifier; empty when the table has none.
SetupString loadText(unsigned id);

} // namespace installer

#endif
