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

} // namespace billpost

#endif
