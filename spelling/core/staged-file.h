// One INI-format file held in memory while it is read or rewritten. The
// INI class works on the copy through the FileSystem interface; commit()
// then writes the result next to the real file and replaces the real file
// with it in one step. A write that fails half way therefore never leaves
// a half-written user dictionary or configuration: the old file stays as
// it was. Reading from the copy also means one file read per load instead
// of one per key.
#ifndef SPELLING_STAGED_FILE_H
#define SPELLING_STAGED_FILE_H

#include "platform/components/core/file-system.h"

#include <string>
#include <utility>
#include <vector>

namespace spelling {

class StagedFile : public components::FileSystem {
public:
  // Every file other than path is reached read-only through base.
  StagedFile(components::FileSystem &base, std::string path);

  const std::string &path() const { return path_; }
  const std::string &contents() const { return contents_; }

  // Takes the file's current contents into memory; a missing file stages
  // as empty. Throws EFOpenError when the file exists but cannot be read,
  // so that a rewrite never starts from a wrong picture of the file.
  void load();
  // Writes the staged contents to path + ".new" and replaces path with it.
  // Throws EWriteError naming the file when a step fails; the old file is
  // then untouched and the temporary one removed where possible.
  void commit();

  bool readFile(const std::string &path, std::string &contents) override;
  bool writeFile(const std::string &path, const std::string &contents) override;
  bool replaceFile(const std::string &source, const std::string &target) override;
  bool removeFile(const std::string &path) override;
  bool fileExists(const std::string &path) override;
  std::vector<std::string> listFiles(const std::string &directory,
                                     const std::string &pattern) override;

private:
  bool isStaged(const std::string &path) const { return path == path_; }
  std::string *scratchFile(const std::string &path);

  components::FileSystem &base_;
  std::string path_;
  std::string contents_;
  bool exists_ = false;
  // Files the INI class writes beside the staged one on its way to
  // replacing it (its own write-then-replace); they never reach base.
  std::vector<std::pair<std::string, std::string>> scratch_;
};

} // namespace spelling

#endif
