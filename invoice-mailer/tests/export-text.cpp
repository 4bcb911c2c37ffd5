// Exports a text of a given size to a file with the invoice export, for
// text-export-kill.py, which kills it at random points and fills its disk.
// The text is lines of one repeated byte; the run ends with exit code 0
// when the export went through, 1 when it reported an error.
//
// Usage: export-text <target> <bytes> <fill byte>
#include "invoice-mailer/core/text-export.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

int main(int argc, char **argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: export-text <target> <bytes> <fill byte>\n");
    return 2;
  }
  std::string text(std::strtoul(argv[2], nullptr, 10), argv[3][0]);
  // Lines of 78 characters and CR LF, as the invoice's own are short.
  for (std::size_t at = 78; at + 1 < text.size(); at += 80) {
    text[at] = '\r';
    text[at + 1] = '\n';
  }
  try {
    billpost::ExportText(components::defaultFileSystem(), argv[1], text);
  } catch (const std::exception &error) {
    std::printf("error %s\n", error.what());
    return 1;
  }
  std::printf("ok\n");
  return 0;
}
