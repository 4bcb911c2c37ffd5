// Whole-file reads and writes for tests, and scratch files in a folder of
// their own under the test's build folder.
#ifndef TESTING_TEST_FILES_H
#define TESTING_TEST_FILES_H

#include "testing/test-paths.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace testing_support {

// The file's bytes; empty when it cannot be opened.
inline std::string readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool writeFile(const std::string &path, const std::string &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// A path named `name` in the scratch folder `folder`, which is made if
// missing. Tests that ctest runs side by side take folders of their own.
inline std::string scratchFile(const std::string &folder, const std::string &name) {
  const std::string dir = scratchPath(folder);
  std::error_code ignored;
  std::filesystem::create_directories(dir, ignored);
  return dir + (dir.find('\\') != std::string::npos ? "\\" : "/") + name;
}

} // namespace testing_support

#endif
