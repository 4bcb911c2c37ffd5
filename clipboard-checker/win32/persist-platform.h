// The persistence component on Windows: stores in the registry, paths of
// the program and the system, the "except" message box, the load request
// WM_USER + 23 posted to a hidden window, and the owner form's destroy
// event.
#ifndef CLIPBOARD_CHECKER_WIN32_PERSIST_PLATFORM_H
#define CLIPBOARD_CHECKER_WIN32_PERSIST_PLATFORM_H

#include "clipboard-checker/core/kf-persist.h"

#include <windows.h>

#include <memory>

namespace lexitray {

// The message that asks the persistence component to load.
constexpr UINT WM_KFPERSIST_LOAD = WM_USER + 23;

std::unique_ptr<PersistPlatform> makePersistPlatform();
// The property tables of the component library's classes.
PropertyAccess &componentProperties();

// A persistence component for a form of the component library.
inline TkfPersist *createPersist(components::TComponent *owner) {
  return new TkfPersist(owner, makePersistPlatform(), componentProperties());
}

} // namespace lexitray

#endif
