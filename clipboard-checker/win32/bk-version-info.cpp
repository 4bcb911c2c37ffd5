// Version resources through the platform's version functions.
#include "clipboard-checker/win32/bk-version-info.h"

#include "clipboard-checker/win32/utility-strings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace lexitray {

namespace {

std::string ownFileName() {
  char path[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, length);
}

// Whole text as a number, as the class library's conversion takes it.
bool readNumber(const std::string &text, double &number) {
  if (text.empty())
    return false;
  char *end = nullptr;
  number = std::strtod(text.c_str(), &end);
  return end && *end == '\0';
}

} // namespace

void TBkVersionInfo::SetFileName(const std::string &fileName) {
  fileName_ = fileName;
  loaded_ = false;
  load();
}

void TBkVersionInfo::load() {
  if (loaded_)
    return;
  std::string path = fileName_.empty() ? ownFileName() : fileName_;
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
    throw bkError<EBkVersionInfoError>(sErrorOpeningFile);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  std::vector<char> data(size);
  if (size == 0 || !GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
    throw bkError<EBkVersionInfoError>(sNoVersionInfo);
  data_ = std::move(data);
  void *value = nullptr;
  UINT length = 0;
  fixed_ = VS_FIXEDFILEINFO{};
  if (VerQueryValueA(data_.data(), "\\", &value, &length) && length >= sizeof fixed_)
    std::memcpy(&fixed_, value, sizeof fixed_);
  block_.clear();
  if (VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation", &value, &length) && length >= 4) {
    const auto *words = static_cast<const WORD *>(value);
    char name[40];
    std::snprintf(name, sizeof name, "\\StringFileInfo\\%.4x%.4x\\", words[0], words[1]);
    block_ = name;
  }
  loaded_ = true;
}

bool TBkVersionInfo::find(const std::string &key, std::string &text) {
  load();
  text.clear();
  if (block_.empty())
    return false;
  void *value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data_.data(), (block_ + key).c_str(), &value, &length) || !value)
    return false;
  // The length may or may not count the terminator.
  text.assign(static_cast<const char *>(value), length);
  std::size_t end = text.find('\0');
  if (end != std::string::npos)
    text.erase(end);
  return true;
}

std::string TBkVersionInfo::text(const std::string &key) {
  std::string value;
  find(key, value);
  return value;
}

std::string TBkVersionInfo::GetKey(const std::string &key) {
  std::string value;
  if (!find(key, value))
    throw bkError<EBkVersionInfoError>(sVersionKeyNotFound);
  return value;
}

const VS_FIXEDFILEINFO &TBkVersionInfo::FixedFileInfo() {
  load();
  return fixed_;
}

double TBkVersionInfo::VersionNumber() {
  std::string version = FileVersion();
  double number = 0;
  if (readNumber(version, number))
    return number;
  std::size_t first = version.find('.');
  std::size_t second = first == std::string::npos ? first : version.find('.', first + 1);
  std::string head = version.substr(0, std::min<std::size_t>(second, 6));
  return readNumber(head, number) ? number : 0;
}

} // namespace lexitray
