// The progress dialog's text for each state of the mail component.
#include "invoice-mailer/core/smtp-status.h"

namespace billpost {

const char *StatusText(SmtpStatus status) {
  switch (status) {
  case SmtpStatus::Idle:
    return "Idle";
  case SmtpStatus::Connecting:
    return "Connecting";
  case SmtpStatus::LoggingIn:
    return "Logging In";
  case SmtpStatus::LoggingOut:
    return "Logging Out";
  case SmtpStatus::SendingHeaders:
    return "Sending headers";
  case SmtpStatus::SendingCommands:
    return "Sending commands";
  case SmtpStatus::SendingBody:
    return "Sending message body";
  case SmtpStatus::SendingAttachments:
    return "Sending attachment(s)";
  case SmtpStatus::Canceled:
    return "Canceled";
  case SmtpStatus::Encoding:
    return "Encoding the attachment(s)";
  }
  return "";
}

} // namespace billpost
