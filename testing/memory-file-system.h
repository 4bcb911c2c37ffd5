// An in-memory FileSystem for the tests of the components and of the tools
// built on them. Files keep the order in which they were created, which is
// the order listFiles reports them in. failAt = N makes the Nth reading or
// writing operation fail (counted from 1; 0 never): a failing write leaves
// half of its data behind, as a full disk would, so that a test can show
// that nothing stored is lost.
#ifndef TESTING_MEMORY_FILE_SYSTEM_H
#define TESTING_MEMORY_FILE_SYSTEM_H

#include "platform/components/core/file-system.h"
#include "platform/components/core/string-list.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

class MemoryFileSystem : public components::FileSystem {
public:
  unsigned failAt = 0;
  unsigned operations = 0; // reads, writes, replacements and removals so far
  unsigned writes = 0;     // writeFile calls, failed ones included

  void put(const std::string &path, const std::string &contents) {
    if (std::string *text = find(path)) {
      *text = contents;
      return;
    }
    files_.emplace_back(path, contents);
  }
  bool has(const std::string &path) { return find(path) != nullptr; }
  std::string get(const std::string &path) {
    std::string *text = find(path);
    return text ? *text : std::string();
  }
  std::vector<std::string> paths() const {
    std::vector<std::string> all;
    for (const auto &file : files_)
      all.push_back(file.first);
    return all;
  }

  bool readFile(const std::string &path, std::string &contents) override {
    if (failNow())
      return false;
    std::string *text = find(path);
    if (!text)
      return false;
    contents = *text;
    return true;
  }
  bool writeFile(const std::string &path, const std::string &contents) override {
    ++writes;
    if (failNow()) {
      put(path, contents.substr(0, contents.size() / 2));
      return false;
    }
    put(path, contents);
    return true;
  }
  bool replaceFile(const std::string &source, const std::string &target) override {
    if (failNow())
      return false;
    std::string *text = find(source);
    if (!text)
      return false;
    std::string moved = *text;
    removeEntry(source);
    put(target, moved);
    return true;
  }
  bool removeFile(const std::string &path) override {
    if (failNow())
      return false;
    return removeEntry(path);
  }
  bool fileExists(const std::string &path) override { return find(path) != nullptr; }
  // Names in the folder that match a "*.ext" pattern, in creation order.
  std::vector<std::string> listFiles(const std::string &directory,
                                     const std::string &pattern) override {
    std::string folder = directory == "." ? std::string() : directory;
    std::string extension = pattern.substr(1); // "*.dct" -> ".dct"
    std::vector<std::string> names;
    for (const auto &file : files_) {
      const std::string &path = file.first;
      if (path.compare(0, folder.size(), folder) != 0)
        continue;
      std::string name = path.substr(folder.size());
      if (name.find_first_of("\\/") != std::string::npos || name.size() < extension.size())
        continue;
      if (components::SameText(name.substr(name.size() - extension.size()), extension))
        names.push_back(name);
    }
    return names;
  }

private:
  bool failNow() { return ++operations == failAt; }
  std::string *find(const std::string &path) {
    for (auto &file : files_)
      if (file.first == path)
        return &file.second;
    return nullptr;
  }
  bool removeEntry(const std::string &path) {
    auto it = std::find_if(files_.begin(), files_.end(),
                           [&](const auto &file) { return file.first == path; });
    if (it == files_.end())
      return false;
    files_.erase(it);
    return true;
  }

  std::vector<std::pair<std::string, std::string>> files_;
};

} // namespace testing_support

#endif
