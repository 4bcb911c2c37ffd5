// What the mail component is doing, as it reports it to its owner, and the
// text the main window's progress dialog shows for each state.
#ifndef INVOICE_MAILER_CORE_SMTP_STATUS_H
#define INVOICE_MAILER_CORE_SMTP_STATUS_H

namespace billpost {

// The values are the component's published numbers 0 to 9, in this order.
enum class SmtpStatus {
  Idle,               // the end of Logout
  Connecting,         // Connect
  LoggingIn,          // Login
  LoggingOut,         // Logout
  SendingHeaders,     // SendHeaders
  SendingCommands,    // SendEnvelope
  SendingBody,        // SendBody, the message text
  SendingAttachments, // SendBody, the attachments
  Canceled,           // Cancel
  Encoding            // the attachments being encoded
};

// "Idle", "Connecting", ..., "Encoding the attachment(s)".
const char *StatusText(SmtpStatus status);

} // namespace billpost

#endif
