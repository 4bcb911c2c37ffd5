// Where the tests find the generated logs and golden texts.
#ifndef INVOICE_MAILER_TESTS_LOG_FILES_H
#define INVOICE_MAILER_TESTS_LOG_FILES_H

#include "invoice-mailer/tests/fuzz/log-exercise.h"
#include "testing/test-paths.h"

#include <fstream>
#include <iterator>
#include <string>

namespace billpost_test {

// A file the generator wrote from tests/data at build time.
inline std::string generatedPath(const std::string &name) {
  return testing_support::hostPath(testing_support::envOr("TEST_BINARY_DIR", ".") + "/data/" +
                                   name);
}

inline std::string goldenPath(const std::string &name) {
  return testing_support::sourcePath("invoice-mailer/tests/golden/" + name);
}

inline Bytes readBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string readText(const std::string &path) {
  Bytes bytes = readBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

} // namespace billpost_test

#endif
