// The installer's small decisions; see the header.
#include "installer/core/install-rules.h"

#include <cctype>
#include <string>

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

SetupString makerFolderOf(const SetupString &pluginFolder) {
  std::string folder = pluginFolder.c_str();
  while (!folder.empty() && folder.back() == '\\')
    folder.pop_back();
  std::size_t slash = folder.rfind('\\');
  if (slash == std::string::npos)
    return SetupString();
  std::string parent = folder.substr(0, slash);
  std::size_t nameStart = parent.rfind('\\');
  std::string name = nameStart == std::string::npos ? parent : parent.substr(nameStart + 1);
  if (!equalsIgnoringCase(name.c_str(), "Tarvos Technologies"))
    return SetupString();
  return SetupString(parent.c_str());
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
