// The SMTP dialogue and the sending of a message.
#include "invoice-mailer/win32/smtp.h"

#include "invoice-mailer/core/base64.h"
#include "invoice-mailer/core/boundary.h"
#include "invoice-mailer/core/mail-errors.h"
#include "invoice-mailer/core/origination.h"
#include "invoice-mailer/core/quoted-printable.h"
#include "invoice-mailer/core/read-ahead-stream.h"
#include "invoice-mailer/core/smtp-greeting.h"
#include "invoice-mailer/core/smtp-data.h"
#include "invoice-mailer/core/smtp-reply.h"
#include "invoice-mailer/core/uucode.h"
#include "invoice-mailer/win32/content-type.h"
#include "invoice-mailer/win32/winsock-error-text.h"
#include "platform/components/core/stream.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/dialogs.h"

namespace billpost {

namespace {

void processMessages() { components::Application->ProcessMessages(); }

std::vector<std::string> linesOf(const components::TStringList &list) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i)
    lines.push_back(list[i]);
  return lines;
}

// Lets the application process its messages at most once every few
// milliseconds, the first time at once. The encoders offer it after every
// line or byte, and under Wine every look at the queue is a round trip to
// the wine server (some 50 microseconds): more than encoding the line
// itself. A look every few milliseconds keeps the windows responsive and
// still brings a cancel to the encoder at once.
class PacedMessages {
public:
  void operator()() {
    DWORD now = GetTickCount();
    if (looked_ && now - lastLook_ < IntervalMs)
      return;
    looked_ = true;
    lastLook_ = now;
    processMessages();
  }

private:
  static constexpr DWORD IntervalMs = 10;
  bool looked_ = false;
  DWORD lastLook_ = 0;
};

// Clears the running-encoder reference however encoding ends.
class RunningEncoder {
public:
  RunningEncoder(EncoderControl *&slot, EncoderControl &encoder) : slot_(slot) {
    slot_ = &encoder;
    encoder.ProcessMessages = PacedMessages();
  }
  ~RunningEncoder() { slot_ = nullptr; }

private:
  EncoderControl *&slot_;
};

// 100-nanosecond ticks since 1601, UTC.
unsigned long long fileTimeNow() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return static_cast<unsigned long long>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
}

// The time of day here with its offset from UTC, the offset taken from the
// same moment so that a change of daylight saving time cannot split them.
std::string localDateText() {
  FILETIME utc, local;
  GetSystemTimeAsFileTime(&utc);
  SYSTEMTIME fields;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &fields))
    return std::string();
  auto ticks = [](const FILETIME &time) {
    return static_cast<long long>(static_cast<unsigned long long>(time.dwHighDateTime) << 32 |
                                  time.dwLowDateTime);
  };
  const long long ticksPerMinute = 600000000;
  int offset = static_cast<int>((ticks(local) - ticks(utc)) / ticksPerMinute);
  CivilTime civil;
  civil.year = fields.wYear;
  civil.month = fields.wMonth;
  civil.day = fields.wDay;
  civil.hour = fields.wHour;
  civil.minute = fields.wMinute;
  civil.second = fields.wSecond;
  civil.weekday = fields.wDayOfWeek;
  return DateText(civil, offset);
}

} // namespace

TSMTP::TSMTP(components::TComponent *owner) : TMailBase(owner), boundary_(MakeBoundary()) {
  serviceName_ = "smtp";
}

void TSMTP::SetEncoding(TEncoding encoding) {
  encoding_ = encoding;
  if (encoding == etUU)
    charSet_ = csUSASCII;
}

void TSMTP::SetCharSet(TCharSet charSet) {
  if (encoding_ == etMIME)
    charSet_ = charSet;
}

void TSMTP::setStatus(SmtpStatus status) {
  status_ = status;
  if (OnStatusChange.Assigned()) {
    OnStatusChange(this);
    return;
  }
  for (int i = 0; i < 50; ++i)
    processMessages();
}

void TSMTP::setProgress(int percent) {
  progress_ = percent;
  OnProgress(this);
}

void TSMTP::failSocket(int number) {
  mailError_ = true;
  throw ESocketError(WinsockErrorText(number));
}

