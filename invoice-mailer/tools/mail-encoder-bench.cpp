// Times each attachment encoder on one file: base64, uuencode and
// quoted-printable, the way the mail client runs them (a file stream in,
// a list of lines out). Prints milliseconds per encoder.
#include "invoice-mailer/core/base64.h"
#include "invoice-mailer/core/quoted-printable.h"
#include "invoice-mailer/core/read-ahead-stream.h"
#include "invoice-mailer/core/uucode.h"
#include "platform/components/core/stream.h"
#include "platform/components/core/string-list.h"

#include <chrono>
#include <cstdio>
#include <exception>

namespace {

template <typename Encoder> double encodeMilliseconds(const char *path, int &lines) {
  components::TFileStream file(path, components::fmOpenRead);
  billpost::ReadAheadStream source(file);
  components::TStringList output;
  Encoder encoder(source, output);
  auto start = std::chrono::steady_clock::now();
  encoder.Encode();
  std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  lines = output.Count();
  return elapsed.count();
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: mail-encoder-bench BINARY-FILE TEXT-FILE\n");
    return 2;
  }
  try {
    int lines = 0;
    double ms = encodeMilliseconds<billpost::TBase64>(argv[1], lines);
    std::printf("%-34s %9.1f ms  (%d lines)\n", "ours, base64", ms, lines);
    ms = encodeMilliseconds<billpost::TUUCode>(argv[1], lines);
    std::printf("%-34s %9.1f ms  (%d lines)\n", "ours, uuencode", ms, lines);
    ms = encodeMilliseconds<billpost::TQuotedPrintable>(argv[2], lines);
    std::printf("%-34s %9.1f ms  (%d lines)\n", "ours, quoted-printable (text)", ms, lines);
  } catch (const std::exception &e) {
    std::fprintf(stderr, "mail-encoder-bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
