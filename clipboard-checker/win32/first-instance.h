// The single-instance guard: a named mutex, "PREVINST:" followed by the
// application window's title at start-up (still the default title made
// from the program file's name), created before the main block runs. The
// first instance owns it until it exits; a later one brings the earlier
// instance's window (or its last active pop-up) to the front and ends.
#ifndef CLIPBOARD_CHECKER_WIN32_FIRST_INSTANCE_H
#define CLIPBOARD_CHECKER_WIN32_FIRST_INSTANCE_H

#include <string>

namespace lexitray {

// "PREVINST:" + the application window's current title (at most 512
// characters of it).
std::string GetInstanceMutexName();
// Creates the mutex; the first instance is the one whose creation reports
// no error at all. A mutex that cannot be created means "not first".
void FirstInstanceInit();
// Closes the mutex handle, if there is one.
void FirstInstanceDone();
bool IsFirstInstance();
// From a later instance: restores the earlier instance's application
// window when it is minimised, else raises its last active pop-up (or the
// window itself). Stops quietly whenever a step finds nothing.
void ActivateFirstInstance();

} // namespace lexitray

#endif
