// SMTP reply lines.
#include "invoice-mailer/core/smtp-reply.h"

#include "invoice-mailer/core/mail-errors.h"

namespace billpost {

std::vector<std::string> ReplyLines(const std::string &text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n')
      ++start;
  }
  return lines;
}

namespace {
bool isCode(const std::string &line) {
  if (line.size() < 3)
    return false;
  for (int i = 0; i < 3; ++i)
    if (line[i] < '0' || line[i] > '9')
      return false;
  return true;
}
} // namespace

bool IsFinalReplyLine(const std::string &line) {
  if (line.size() > 4)
    return line[3] != '-';
  // A reply may end with its code alone, or its code and a blank; waiting
  // for more text would only end in a time-out.
  if (line.size() == 4)
    return isCode(line) && line[3] == ' ';
  return line.size() == 3 && isCode(line);
}

void CheckReply(const std::string &line) {
  if (!line.empty() && line[0] == '2')
    return;
  if (line.compare(0, 3, "354") == 0)
    return;
  throw EMailError(line.size() > 3 ? line.substr(3) : std::string());
}

ReplyCollector::TState ReplyCollector::Add(const std::string &chunk) {
  text_ += chunk;
  if (text_.size() > MaxReplyBytes)
    return rsTooLong;
  if (text_.empty() || text_.back() != '\n')
    return rsIncomplete;
  std::vector<std::string> lines = ReplyLines(text_);
  const std::string &last = lines.back();
  bool final = IsFinalReplyLine(last);
  // A bare code with "-" (or less) tells nothing yet.
  if (!final && last.size() <= 4)
    return rsIncomplete;
  try {
    CheckReply(last);
  } catch (const EMailError &error) {
    refusal_ = error.what();
    return rsRefused;
  }
  return final ? rsAccepted : rsIncomplete;
}

} // namespace billpost
