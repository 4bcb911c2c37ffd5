// The message data's lines on the wire.
#include "invoice-mailer/core/smtp-data.h"

#include "invoice-mailer/core/message-layout.h"
#include "invoice-mailer/core/smtp-reply.h"

#include <cmath>

namespace billpost {

std::vector<std::string> SplitLineBreaks(const std::vector<std::string> &lines) {
  std::vector<std::string> split;
  split.reserve(lines.size());
  for (const std::string &line : lines) {
    if (line.find_first_of("\r\n") == std::string::npos) {
      split.push_back(line);
      continue;
    }
    // Cut as received text is cut: at CR LF, CR or LF.
    for (std::string &piece : ReplyLines(line))
      split.push_back(std::move(piece));
  }
  return split;
}

std::string DotStuffed(const std::string &line) {
  return !line.empty() && line[0] == '.' ? "." + line : line;
}

std::string DataLine(const std::string &line) { return DotStuffed(OneLine(line)); }

int DataProgress(std::size_t index, std::size_t count) {
  if (count < 2)
    return 0;
  return static_cast<int>(
      std::nearbyint(static_cast<double>(index) * 100.0 / static_cast<double>(count - 1)));
}

} // namespace billpost
