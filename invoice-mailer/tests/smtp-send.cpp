// A console program that sends one message with the mail component, as the
// main window does (Connect, Login, SendMail, Logout, and Disconnect in
// every case), for the end-to-end tests. It reads a job file of
// "key value" lines:
//   from, to, cc, bcc (repeatable): address texts ("address |name")
//   subject, body (file of body lines), attach (repeatable: file names)
//   server (default: the domain of the "to" address), default-port,
//   timeout, receipt (yes), priority (low, high), encoding (uu, mime),
//   charset (iso-8859-1), helo-domain (no)
// and prints "status N" at each status, "progress N" at each progress
// event, "dialog TEXT" for each message box
// (closed at once, as a person would press OK), "elapsed MS",
// "result ok" or "result error CLASS:MESSAGE", and then the transcript as
// "transcript LINE". Exit code 0 when sent.
#include "invoice-mailer/win32/smtp.h"

#include "invoice-mailer/core/mail-errors.h"
#include "platform/components/core/string-list.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/std-controls.h"
#include "platform/components/win32/utility.h"

#include <cstdio>
#include <string>

using namespace billpost;

namespace {

std::string errorClass(const std::exception &error) {
  if (dynamic_cast<const ETimedOutError *>(&error))
    return "ETimedOutError";
  if (dynamic_cast<const ECanceledError *>(&error))
    return "ECanceledError";
  if (dynamic_cast<const ESocketError *>(&error))
    return "ESocketError";
  if (dynamic_cast<const EMIMEError *>(&error))
    return "EMIMEError";
  if (dynamic_cast<const EMailError *>(&error))
    return "EMailError";
  return "Exception";
}

BOOL CALLBACK closeMessageDialog(HWND window, LPARAM) {
  auto *form = dynamic_cast<components::TForm *>(components::TWinControl::FromHandle(window));
  if (!form || !IsWindowVisible(window))
    return TRUE;
  auto *label = dynamic_cast<components::TLabel *>(form->FindComponent("Message"));
  if (!label)
    return TRUE;
  std::printf("dialog %s\n", label->Caption().c_str());
  form->SetModalResult(components::mrOk);
  return TRUE;
}

void configure(TSMTP &mail, const components::TStringList &job) {
  components::TStringList cc, bcc, attachments, body;
  std::string server;
  for (int i = 0; i < job.Count(); ++i) {
    const std::string &line = job[i];
    std::size_t blank = line.find(' ');
    std::string key = line.substr(0, blank);
    std::string value = blank == std::string::npos ? "" : line.substr(blank + 1);
    // Values may carry line breaks written as <CR> and <LF>.
    for (std::size_t at; (at = value.find("<CR>")) != std::string::npos;)
      value.replace(at, 4, "\r");
    for (std::size_t at; (at = value.find("<LF>")) != std::string::npos;)
      value.replace(at, 4, "\n");
    if (key == "from")
      mail.SetFrom(value);
    else if (key == "to")
      mail.SetRecipient(value);
    else if (key == "cc")
      cc.Add(value);
    else if (key == "bcc")
      bcc.Add(value);
    else if (key == "subject")
      mail.SetSubject(value);
    else if (key == "body")
      body.LoadFromFile(value);
    else if (key == "attach")
      attachments.Add(value);
    else if (key == "server")
      server = value;
    else if (key == "default-port")
      mail.SetDefaultPort(static_cast<std::uint16_t>(std::stoi(value)));
    else if (key == "timeout")
      mail.SetTimeOut(std::stoi(value));
    else if (key == "receipt")
      mail.SetReturnReceipt(value == "yes");
    else if (key == "priority")
      mail.SetPriority(value == "high" ? ptHigh : value == "low" ? ptLow : ptNormal);
    else if (key == "encoding")
      mail.SetEncoding(value == "uu" ? etUU : etMIME);
    else if (key == "charset")
      mail.SetCharSet(value == "iso-8859-1" ? csISO8859 : csUSASCII);
    else if (key == "helo-domain")
      mail.SetUseDomainAddress(value != "no");
  }
  if (server.empty()) {
    // As the main window does: the host named by the recipient's domain.
    std::string to = SplitAddress(mail.Recipient()).address;
    std::size_t at = to.find('@');
    server = at == std::string::npos ? "" : to.substr(at + 1);
  }
  mail.SetServer(server);
  mail.SetCC(cc);
  mail.SetBCC(bcc);
  mail.SetAttachments(attachments);
  mail.SetBody(body);
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: smtp-send JOB-FILE\n");
    return 2;
  }
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  TSMTP mail(nullptr);
  mail.OnStatusChange = [&mail](components::TObject *) {
    std::printf("status %d\n", static_cast<int>(mail.Status()));
  };
  mail.OnProgress = [&mail](components::TObject *) {
    std::printf("progress %d\n", mail.Progress());
  };
  // Message boxes are answered as soon as they show.
  components::TTimer dialogCloser(nullptr);
  dialogCloser.SetInterval(50);
  dialogCloser.OnTimer = [](components::TObject *) {
    EnumThreadWindows(GetCurrentThreadId(), closeMessageDialog, 0);
  };
  int exitCode = 0;
  DWORD start = GetTickCount();
  try {
    components::TStringList job;
    job.LoadFromFile(argv[1]);
    configure(mail, job);
    try {
      mail.Connect();
      mail.Login();
      mail.SendMail();
      mail.Logout();
    } catch (...) {
      mail.Disconnect();
      throw;
    }
    mail.Disconnect();
    std::printf("elapsed %lu\n", static_cast<unsigned long>(GetTickCount() - start));
    std::printf("result ok\n");
  } catch (const std::exception &error) {
    std::printf("elapsed %lu\n", static_cast<unsigned long>(GetTickCount() - start));
    std::printf("result error %s:%s\n", errorClass(error).c_str(), error.what());
    exitCode = 1;
  }
  components::TStringList &transcript = mail.Transcript();
  for (int i = 0; i < transcript.Count(); ++i)
    std::printf("transcript %s\n", transcript[i].c_str());
  return exitCode;
}
