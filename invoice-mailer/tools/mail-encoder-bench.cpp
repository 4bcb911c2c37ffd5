// Times each attachment encoder on one file: base64, uuencode and
// quoted-printable, the way the mail client runs them (a file stream in,
// a list of lines out). Each is timed twice into the same list: the first
// run takes fresh memory for every line, the second reuses what the first
// run's lines freed, which shows the encoding apart from the cost of
// memory new to the process. Prints milliseconds per run.
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

template <typename Encoder>
double encodeMilliseconds(const char *path, components::TStringList &output) {
  components::TFileStream file(path, components::fmOpenRead);
  billpost::ReadAheadStream source(file);
  Encoder encoder(source, output);
  auto start = std::chrono::steady_clock::now();
  encoder.Encode();
  std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count();
}

template <typename Encoder> void timeEncoder(const char *name, const char *path) {
  components::TStringList output;
  double fresh = encodeMilliseconds<Encoder>(path, output);
  double reused = encodeMilliseconds<Encoder>(path, output);
  std::printf("%-30s %9.1f ms fresh memory, %9.1f ms reused  (%d lines)\n", name, fresh, reused,
              output.Count());
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: mail-encoder-bench BINARY-FILE TEXT-FILE\n");
    return 2;
  }
  try {
    timeEncoder<billpost::TBase64>("ours, base64", argv[1]);
    timeEncoder<billpost::TUUCode>("ours, uuencode", argv[1]);
    timeEncoder<billpost::TQuotedPrintable>("ours, quoted-printable (text)", argv[2]);
  } catch (const std::exception &e) {
    std::fprintf(stderr, "mail-encoder-bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
