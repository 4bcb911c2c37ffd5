// TSMTP: the mail component. It sends one message per connection over the
// session of TMailBase: greeting, HELO, envelope, DATA with the header,
// the body and the attachments (MIME or uuencoded), QUIT.
#ifndef BILLPOST_SMTP_H
#define BILLPOST_SMTP_H

#include "invoice-mailer/win32/mail-base.h"

#include "invoice-mailer/core/block-encoder.h"
#include "invoice-mailer/core/message-layout.h"
#include "invoice-mailer/core/smtp-status.h"
#include "platform/components/core/event.h"
#include "platform/components/core/string-list.h"

#include <string>
#include <vector>

namespace billpost {

class TSMTP : public TMailBase {
public:
  explicit TSMTP(components::TComponent *owner);

  const components::TStringList &Attachments() const { return attachments_; }
  void SetAttachments(const components::TStringList &lines) { attachments_.Assign(lines); }
  const std::string &From() const { return from_; }
  void SetFrom(std::string from) { from_ = std::move(from); }
  const std::string &Recipient() const { return recipient_; }
  void SetRecipient(std::string recipient) { recipient_ = std::move(recipient); }
  const components::TStringList &CC() const { return cc_; }
  void SetCC(const components::TStringList &lines) { cc_.Assign(lines); }
  const components::TStringList &BCC() const { return bcc_; }
  void SetBCC(const components::TStringList &lines) { bcc_.Assign(lines); }
  const std::string &Subject() const { return subject_; }
  void SetSubject(std::string subject) { subject_ = std::move(subject); }
  const components::TStringList &Body() const { return body_; }
  void SetBody(const components::TStringList &lines) { body_.Assign(lines); }
  TEncoding Encoding() const { return encoding_; }
  void SetEncoding(TEncoding encoding);
  TCharSet CharSet() const { return charSet_; }
  void SetCharSet(TCharSet charSet);
  bool ReturnReceipt() const { return returnReceipt_; }
  void SetReturnReceipt(bool on) { returnReceipt_ = on; }
  TPriority Priority() const { return priority_; }
  void SetPriority(TPriority priority) { priority_ = priority; }
  bool UseDomainAddress() const { return useDomainAddress_; }
  void SetUseDomainAddress(bool on) { useDomainAddress_ = on; }

  components::TNotifyEvent OnStatusChange;
  components::TNotifyEvent OnProgress;

  SmtpStatus Status() const { return status_; }
  int Progress() const { return progress_; }
  const std::string &Boundary() const { return boundary_; }

  void Connect() override;
  // Says goodbye (QUIT) first while the connection still stands, so that
  // the server sees an orderly end also after a failure.
  int Disconnect() override;
  void ResetFlags() override;
  void Cancel() override;
  void Login();
  void SendMail();
  void Logout();
  virtual void SendHeaders();

private:
  void setStatus(SmtpStatus status);
  void setProgress(int percent);
  void SendLine(const std::string &line);
  void sendData(const std::string &data);
  void ReadReply();
  void receiveReply();
  void SendEnvelope();
  void EncodeBody();
  void EncodeAttachments();
  void MIMEAttachments();
  void UUAttachments();
  void SendBody();
  void sendLines(const std::vector<std::string> &lines);
  [[noreturn]] void failSocket(int number);

  components::TStringList attachments_, cc_, bcc_, body_;
  std::string from_, recipient_, subject_;
  TEncoding encoding_ = etMIME;
  TCharSet charSet_ = csUSASCII;
  bool returnReceipt_ = false;
  TPriority priority_ = ptNormal;
  bool useDomainAddress_ = true;
  SmtpStatus status_ = SmtpStatus::Idle;
  int progress_ = 0;
  std::string boundary_;
  std::vector<std::vector<std::string>> parts_;
  bool mailError_ = false;
  bool quitSent_ = false;
  bool quotedPrintableBody_ = false;
  TCharSet bodyCharSet_ = csUSASCII; // what EncodeBody chose
  unsigned long messageCount_ = 0;   // messages headed, for their identifiers
  EncoderControl *runningEncoder_ = nullptr;
};

} // namespace billpost

#endif
