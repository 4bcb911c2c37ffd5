// Paths that tests use: the source tree (golden files, shared data) and a
// scratch folder of their own. ctest passes both trees in the environment;
// under Wine a Unix path is reached through drive Z:.
#ifndef TESTING_TEST_PATHS_H
#define TESTING_TEST_PATHS_H

#include <cstdlib>
#include <string>

namespace testing_support {

// Windows paths get back slashes throughout: the common file dialogs do
// not find their initial folder from a path that mixes the two.
inline std::string hostPath(const std::string &unixPath) {
#ifdef _WIN32
  std::string path = unixPath;
  if (!path.empty() && path[0] == '/')
    path = "Z:" + path;
  for (char &c : path)
    if (c == '/')
      c = '\\';
  return path;
#else
  return unixPath;
#endif
}

inline std::string envOr(const char *name, const char *fallback) {
  const char *value = std::getenv(name);
  return value && *value ? value : fallback;
}

// A file under the source tree, e.g. sourcePath("spelling/tests/golden/x").
inline std::string sourcePath(const std::string &relative) {
  return hostPath(envOr("TEST_SOURCE_DIR", ".") + "/" + relative);
}

// The shared reference data beside the checkout (../shared/data).
inline std::string sharedDataPath(const std::string &relative) {
  return hostPath(envOr("TEST_SOURCE_DIR", ".") + "/../shared/data/" + relative);
}

// A scratch folder for one test, under the test's build folder.
inline std::string scratchPath(const std::string &name) {
  return hostPath(envOr("TEST_BINARY_DIR", ".") + "/scratch-" + name);
}

} // namespace testing_support

#endif
