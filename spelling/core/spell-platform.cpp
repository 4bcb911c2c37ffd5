// The platform hooks that new spelling components start with.
#include "spelling/core/spell-platform.h"

namespace spelling {

TSpellPlatform &DefaultSpellPlatform() {
  static TSpellPlatform platform;
  return platform;
}

} // namespace spelling
