// The file operations that the component library's INI files and the
// programs' stored lists go through. The default implementation uses the
// C library; tests supply their own to fail the Nth write on purpose and
// check that nothing stored is lost.
#ifndef COMPONENTS_FILE_SYSTEM_H
#define COMPONENTS_FILE_SYSTEM_H

#include <string>
#include <vector>

namespace components {

class FileSystem {
public:
  virtual ~FileSystem() = default;
  // Whole-file read; false when the file cannot be opened.
  virtual bool readFile(const std::string &path, std::string &contents) = 0;
  // Whole-file write (create or truncate); false on any failure, in which
  // case the file may be partly written.
  virtual bool writeFile(const std::string &path, const std::string &contents) = 0;
  // Replaces target by source in one step; false on failure (target kept).
  virtual bool replaceFile(const std::string &source, const std::string &target) = 0;
  virtual bool removeFile(const std::string &path) = 0;
  virtual bool fileExists(const std::string &path) = 0;
  // Names (not paths) of the files in directory that match a pattern of the
  // form "*.ext" (extension compared without regard to case), in the order
  // the file system lists them.
  virtual std::vector<std::string> listFiles(const std::string &directory,
                                             const std::string &pattern) = 0;
};

// The process's real file system.
FileSystem &defaultFileSystem();

// Path helpers for 8-bit paths with either separator.
std::string ExtractFilePath(const std::string &path); // with trailing separator
std::string ExtractFileName(const std::string &path);
std::string ExtractFileExt(const std::string &path); // with the dot
std::string ChangeFileExt(const std::string &path, const std::string &ext);
bool FileExists(const std::string &path);

} // namespace components

#endif