void TSMTP::Connect() {
  setStatus(SmtpStatus::Connecting);
  ResetFlags();
  TMailBase::Connect();
}

void TSMTP::ResetFlags() {
  TMailBase::ResetFlags();
  parts_.clear();
  mailError_ = false;
  quitSent_ = false;
}

int TSMTP::Disconnect() {
  if (flags_.connected && socketHandle() != INVALID_SOCKET && !quitSent_ && !flags_.closed &&
      !flags_.timedOut && !flags_.canceled && !flags_.socketError) {
    quitSent_ = true;
    try {
      SendLine("QUIT");
      ReadReply();
    } catch (const std::exception &) {
      // The connection ends here either way.
    }
  }
  return TMailBase::Disconnect();
}

void TSMTP::Cancel() {
  if (status_ == SmtpStatus::Encoding && runningEncoder_)
    runningEncoder_->Stop = true;
  TMailBase::Cancel();
  setProgress(0);
  setStatus(SmtpStatus::Canceled);
}

void TSMTP::Login() {
  ConnectSocket();
  setStatus(SmtpStatus::LoggingIn);
  ReadReply();
  SendLine("HELO " + HeloArgument(useDomainAddress_, SenderDomain(from_), LocalHostName(),
                                  LocalAddressText()));
  ReadReply();
}

void TSMTP::SendMail() {
  EncodeBody();
  EncodeAttachments();
  SendEnvelope();
  SendHeaders();
  SendBody();
}

void TSMTP::Logout() {
  processMessages();
  setStatus(SmtpStatus::LoggingOut);
  // Once the server has taken the message, a failed goodbye is no failed
  // send: reporting it would make the user send the message twice.
  bool delivered = !mailError_;
  quitSent_ = true;
  try {
    SendLine("QUIT");
    ReadReply();
  } catch (const std::exception &) {
    if (!delivered)
      throw;
  }
  if (delivered)
    components::MessageDlg("All Done.", components::mtInformation, components::mbOK, 0);
  setStatus(SmtpStatus::Idle);
  setProgress(0);
}

void TSMTP::SendLine(const std::string &text) {
  // The last guard against a value that would add a protocol line.
  std::string line = OneLine(text);
  if (status_ != SmtpStatus::SendingBody && status_ != SmtpStatus::SendingAttachments)
    Transcript().Add(line);
  sendData(line + "\r\n");
}

// Sends bytes as they are, waiting while the socket's buffer is full; a
// time-out or a cancel disconnects and raises.
void TSMTP::sendData(const std::string &data) {
  std::size_t sent = 0;
  startTimeOut();
  while (sent < data.size() && !flags_.timedOut && !flags_.canceled) {
    processMessages();
    flags_.writeReady = false;
    int n = send(socketHandle(), data.data() + sent, static_cast<int>(data.size() - sent), 0);
    if (n != SOCKET_ERROR) {
      sent += static_cast<std::size_t>(n);
      continue;
    }
    int error = WSAGetLastError();
    if (error != WSAEWOULDBLOCK) {
      stopTimeOut();
      failSocket(error);
    }
    // The socket's buffer is full: wait until it takes more.
    if (!components::Application->WaitUntil([this] {
          return flags_.writeReady || flags_.socketError || flags_.canceled || flags_.timedOut;
        }))
      flags_.canceled = true;
    if (flags_.socketError) {
      stopTimeOut();
      failSocket(flags_.errorNumber);
    }
  }
  stopTimeOut();
  if (flags_.timedOut) {
    Disconnect();
    mailError_ = true;
    throw ETimedOutError();
  }
  if (flags_.canceled) {
    Disconnect();
    throw ECanceledError();
  }
}

void TSMTP::ReadReply() {
  waitFor([this] { return flags_.readReady || flags_.socketError; });
  if (flags_.canceled)
    throw ECanceledError();
  if (flags_.timedOut) {
    mailError_ = true;
    throw ETimedOutError();
  }
  if (flags_.socketError)
    failSocket(flags_.errorNumber);
  startTimeOut();
  try {
    receiveReply();
  } catch (...) {
    stopTimeOut();
    throw;
  }
  processMessages();
  stopTimeOut();
  if (flags_.timedOut) {
    mailError_ = true;
    throw ETimedOutError();
  }
  if (flags_.canceled) {
    Disconnect();
    throw ECanceledError();
  }
}

