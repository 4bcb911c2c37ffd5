// An in-memory FileSystem for the component tests. failAt = N makes the Nth
// call (reads, writes, replacements and removals, counted from 1; 0 never)
// fail; a failing write leaves half of its data behind, as a full disk
// would, so that a test can show that nothing stored is lost.
#ifndef COMPONENTS_TESTS_MEMORY_FILE_SYSTEM_H
#define COMPONENTS_TESTS_MEMORY_FILE_SYSTEM_H

#include "platform/components/core/file-system.h"

#include <map>
#include <string>
#include <vector>

namespace components_tests {

class MemoryFileSystem : public components::FileSystem {
public:
  unsigned failAt = 0;
  unsigned calls = 0;
  unsigned writes = 0; // successful writeFile calls

  std::map<std::string, std::string> files;

  bool readFile(const std::string &path, std::string &contents) override {
    if (failNow())
      return false;
    auto it = files.find(path);
    if (it == files.end())
      return false;
    contents = it->second;
    return true;
  }
  bool writeFile(const std::string &path, const std::string &contents) override {
    if (failNow()) {
      files[path] = contents.substr(0, contents.size() / 2);
      return false;
    }
    files[path] = contents;
    ++writes;
    return true;
  }
  bool replaceFile(const std::string &source, const std::string &target) override {
    if (failNow())
      return false;
    auto it = files.find(source);
    if (it == files.end())
      return false;
    files[target] = it->second;
    files.erase(source);
    return true;
  }
  bool removeFile(const std::string &path) override {
    if (failNow())
      return false;
    return files.erase(path) != 0;
  }
  bool fileExists(const std::string &path) override { return files.count(path) != 0; }
  std::vector<std::string> listFiles(const std::string &, const std::string &) override {
    return {};
  }

private:
  bool failNow() { return ++calls == failAt; }
};

} // namespace components_tests

#endif
