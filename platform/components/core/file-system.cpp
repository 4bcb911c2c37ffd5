// The real file system behind the FileSystem interface, and the path
// helpers. Files are read, written, removed and looked at with the C
// library, which takes and gives 8-bit names in the ANSI code page on
// Windows; a file replaces another through std::filesystem, the one
// portable call that does it in one step; folders are listed with
// std::filesystem on POSIX and with the C library's _findfirst on Windows.
//
// On Windows std::filesystem is kept away from names where it can be,
// because libstdc++ there widens an 8-bit name byte by byte (so "\x80" is
// not the euro sign of the ANSI code page) and narrows the names it lists
// to UTF-8.
#include "platform/components/core/file-system.h"

#include "platform/components/core/string-list.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#endif

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
// library's rename refuses an existing target on Windows. When the widened
// names miss the files (bytes 0x80..0x9F of the ANSI code page), the C
// library finishes the job in two steps; the new contents stay safe in the
// source file between them.
bool StdioFileSystem::replaceFile(const std::string &source, const std::string &target) {
  std::error_code error;
  std::filesystem::rename(source, target, error);
  if (!error)
    return true;
  if (!fileExists(source))
    return false;
  if (fileExists(target) && std::remove(target.c_str()) != 0)
    return false;
  return std::rename(source.c_str(), target.c_str()) == 0;
}

bool StdioFileSystem::removeFile(const std::string &path) { return std::remove(path.c_str()) == 0; }

bool StdioFileSystem::fileExists(const std::string &path) {
#ifdef _WIN32
  struct _stat64 status;
  if (_stat64(path.c_str(), &status) != 0)
    return false;
#else
  struct stat status;
  if (stat(path.c_str(), &status) != 0)
    return false;
#endif
  return (status.st_mode & S_IFMT) != S_IFDIR;
}

// "*" matches every name, "*<tail>" names ending in tail (case ignored),
// anything else one name.
bool matchesPattern(const std::string &name, const std::string &pattern) {
  if (pattern.empty() || pattern[0] != '*')
    return SameText(name, pattern);
  std::string tail = pattern.substr(1);
  return name.size() >= tail.size() && SameText(name.substr(name.size() - tail.size()), tail);
}

// The names of the files (not folders) in directory, as the system lists
// them; empty when the directory cannot be read.
std::vector<std::string> directoryFiles(const std::string &directory) {
  std::vector<std::string> names;
#ifdef _WIN32
  struct __finddata64_t found;
  intptr_t search = _findfirst64((directory + "\\*").c_str(), &found);
  if (search == -1)
    return names;
  do {
    if (!(found.attrib & _A_SUBDIR))
      names.push_back(found.name);
  } while (_findnext64(search, &found) == 0);
  _findclose(search);
#else
  std::error_code error;
  std::filesystem::directory_iterator it(directory, error), end;
  for (; !error && it != end; it.increment(error))
    if (!it->is_directory(error))
      names.push_back(it->path().filename().string());
#endif
  return names;
}

std::vector<std::string> StdioFileSystem::listFiles(const std::string &directory,
                                                    const std::string &pattern) {
  std::vector<std::string> names;
  for (const std::string &name : directoryFiles(directory))
    if (matchesPattern(name, pattern))
      names.push_back(name);
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