// Receives until the final line of a reply, the time-out or a cancel; the
// reply's lines go to the transcript.
void TSMTP::receiveReply() {
  ReplyCollector reply;
  auto transcribe = [this, &reply] {
    for (const std::string &line : reply.Lines())
      Transcript().Add(line);
  };
  while (!flags_.timedOut && !flags_.canceled) {
    processMessages();
    flags_.readReady = false;
    char buffer[1024];
    int n = recv(socketHandle(), buffer, sizeof buffer, 0);
    if (n == SOCKET_ERROR) {
      int error = WSAGetLastError();
      if (error != WSAEWOULDBLOCK)
        failSocket(error);
      if (!components::Application->WaitUntil([this] {
            return flags_.readReady || flags_.socketError || flags_.canceled || flags_.timedOut;
          }))
        flags_.canceled = true;
      if (flags_.socketError)
        failSocket(flags_.errorNumber);
      continue;
    }
    if (n == 0) {
      // The server closed the connection: no reply can come any more.
      mailError_ = true;
      flags_.closed = true;
      transcribe();
      throw EMailError("Connection closed by the server");
    }
    switch (reply.Add(std::string(buffer, static_cast<std::size_t>(n)))) {
    case ReplyCollector::rsIncomplete:
      continue;
    case ReplyCollector::rsTooLong:
      mailError_ = true;
      throw EMailError("Reply is too long");
    case ReplyCollector::rsRefused:
      mailError_ = true;
      transcribe();
      throw EMailError(reply.RefusalText());
    case ReplyCollector::rsAccepted:
      transcribe();
      return;
    }
  }
}

void TSMTP::SendEnvelope() {
  setStatus(SmtpStatus::SendingCommands);
  std::string sender = SplitAddress(from_).address;
  if (!sender.empty()) {
    SendLine("MAIL FROM:<" + sender + ">");
    ReadReply();
  }
  SendLine("RCPT TO:<" + SplitAddress(recipient_).address + ">");
  ReadReply();
  for (const components::TStringList *list : {&cc_, &bcc_})
    for (int i = 0; i < list->Count(); ++i) {
      SendLine("RCPT TO:<" + SplitAddress((*list)[i]).address + ">");
      ReadReply();
    }
  SendLine("DATA");
  ReadReply();
}

void TSMTP::SendHeaders() {
  setStatus(SmtpStatus::SendingHeaders);
  MessageHeader header;
  header.date = localDateText();
  header.messageId = MessageIdText(fileTimeNow(), GetCurrentProcessId(), ++messageCount_,
                                   MessageIdDomain(SenderDomain(from_), LocalHostName()));
  header.from = from_;
  header.recipient = recipient_;
  header.cc = linesOf(cc_);
  header.subject = subject_;
  header.returnReceipt = returnReceipt_;
  header.priority = priority_;
  header.encoding = encoding_;
  header.charSet = bodyCharSet_;
  header.quotedPrintableBody = quotedPrintableBody_;
  header.hasAttachments = attachments_.Count() > 0;
  header.boundary = boundary_;
  for (const std::string &line : HeaderLines(header))
    SendLine(DataLine(line));
}

// A body in iso-8859-1 (asked for, or because it holds 8-bit characters),
// or one whose lines pass the format's limit, goes quoted-printable line by
// line.
void TSMTP::EncodeBody() {
  std::vector<std::string> lines = SplitLineBreaks(linesOf(body_));
  bodyCharSet_ = BodyCharSet(charSet_, lines);
  quotedPrintableBody_ = bodyCharSet_ == csUSASCII && BodyNeedsQuotedPrintable(lines);
  if (bodyCharSet_ != csISO8859 && !quotedPrintableBody_)
    return;
  body_.Clear();
  for (std::string &line : TQuotedPrintable::EncodeLines(lines))
    body_.Add(std::move(line));
}

