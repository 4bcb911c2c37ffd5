// Encodes one file as the mail client encodes an attachment (a file stream
// read ahead, the encoder filling a list of lines) and writes the lines to
// standard output, each ending with LF. The whole run, from opening the
// file to the last line written, is what the benchmark times beside
// base64(1) and uuencode(1); the tests compare its lines with theirs.
// The lines live on the C heap, as in the mail client; MAIL_ENCODE_PAGES=huge
// puts large blocks in 2 MiB pages instead, to show what page faults cost a
// short run (not what the mail client does).
// Usage: mail-encode base64|uuencode FILE
#include "invoice-mailer/core/base64.h"
#include "invoice-mailer/core/read-ahead-stream.h"
#include "invoice-mailer/core/uucode.h"
#include "invoice-mailer/tools/huge-page-memory.h"
#include "platform/components/core/stream.h"

#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string_view>

namespace {

template <typename Encoder> void encodeFile(const char *path, billpost::LineList &lines) {
  components::TFileStream file(path, components::fmOpenRead);
  billpost::ReadAheadStream source(file);
  Encoder encoder(source, lines);
  encoder.Encode();
}

// The lines straight from the list, each followed by an LF, many lines to
// a system call: copying them into a buffer first would cost more than
// the encoding.
bool writeLines(const billpost::LineList &lines) {
  static char newline = '\n';
  constexpr int Batch = 512; // lines a call, two pieces each
  iovec pieces[2 * Batch];
  for (int first = 0; first < lines.Count(); first += Batch) {
    int count = std::min(Batch, lines.Count() - first);
    std::size_t total = 0;
    for (int i = 0; i < count; ++i) {
      std::string_view line = lines[first + i];
      pieces[2 * i] = {const_cast<char *>(line.data()), line.size()};
      pieces[2 * i + 1] = {&newline, 1};
      total += line.size() + 1;
    }
    // A pipe may take less than all; the rest goes piece by piece.
    ssize_t written = writev(STDOUT_FILENO, pieces, 2 * count);
    if (written < 0)
      return false;
    std::size_t done = static_cast<std::size_t>(written);
    for (int i = 0; i < 2 * count && done < total; ++i) {
      std::size_t size = pieces[i].iov_len;
      if (done >= size) {
        done -= size;
        continue;
      }
      const char *rest = static_cast<const char *>(pieces[i].iov_base) + done;
      std::size_t left = size - done;
      while (left > 0) {
        ssize_t n = write(STDOUT_FILENO, rest, left);
        if (n < 0)
          return false;
        rest += n;
        left -= static_cast<std::size_t>(n);
      }
      done = 0;
    }
  }
  return true;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 3 || (std::strcmp(argv[1], "base64") != 0 && std::strcmp(argv[1], "uuencode") != 0)) {
    std::fprintf(stderr, "usage: mail-encode base64|uuencode FILE\n");
    return 2;
  }
  try {
    static billpost_tools::HugePageMemory hugePages;
    const char *pages = std::getenv("MAIL_ENCODE_PAGES");
    billpost::LineList lines(
        pages && std::strcmp(pages, "huge") == 0 ? &hugePages : std::pmr::new_delete_resource());
    bool base64 = std::strcmp(argv[1], "base64") == 0;
    if (base64)
      encodeFile<billpost::TBase64>(argv[2], lines);
    else
      encodeFile<billpost::TUUCode>(argv[2], lines);
    if (!writeLines(lines)) {
      std::fprintf(stderr, "mail-encode: cannot write the lines\n");
      return 1;
    }
  } catch (const std::exception &error) {
    std::fprintf(stderr, "mail-encode: %s\n", error.what());
    return 1;
  }
  return 0;
}
