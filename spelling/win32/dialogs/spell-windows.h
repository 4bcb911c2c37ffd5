// The spelling component's platform hooks on Windows: the application's
// message loop, message boxes, help, the screen, and the check and options
// dialogs of this folder.
#ifndef SPELLING_WIN32_DIALOGS_SPELL_WINDOWS_H
#define SPELLING_WIN32_DIALOGS_SPELL_WINDOWS_H

#include "spelling/core/spell-platform.h"

namespace spelling {

// Sets every hook but the parser factories (see control-parsers.h).
void InstallSpellWindows(TSpellPlatform &platform);

} // namespace spelling

#endif
