// Stands in for an old version's uninstaller in the installer's tests: it
// runs for three seconds, as a real one busy removing files would, and
// logs its command line and whether the new plug-in folder already held
// files when it started and when it ended. It ends with exit code 259,
// the value of STILL_ACTIVE, which an installer polling exit codes would
// wait on for ever.
//   fake-uninstaller <log file> <watched folder> [arguments the installer adds]
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

bool holdsFiles(const std::string &folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*.8b?").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return false;
  FindClose(search);
  return true;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 3)
    return 2;
  std::string folder = argv[2];
  bool filesAtStart = holdsFiles(folder);
  std::string arguments;
  for (int i = 3; i < argc; ++i)
    arguments += std::string(i > 3 ? " " : "") + argv[i];
  // The time an uninstaller takes; the installer must wait it out without
  // using the processor.
  Sleep(3000);
  bool filesAtEnd = holdsFiles(folder);
  FILE *log = std::fopen(argv[1], "w");
  if (!log)
    return 3;
  std::fprintf(log, "arguments=%s\nfiles.start=%d\nfiles.end=%d\n", arguments.c_str(),
               filesAtStart ? 1 : 0, filesAtEnd ? 1 : 0);
  std::fclose(log);
  return 259;
}
