// The installer's small decisions; see the header.
#include "installer/core/install-rules.h"

#include <cctype>

namespace installer {

namespace {

bool equalsIgnoringCase(const SetupString &text, const char *word) {
  const char *a = text.c_str();
  for (; *a && *word; ++a, ++word)
    if (std::tolower(static_cast<unsigned char>(*a)) !=
        std::tolower(static_cast<unsigned char>(*word)))
      return false;
  return *a == '\0' && *word == '\0';
}

} // namespace

SetupString uninstallCommand(const SetupString &uninstallString, bool safe) {
  return safe ? uninstallString + " safe" : uninstallString;
}

UninstallPlan planUninstall(const SetupString &commandLine, const SetupString &appPath) {
  SetupString folder(appPath);
  folder.trimRight();
  folder.trimLeft();
  if (folder.empty())
    return UninstallPlan::NothingInstalled;
  SetupString argument(commandLine);
  argument.trimRight();
  argument.trimLeft();
  return equalsIgnoringCase(argument, "safe") ? UninstallPlan::RemoveSafely
                                              : UninstallPlan::AskFirst;
}

const char *uninstallSection(UninstallPlan plan) {
  switch (plan) {
  case UninstallPlan::NothingInstalled:
    return "";
  case UninstallPlan::AskFirst:
    return "Uninstall";
  case UninstallPlan::RemoveSafely:
    return "UninstallSafe";
  }
  return "";
}

SetupString uninstallInfPath(const SetupString &windowsFolder) {
  bool endsInBackslash =
      windowsFolder.length() > 0 && windowsFolder.c_str()[windowsFolder.length() - 1] == '\\';
  return windowsFolder + (endsInBackslash ? "inf\\" : "\\inf\\") + "Pixtune.inf";
}

SetupString loadGrowing(const std::function<int(char *buffer, int size)> &load) {
  SetupString text;
  for (;;) {
    text.reserve(text.capacity() + 128);
    int size = static_cast<int>(text.capacity());
    int copied = load(text.data(), size);
    if (copied <= 0)
      return SetupString();
    text.syncLength();
    if (copied != size - 1)
      return text;
  }
}

} // namespace installer
