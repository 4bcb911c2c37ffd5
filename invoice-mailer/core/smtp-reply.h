// SMTP replies as the mail client reads them: a reply is complete when its
// last line carries a blank (or nothing) after the three-digit code, and a
// reply is accepted when it begins with "2" or is "354".
#ifndef BILLPOST_SMTP_REPLY_H
#define BILLPOST_SMTP_REPLY_H

#include <string>
#include <vector>

namespace billpost {

// The lines of received text, cut at CR LF, CR or LF.
std::vector<std::string> ReplyLines(const std::string &text);

// True when line ends a reply: longer than four characters with no "-"
// after the code, or the bare three-digit code with or without a blank.
bool IsFinalReplyLine(const std::string &line);

// Accepts a line beginning with "2" or with "354"; any other line raises
// EMailError whose message is the line from its fourth character on.
void CheckReply(const std::string &line);

// Collects the text received for one reply, chunk by chunk as the socket
// hands it over, until the reply is complete, refused or too long.
class ReplyCollector {
public:
  enum TState { rsIncomplete, rsAccepted, rsRefused, rsTooLong };

  // A reply longer than this without its final line is not an SMTP reply.
  static constexpr std::size_t MaxReplyBytes = 64 * 1024;

  // Adds received bytes; answers the state of the reply so far. A refused
  // line ends the reply at once, even one that announces more lines.
  TState Add(const std::string &chunk);

  const std::string &Text() const { return text_; }
  std::vector<std::string> Lines() const { return ReplyLines(text_); }
  // The error message of a refused reply (CheckReply's).
  const std::string &RefusalText() const { return refusal_; }

private:
  std::string text_;
  std::string refusal_;
};

} // namespace billpost

#endif
