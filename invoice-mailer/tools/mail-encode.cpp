// Encodes one file as the mail client encodes an attachment (a file stream
// read ahead, the encoder filling a list of lines) and writes the lines to
// standard output, each ending with LF. The whole run, from opening the
// file to the last line written, is what the benchmark times beside
// base64(1) and uuencode(1); the tests compare its lines with theirs.
// Usage: mail-encode base64|uuencode FILE
#include "invoice-mailer/core/base64.h"
#include "invoice-mailer/core/read-ahead-stream.h"
#include "invoice-mailer/core/uucode.h"
#include "platform/components/core/stream.h"
#include "platform/components/core/string-list.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

namespace {

template <typename Encoder> void encodeFile(const char *path, components::TStringList &lines) {
  components::TFileStream file(path, components::fmOpenRead);
  billpost::ReadAheadStream source(file);
  Encoder encoder(source, lines);
  encoder.Encode();
}

// The lines through one large buffer: a write per line would cost more
// than the encoding.
bool writeLines(const components::TStringList &lines) {
  std::vector<char> buffer(1 << 20);
  std::size_t used = 0;
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string &line = lines[i];
    if (used + line.size() + 1 > buffer.size()) {
      if (std::fwrite(buffer.data(), 1, used, stdout) != used)
        return false;
      used = 0;
      if (line.size() + 1 > buffer.size())
        buffer.resize(line.size() + 1);
    }
    std::memcpy(buffer.data() + used, line.data(), line.size());
    used += line.size();
    buffer[used++] = '\n';
  }
  return std::fwrite(buffer.data(), 1, used, stdout) == used && std::fflush(stdout) == 0;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 3 || (std::strcmp(argv[1], "base64") != 0 && std::strcmp(argv[1], "uuencode") != 0)) {
    std::fprintf(stderr, "usage: mail-encode base64|uuencode FILE\n");
    return 2;
  }
  try {
    components::TStringList lines;
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