void TSMTP::EncodeAttachments() {
  if (attachments_.Count() == 0)
    return;
  parts_.clear();
  try {
    if (encoding_ == etMIME)
      MIMEAttachments();
    else
      UUAttachments();
  } catch (const ECanceledError &) {
    throw;
  } catch (const EMailError &) {
    parts_.clear();
    mailError_ = true;
    throw;
  } catch (const std::exception &error) {
    // A message without its attachments must not go out as a success.
    parts_.clear();
    mailError_ = true;
    throw EMailError(std::string("The attachment(s) could not be encoded: ") + error.what());
  }
}

void TSMTP::MIMEAttachments() {
  setStatus(SmtpStatus::Encoding);
  for (int i = 0; i < attachments_.Count(); ++i) {
    const std::string &path = attachments_[i];
    std::string type = ContentTypeOf(path);
    components::TFileStream file(path, components::fmOpenRead | components::fmShareDenyWrite);
    ReadAheadStream source(file);
    std::vector<std::string> lines;
    bool stopped = false;
    if (IsTextType(type)) {
      components::TStringList encoded;
      TQuotedPrintable encoder(source, encoded);
      RunningEncoder running(runningEncoder_, encoder);
      encoder.Encode();
      stopped = encoder.Stop;
      lines = linesOf(encoded);
    } else {
      LineList encoded;
      TBase64 encoder(source, encoded);
      RunningEncoder running(runningEncoder_, encoder);
      encoder.OnProgress = [this, &encoder](components::TObject *) {
        setProgress(encoder.Percent);
      };
      encoder.Encode();
      stopped = encoder.Stop;
      lines = encoded.Lines();
    }
    if (stopped) {
      parts_.clear();
      throw ECanceledError();
    }
    parts_.push_back(MimePartLines(boundary_, type, path, lines, i + 1 == attachments_.Count()));
  }
}

void TSMTP::UUAttachments() {
  setStatus(SmtpStatus::Encoding);
  for (int i = 0; i < attachments_.Count(); ++i) {
    const std::string &path = attachments_[i];
    components::TFileStream file(path, components::fmOpenRead | components::fmShareDenyWrite);
    ReadAheadStream source(file);
    LineList encoded;
    TUUCode encoder(source, encoded);
    RunningEncoder running(runningEncoder_, encoder);
    encoder.OnProgress = [this, &encoder](components::TObject *) { setProgress(encoder.Percent); };
    encoder.Encode();
    if (encoder.Stop) {
      parts_.clear();
      throw ECanceledError();
    }
    parts_.push_back(UUPartLines(path, encoded.Lines(), i + 1 == attachments_.Count()));
  }
}

// Sends lines of the message data, many to a write: under Wine every write
// is a round trip to the wine server, and a write a line would cost more
// than encoding the attachment. The lines written so far go out before
// each progress notification, which comes once for each tenth reached:
// the window redraws its gauge for every one.
void TSMTP::sendLines(const std::vector<std::string> &lines) {
  // Enough lines to make the round trips negligible, few enough that the
  // queue is looked at often while they go.
  const std::size_t batchBytes = 64 * 1024;
  std::string batch;
  int reported = -1;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    batch += DataLine(lines[i]);
    batch += "\r\n";
    progress_ = DataProgress(i, lines.size());
    bool report = progress_ % 10 == 0 && progress_ != reported;
    if (report || batch.size() >= batchBytes || i + 1 == lines.size()) {
      sendData(batch);
      batch.clear();
    }
    if (report) {
      reported = progress_;
      OnProgress(this);
    }
  }
}

void TSMTP::SendBody() {
  setStatus(SmtpStatus::SendingBody);
  SendLine("");
  sendLines(SplitLineBreaks(linesOf(body_)));
  if (!parts_.empty()) {
    setStatus(SmtpStatus::SendingAttachments);
    processMessages();
    for (const std::vector<std::string> &part : parts_) {
      SendLine("");
      sendLines(part);
    }
  }
  SendLine(".");
  ReadReply();
  setProgress(0);
}

} // namespace billpost
