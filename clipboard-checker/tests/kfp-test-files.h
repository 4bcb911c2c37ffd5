// The golden store file and the records it holds, shared by the store's
// tests and its fuzz test.
#ifndef CLIPBOARD_CHECKER_TESTS_KFP_TEST_FILES_H
#define CLIPBOARD_CHECKER_TESTS_KFP_TEST_FILES_H

#include "testing/test-paths.h"

#include <fstream>
#include <iterator>
#include <string>

namespace kfp_test {

inline std::string readBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// golden/sample.kfp, written by golden/make-sample-kfp.sh from the layout.
inline std::string goldenSample() {
  return readBytes(testing_support::sourcePath("clipboard-checker/tests/golden/sample.kfp"));
}

} // namespace kfp_test

#endif
