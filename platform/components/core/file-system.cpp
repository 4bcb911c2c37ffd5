// The real file system behind the FileSystem interface, and the path
// helpers. Files are read and written with the C library; listing,
// renaming and removal use std::filesystem.
#include "platform/components/core/file-system.h"

#include "platform/components/core/string-list.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace components {

namespace {

class StdioFileSystem : public FileSystem {
public:
  bool readFile(const std::string &path, std::string &contents) override;
  bool writeFile(const std::string &path, const std::string &contents) override;
  bool replaceFile(const std::string &source, const std::string &target) override;
  bool removeFile(const std::string &path) override;
  bool fileExists(const std::string &path) override;
  std::vector<std::string> listFiles(const std::string &directory,
                                     const std::string &pattern) override;
};

bool StdioFileSystem::readFile(const std::string &path, std::string &contents) {
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (!file)
    return false;
  std::string bytes;
  char buffer[16384];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    bytes.append(buffer, n);
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed)
    return false;
  contents.swap(bytes);
  return true;
}

bool StdioFileSystem::writeFile(const std::string &path, const std::string &contents) {
  std::FILE *file = std::fopen(path.c_str(), "wb");
  if (!file)
    return false;
  bool written = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
  written = std::fflush(file) == 0 && written;
  return std::fclose(file) == 0 && written;
}

// std::filesystem::rename replaces an existing target in one step on both
// systems (rename(2) on POSIX, a replacing move on Windows), where the C
// library's rename refuses an existing target on Windows.
bool StdioFileSystem::replaceFile(const std::string &source, const std::string &target) {
  std::error_code error;
  std::filesystem::rename(source, target, error);
  return !error;
}

bool StdioFileSystem::removeFile(const std::string &path) { return std::remove(path.c_str()) == 0; }

bool StdioFileSystem::fileExists(const std::string &path) {
  std::error_code error;
  std::filesystem::file_status status = std::filesystem::status(path, error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

// "*" matches every name, "*<tail>" names ending in tail (case ignored),
// anything else one name.
bool matchesPattern(const std::string &name, const std::string &pattern) {
  if (pattern.empty() || pattern[0] != '*')
    return SameText(name, pattern);
  std::string tail = pattern.substr(1);
  return name.size() >= tail.size() && SameText(name.substr(name.size() - tail.size()), tail);
}

std::vector<std::string> StdioFileSystem::listFiles(const std::string &directory,
                                                    const std::string &pattern) {
  std::vector<std::string> names;
  std::error_code error;
  std::filesystem::directory_iterator it(directory, error), end;
  for (; !error && it != end; it.increment(error)) {
    if (it->is_directory(error))
      continue;
    std::string name = it->path().filename().string();
    if (matchesPattern(name, pattern))
      names.push_back(name);
  }
  return names;
}

bool isDelimiter(char c) { return c == '\\' || c == '/' || c == ':'; }

// Index just past the last path delimiter (0 when there is none).
std::size_t nameStart(const std::string &path) {
  std::size_t i = path.size();
  while (i > 0 && !isDelimiter(path[i - 1]))
    --i;
  return i;
}

// Index of the extension's dot within the file name, or npos.
std::size_t extensionStart(const std::string &path) {
  std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < nameStart(path))
    return std::string::npos;
  return dot;
}

} // namespace

FileSystem &defaultFileSystem() {
  static StdioFileSystem fileSystem;
  return fileSystem;
}

std::string ExtractFilePath(const std::string &path) { return path.substr(0, nameStart(path)); }

std::string ExtractFileName(const std::string &path) { return path.substr(nameStart(path)); }

std::string ExtractFileExt(const std::string &path) {
  std::size_t dot = extensionStart(path);
  return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string ChangeFileExt(const std::string &path, const std::string &ext) {
  std::size_t dot = extensionStart(path);
  return (dot == std::string::npos ? path : path.substr(0, dot)) + ext;
}

bool FileExists(const std::string &path) { return defaultFileSystem().fileExists(path); }

} // namespace components
