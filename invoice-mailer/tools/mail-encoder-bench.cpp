// Times each attachment encoder on one file: base64, uuencode and
// quoted-printable, the way the mail client runs them (a file stream in,
// a list of lines out). Each is timed twice into the same list: the first
// run takes memory new to the process, the second reuses it, which shows
// the encoding apart from the cost of the memory. Base64 and uuencode are
// timed with their lines in 4 KiB pages and in 2 MiB pages. Prints
// milliseconds per run.
#include "invoice-mailer/core/base64.h"
#include "invoice-mailer/core/quoted-printable.h"
#include "invoice-mailer/core/read-ahead-stream.h"
#include "invoice-mailer/core/uucode.h"
#include "invoice-mailer/tools/huge-page-memory.h"
#include "platform/components/core/stream.h"
#include "platform/components/core/string-list.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

namespace {

template <typename Encoder, typename Output>
double encodeMilliseconds(const char *path, Output &output) {
  components::TFileStream file(path, components::fmOpenRead);
  billpost::ReadAheadStream source(file);
  Encoder encoder(source, output);
  auto start = std::chrono::steady_clock::now();
  encoder.Encode();
  std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count();
}

template <typename Encoder, typename Output>
void timeInto(const char *name, const char *path, Output &output) {
  double fresh = encodeMilliseconds<Encoder>(path, output);
  double reused = encodeMilliseconds<Encoder>(path, output);
  std::printf("%-36s %9.1f ms fresh memory, %9.1f ms reused  (%d lines)\n", name, fresh, reused,
              output.Count());
}

template <typename Encoder> void timeBlockEncoder(const char *name, const char *path) {
  billpost::LineList small(std::pmr::new_delete_resource());
  timeInto<Encoder>((std::string(name) + ", 4 KiB pages").c_str(), path, small);
  billpost_tools::HugePageMemory hugePages;
  billpost::LineList huge(&hugePages);
  timeInto<Encoder>((std::string(name) + ", 2 MiB pages").c_str(), path, huge);
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: mail-encoder-bench BINARY-FILE TEXT-FILE\n");
    return 2;
  }
  try {
    timeBlockEncoder<billpost::TBase64>("ours, base64", argv[1]);
    timeBlockEncoder<billpost::TUUCode>("ours, uuencode", argv[1]);
    components::TStringList text;
    timeInto<billpost::TQuotedPrintable>("ours, quoted-printable (text)", argv[2], text);
  } catch (const std::exception &e) {
    std::fprintf(stderr, "mail-encoder-bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
