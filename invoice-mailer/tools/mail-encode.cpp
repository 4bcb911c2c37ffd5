// Encodes one file as the mail client encodes an attachment (a file stream
// read ahead, the encoder filling a list of lines) and writes the lines to
// standard output, each ending with LF, as the encoder gives them: the
// list is emptied after every line, so the run holds one line and one
// output buffer, not the whole attachment. The whole run, from opening the
// file to the last line written, is what the benchmark times beside
// base64(1) and uuencode(1), after checking its lines against theirs.
// The list's memory comes from the C heap, as in the mail client;
// MAIL_ENCODE_PAGES=huge puts large blocks in 2 MiB pages instead (not
// what the mail client does).
// Usage: mail-encode base64|uuencode FILE
#include "invoice-mailer/core/base64.h"
#include "invoice-mailer/core/read-ahead-stream.h"
#include "invoice-mailer/core/uucode.h"
#include "invoice-mailer/tools/huge-page-memory.h"
#include "platform/components/core/stream.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string_view>

namespace {

// Standard output through a buffer of its own: whole buffers to each
// system call, as the peers write theirs.
class Output {
public:
  // Appends line and an LF; false when a write failed.
  bool put(std::string_view line) {
    if (line.size() + 1 > sizeof(buffer_) - used_ && !flush())
      return false;
    std::memcpy(buffer_ + used_, line.data(), line.size());
    used_ += line.size();
    buffer_[used_++] = '\n';
    return true;
  }

  bool flush() {
    const char *next = buffer_;
    while (used_ > 0) {
      ssize_t n = write(STDOUT_FILENO, next, used_);
      if (n < 0) {
        if (errno == EINTR)
          continue;
        return false;
      }
      next += n;
      used_ -= static_cast<std::size_t>(n);
    }
    return true;
  }

private:
  // A pipe's whole capacity; a file takes any size.
  char buffer_[64 * 1024];
  std::size_t used_ = 0;
};

// Hands the lines written so far to out and empties the list, so the
// encoder writes each line into the same few bytes and the run touches
// no more memory than the peers'.
bool drain(billpost::LineList &lines, Output &out) {
  for (int i = 0; i < lines.Count(); ++i)
    if (!out.put(lines[i]))
      return false;
  lines.Clear();
  return true;
}

// The encoder lets its owner process messages after every line; here
// that is sending the line on, as the mail client sends its lines. A
// failed write stops the encoder.
template <typename Encoder>
bool encodeFile(const char *path, billpost::LineList &lines, Output &out) {
  components::TFileStream file(path, components::fmOpenRead);
  billpost::ReadAheadStream source(file);
  Encoder encoder(source, lines);
  bool written = true;
  encoder.ProcessMessages = [&] {
    if (!drain(lines, out)) {
      written = false;
      encoder.Stop = true;
    }
  };
  encoder.Encode();
  return written && drain(lines, out) && out.flush();
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
    static Output out;
    bool written = base64 ? encodeFile<billpost::TBase64>(argv[2], lines, out)
                          : encodeFile<billpost::TUUCode>(argv[2], lines, out);
    if (!written) {
      std::fprintf(stderr, "mail-encode: cannot write the lines\n");
      return 1;
    }
  } catch (const std::exception &error) {
    std::fprintf(stderr, "mail-encode: %s\n", error.what());
    return 1;
  }
  return 0;
}
