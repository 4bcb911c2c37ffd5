// String tables in RCDATA resources; the lookups themselves are the
// core's StringTableView.
#include "clipboard-checker/win32/string-resource.h"

#include "clipboard-checker/core/string-table.h"

#include <string>

namespace lexitray {

namespace {

constexpr int cannotLock = 2, resourceNotFound = 3, cannotOpen = 4, notATable = 5;
// Names are kept to what the reader has room for.
constexpr std::size_t maxResourceName = 255;

std::string toAnsi(const std::u16string &text) {
  if (text.empty())
    return std::string();
  const auto *wide = reinterpret_cast<const wchar_t *>(text.data());
  int units = static_cast<int>(text.size());
  int length = WideCharToMultiByte(CP_ACP, 0, wide, units, nullptr, 0, nullptr, nullptr);
  if (length <= 0)
    return std::string();
  std::string ansi(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, units, &ansi[0], length, nullptr, nullptr);
  return ansi;
}

// Replaces the first "%s" or "%d" of format by arg.
std::string formatted(const std::string &format, const std::string &arg) {
  std::size_t at = format.find("%s");
  if (at == std::string::npos)
    at = format.find("%d");
  if (at == std::string::npos)
    return format;
  return format.substr(0, at) + arg + format.substr(at + 2);
}

} // namespace

std::string stringResourceMessage(int id, const std::string &arg) {
  // The reader's own table is read directly, never through a
  // TzmStringResource: its failures would need these very messages. When
  // it is itself missing or damaged, the bare argument has to do.
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(instance, "SRMGR_STRINGS", MAKEINTRESOURCEA(10)); // RT_RCDATA
  HGLOBAL resource = found ? LoadResource(instance, found) : nullptr;
  const void *data = resource ? LockResource(resource) : nullptr;
  std::u16string format;
  if (data) {
    StringTableView table(static_cast<const std::uint8_t *>(data), SizeofResource(instance, found));
    table.find(static_cast<std::uint32_t>(id), format);
  }
  if (format.empty())
    return "SRMGR_STRINGS " + std::to_string(id) + ": " + arg;
  return formatted(toAnsi(format), arg);
}

TzmStringResource::TzmStringResource(HINSTANCE instance, const std::string &resourceName)
    : resourceName_(resourceName.substr(0, maxResourceName)) {
  if (resourceName_.empty())
    return;
  HRSRC found = FindResourceA(instance, resourceName_.c_str(), MAKEINTRESOURCEA(10)); // RT_RCDATA
  if (!found)
    throw ETzmStringResourceError(stringResourceMessage(resourceNotFound, resourceName_));
  resource_ = LoadResource(instance, found);
  if (!resource_)
    throw ETzmStringResourceError(stringResourceMessage(cannotOpen, resourceName_));
  size_ = SizeofResource(instance, found);
  const void *data = lock();
  StringTableView table(static_cast<const std::uint8_t *>(data), size_);
  if (!table.hasValidHeader())
    throw ETzmStringResourceError(stringResourceMessage(notATable, resourceName_));
}

const void *TzmStringResource::lock() const {
  // Locked resources of a loaded module stay put until it is unloaded;
  // there is no matching unlock to call.
  const void *data = LockResource(resource_);
  if (!data)
    throw ETzmStringResourceError(stringResourceMessage(cannotLock, resourceName_));
  return data;
}

std::string TzmStringResource::GetString(int id) const {
  if (!resource_)
    return std::string();
  StringTableView table(static_cast<const std::uint8_t *>(lock()), size_);
  std::u16string text;
  table.find(static_cast<std::uint32_t>(id), text);
  return toAnsi(text);
}

} // namespace lexitray
