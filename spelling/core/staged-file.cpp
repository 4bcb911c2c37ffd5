// One INI-format file staged in memory and committed by write-then-replace.
#include "spelling/core/staged-file.h"

#include "platform/components/core/exception.h"

namespace spelling {

StagedFile::StagedFile(components::FileSystem &base, std::string path)
    : base_(base), path_(std::move(path)) {}

void StagedFile::load() {
  std::string text;
  if (base_.readFile(path_, text)) {
    contents_ = std::move(text);
    exists_ = true;
    return;
  }
  if (base_.fileExists(path_))
    throw components::EFOpenError("Cannot read file \"" + path_ + "\".");
  contents_.clear();
  exists_ = false;
}

void StagedFile::commit() {
  // The temporary file sits beside the target so that the replacement
  // stays within one volume and can be done in one step.
  std::string temporary = path_ + ".new";
  if (!base_.writeFile(temporary, contents_)) {
    base_.removeFile(temporary);
    throw components::EWriteError("Cannot write file \"" + temporary + "\".");
  }
  if (!base_.replaceFile(temporary, path_)) {
    base_.removeFile(temporary);
    throw components::EWriteError("Cannot replace file \"" + path_ + "\" by \"" + temporary +
                                  "\".");
  }
  exists_ = true;
}

std::string *StagedFile::scratchFile(const std::string &path) {
  for (auto &file : scratch_)
    if (file.first == path)
      return &file.second;
  return nullptr;
}

bool StagedFile::readFile(const std::string &path, std::string &contents) {
  if (std::string *scratch = scratchFile(path)) {
    contents = *scratch;
    return true;
  }
  if (!isStaged(path))
    return base_.readFile(path, contents);
  if (!exists_)
    return false;
  contents = contents_;
  return true;
}

bool StagedFile::writeFile(const std::string &path, const std::string &contents) {
  if (isStaged(path)) {
    contents_ = contents;
    exists_ = true;
    return true;
  }
  if (std::string *scratch = scratchFile(path))
    *scratch = contents;
  else
    scratch_.emplace_back(path, contents);
  return true;
}

bool StagedFile::replaceFile(const std::string &source, const std::string &target) {
  std::string *scratch = scratchFile(source);
  if (!scratch || !isStaged(target))
    return false;
  contents_ = std::move(*scratch);
  exists_ = true;
  removeFile(source);
  return true;
}

bool StagedFile::removeFile(const std::string &path) {
  for (auto it = scratch_.begin(); it != scratch_.end(); ++it) {
    if (it->first == path) {
      scratch_.erase(it);
      return true;
    }
  }
  return false;
}

bool StagedFile::fileExists(const std::string &path) {
  if (scratchFile(path))
    return true;
  if (isStaged(path))
    return exists_;
  return base_.fileExists(path);
}

std::vector<std::string> StagedFile::listFiles(const std::string &directory,
                                               const std::string &pattern) {
  return base_.listFiles(directory, pattern);
}

} // namespace spelling
