// The check road of the main form: a request (first show, restore from the
// tray, "Check..."), the clipboard's text into the rich edit, the check
// through the spelling component, and the corrected text back on the
// clipboard with the word count in the status bar. Also the form's part in
// the clipboard-viewer chain: immediate checking of new clipboard text.
#include "clipboard-checker/win32/main-form.h"

#include "clipboard-checker/win32/clipboard-text.h"
#include "platform/components/win32/application.h"

#include <string>

namespace lexitray {

using namespace components;

namespace {

const char NoTextMessage[] = "There's no text on the clipboard";
// The program's text is 8-bit: text it could not hold unchanged is left on
// the clipboard as it is, and the user is told so in words that fit the
// status bar at the form's designed width.
const char UnrepresentableMessage[] = "Not checked: characters outside the code page";

// Wine's rich edit shapes the whole rest of a paragraph again for each row
// it wraps, so wrapping takes time growing with the square of the
// paragraph's length: seconds for some tens of kilobytes, and a paragraph
// of megabytes runs the process out of memory inside the rich edit, which
// then crashes. Text with a line longer than this is shown unwrapped,
// which costs time linear in its length.
constexpr std::size_t LongestWrappedLine = 8192;

bool hasLineLongerThan(const std::string &text, std::size_t limit) {
  std::size_t lineStart = 0;
  for (;;) {
    std::size_t lineEnd = text.find_first_of("\r\n", lineStart);
    if (lineEnd == std::string::npos)
      return text.size() - lineStart > limit;
    if (lineEnd - lineStart > limit)
      return true;
    lineStart = lineEnd + 1;
  }
}

} // namespace

void TForm1::FormShow(TObject *) {
  if (!firstShowPending_)
    return;
  PostMessageA(Handle(), WM_CHECKREQUEST, 0, 0);
  firstShowPending_ = false;
}

void TForm1::WMCheckRequest(TMessage &message) {
  CheckClipboard();
  message.Result = 0;
}

void TForm1::ToolButton3Click(TObject *) { CheckClipboard(); }

void TForm1::BkTrayIcon1Restore(TObject *) { PostMessageA(Handle(), WM_CHECKREQUEST, 0, 0); }

void TForm1::setStatus(const std::string &text) { StatusBar1->SetSimpleText(text); }

void TForm1::CheckClipboard() {
  // A request while the road runs (a restore from the tray during the
  // dialog, say) is dropped: the running check already has the window,
  // and re-filling the edit would pull the text from under its parser.
  if (checking_)
    return;
  checking_ = true;
  // The last check's message is no news about this one.
  setStatus("");
  struct RoadEnd {
    TForm1 &form;
    ~RoadEnd() {
      form.ToolButton3->SetEnabled(true);
      form.checking_ = false;
    }
  } roadEnd{*this};
  if (!clipboard_->HasFormat(CF_TEXT)) {
    setStatus(NoTextMessage);
    return;
  }
  ToolButton3->SetEnabled(false);
  Application->ProcessMessages();
  // The messages just handled may have changed the clipboard.
  if (!clipboard_->HasFormat(CF_TEXT)) {
    setStatus(NoTextMessage);
    return;
  }
  // The edit never shows a text other than the clipboard's.
  memo1->Clear();
  // A leading byte-order mark is no text: the rest is checked, and the
  // mark is put back when the text goes back.
  std::wstring unicode;
  bool hasUnicode = readClipboardUnicode(unicode);
  byteOrderMark_ = hasUnicode && !unicode.empty() && unicode[0] == ByteOrderMark;
  if (byteOrderMark_)
    unicode.erase(0, 1);
  if (hasUnicode && !textFitsCodePage(unicode)) {
    setStatus(UnrepresentableMessage);
    return;
  }
  // The text is set whole rather than pasted: Wine's rich edit pastes long
  // text in blocks and takes a CR LF split between two of them for two
  // line breaks.
  const std::string text = byteOrderMark_ ? toCodePage(unicode) : clipboard_->AsText();
  // Chosen while the edit is empty, so that no text is wrapped for nothing.
  memo1->SetWordWrap(!hasLineLongerThan(text, LongestWrappedLine));
  memo1->SetText(text);
  VerbaSpell1->CheckWinControl(memo1);
}

void TForm1::VerbaSpell1CheckComplete(TObject *) {
  if (byteOrderMark_)
    writeClipboardUnicode(std::wstring(1, ByteOrderMark) + fromCodePage(memo1->Text()));
  else
    clipboard_->SetAsText(memo1->Text());
  ownWriteSequence_ = GetClipboardSequenceNumber();
  memo1->SetSelStart(0);
  setStatus(std::to_string(VerbaSpell1->WordsChecked()) + " words checked");
}

void TForm1::WMDrawClipboard(TObject *) {
  if (!ImmediateChecking1->Checked() || checking_ || VerbaSpell1->CheckActive())
    return;
  // Our own write-back is no new text to check.
  if (ownWriteSequence_ != 0 && GetClipboardSequenceNumber() == ownWriteSequence_)
    return;
  if (!clipboard_->HasFormat(CF_TEXT))
    return;
  BkTrayIcon1->Restore();
}

} // namespace lexitray
