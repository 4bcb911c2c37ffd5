#include "invoice-mailer/win32/main-form.h"

#include "invoice-mailer/core/invoice-totals.h"
#include "invoice-mailer/core/mail-address.h"
#include "invoice-mailer/core/text-export.h"
#include "invoice-mailer/win32/search-form.h"
#include "invoice-mailer/win32/toolbar-glyphs.h"
#include "invoice-mailer/win32/wait-form.h"
#include "platform/components/core/exception.h"
#include "platform/components/core/file-system.h"
#include "platform/components/core/ini-file.h"
#include "platform/components/win32/application.h"

#include <memory>

namespace billpost {

using namespace components;

namespace {

constexpr int helpTopic = 910;
// Two lines of a message: line feed, then carriage return.
const char *const lineBreak = "\n\r";

std::string programFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return ExtractFilePath(path);
}

void errorMessage(const std::string &text) { MessageDlg(text, mtError, mbOK, 0); }

// Posted to the window when a list reload found no invoice: the box comes
// once the drop-down has opened and been closed again, so that it never
// stands over an open, empty list that would bring it back at each click.
constexpr UINT noInvoicesMessage = WM_APP + 1;

TLabel *addLabel(TForm *owner, TWinControl *parent, const std::string &caption, int left, int top) {
  auto *label = new TLabel(owner);
  label->SetParent(parent);
  label->SetBounds(left, top, 70, 16);
  label->SetCaption(caption);
  return label;
}

TEdit *addEdit(TForm *owner, TWinControl *parent, const std::string &name, int left, int top,
               int width) {
  auto *edit = new TEdit(owner);
  edit->SetName(name);
  edit->SetParent(parent);
  edit->SetBounds(left, top, width, 21);
  return edit;
}

} // namespace

TForm1::TForm1(TComponent *owner) : TForm(owner) {
  SetName("Form1");
  SetCaption("Billpost for Ledgerly 95");
  SetBorderStyle(bsSingle);
  SetBorderIcons(biSystemMenu | biMinimize);
  SetPosition(poScreenCenter);
  SetBounds(0, 0, 415, 465);

  SMTPMail = new TSMTP(this);
  SMTPMail->SetCharSet(csUSASCII);
  SMTPMail->SetDefaultPort(25);
  SMTPMail->OnStatusChange = [this](TObject *) { smtpStatus(); };
  SMTPMail->OnProgress = [this](TObject *) { smtpProgress(); };
  Timer1 = new TTimer(this);
  Timer1->SetInterval(5000);
  Timer1->SetEnabled(false);
  Timer1->OnTimer = [this](TObject *) { timerTick(); };
  OpenDialog1 = new TOpenDialog(this);
  OpenDialog1->SetTitle("Open Ledgerly Invoice Log");
  OpenDialog1->SetFilter("Ledgerly Log Files (*.ldl)|*.ldl");
  OpenDialog1->SetDefaultExt("ldl");
  OpenDialog2 = new TOpenDialog(this);
  OpenDialog2->SetTitle("Attach file(s) to invoice");
  OpenDialog2->SetFilter("All Files (*.*)|*.*");
  SaveDialog1 = new TSaveDialog(this);
  SaveDialog1->SetTitle("Export Invoice To");
  SaveDialog1->SetDefaultExt("txt");
  SaveDialog1->SetFilter("Text Files (*.txt)|*.txt");

  buildMenus();
  buildToolbar();
  buildPanels();

  StatusBar1 = new TStatusBar(this);
  StatusBar1->SetName("StatusBar1");
  StatusBar1->SetParent(this);
  StatusBar1->SetAlign(alBottom);
  StatusBar1->AddPanel().SetWidth(180);
  TStatusPanel &right = StatusBar1->AddPanel();
  right.SetWidth(50);
  right.SetAlignment(taRightJustify);

  memoEMail = new TMemo(this);
  memoEMail->SetName("memoEMail");
  // Styles first: the window is made with them when it gets its parent.
  // Lines are the invoice's own lines, not wrapped into the window's width.
  memoEMail->SetScrollBars(ssBoth);
  memoEMail->SetWordWrap(false);
  memoEMail->SetParent(this);
  memoEMail->SetAlign(alClient);
  memoEMail->SetReadOnly(true);
  memoEMail->SetPopupMenu(PopupMenu1);
  memoEMail->Font().SetName("Courier New");
  memoEMail->OnChange = [this](TObject *) { memoChanged(); };

  labels_ = readInvoiceLabels(TIniFile(programFolder() + "ledgerly.INI"));
  OnCloseQuery = [this](TObject *, bool &canClose) {
    // Closing inside a send would free the form under the running wait.
    if (state_.busy) {
      closeDeferred_ = true;
      canClose = false;
    }
  };
  applyState();
}

TForm1::~TForm1() = default;

TMenuItem *TForm1::addItem(TMenuItem &parent, const std::string &caption,
                           std::function<void()> handler) {
  auto *item = new TMenuItem(this);
  item->SetCaption(caption);
  if (handler)
    item->OnClick = [handler](TObject *) { handler(); };
  parent.Add(item);
  return item;
}

void TForm1::buildMenus() {
  MainMenu1 = new TMainMenu(this);
  TMenuItem &bar = MainMenu1->Items();
  mnuFile = addItem(bar, "&File", [this] { applyState(); });
  mnuOpen = addItem(*mnuFile, "&Open...", [this] { openLogPair(false); });
  mnuExport = addItem(*mnuFile, "&Export...", [this] { exportInvoice(); });
  mnuExit = addItem(*mnuFile, "E&xit", [this] { Close(); });
  mnuSearch = addItem(bar, "&Search", nullptr);
  mnuList = addItem(*mnuSearch, "Invoice &List...", [this] { search(); });
  mnuView = addItem(bar, "&View", nullptr);
  mnuSelected = addItem(*mnuView, "&Selected Invoice", [this] { viewInvoice(); });
  mnuMail = addItem(bar, "&Mail", [this] {
    state_.wanted = state_.logsOpen ? MainPanel::Addressing : MainPanel::InvoiceFile;
    applyState();
  });
  mnuAddress = addItem(*mnuMail, "&Address Invoice", [this] { addressInvoice(); });
  mnuAttach = addItem(*mnuMail, "Atta&ch File...", [this] { attachFile(); });
  mnuDetach = addItem(*mnuMail, "&Detach File", [this] { detachFile(); });
  mnuSend = addItem(*mnuMail, "&Send Invoice", [this] { sendInvoice(); });
  mnuHelp = addItem(bar, "&Help", nullptr);
  mnuBillpost = addItem(*mnuHelp, "&Billpost", [this] { showHelp(mnuBillpost->Tag()); });
  mnuBillpost->SetTag(helpTopic);
  SetMenu(MainMenu1);

  PopupMenu1 = new TPopupMenu(this);
  mnuClear = addItem(PopupMenu1->Items(), "&Clear", [this] { memoEMail->Clear(); });
  mnuRefresh = addItem(PopupMenu1->Items(), "&Refresh", [this] { viewInvoice(); });
}

TTransparentButton *TForm1::addButton(int index, const std::string &hint, int glyph,
                                      std::function<void()> handler) {
  auto *button = new TTransparentButton(this);
  button->SetParent(pnlToolbar);
  button->SetBounds(4 + index * 36, 3, 34, 34);
  button->SetHint(hint);
  button->SetShowHint(true);
  button->SetGlyph(DrawToolbarGlyph(static_cast<ToolbarGlyph>(glyph)));
  button->OnClick = [handler](TObject *) { handler(); };
  return button;
}

void TForm1::buildToolbar() {
  pnlToolbar = new TPanel(this);
  pnlToolbar->SetParent(this);
  pnlToolbar->SetAlign(alTop);
  pnlToolbar->SetHeight(40);
  tbtnOpen = addButton(0, "Open Ledgerly Log File", 0, [this] { openLogPair(false); });
  tbtnOpen->SetName("tbtnOpen");
  tbtnSearch = addButton(1, "Search (filter) Invoice List", 1, [this] { search(); });
  tbtnSearch->SetName("tbtnSearch");
  tbtnView = addButton(2, "Show Selected Invoice", 2, [this] { viewInvoice(); });
  tbtnView->SetName("tbtnView");
  tbtnHelp = addButton(3, "Open Ledgerly Help to Billpost Topic", 3,
                       [this] { showHelp(tbtnHelp->Tag()); });
  tbtnHelp->SetName("tbtnHelp");
  tbtnHelp->SetTag(helpTopic);
  tbtnExit = addButton(4, "Exit Billpost", 4, [this] { Close(); });
  tbtnExit->SetName("tbtnExit");
  tbtnMail = addButton(5, "E-Mail Selected Invoice", 5, [this] { mailButton(); });
  tbtnMail->SetName("tbtnMail");
  tbtnAttach = addButton(6, "Attach file(s) to e-mail invoice", 6, [this] { attachFile(); });
  tbtnAttach->SetName("tbtnAttach");
}

void TForm1::buildPanels() {
  pnlInvoiceFile = new TPanel(this);
  pnlInvoiceFile->SetName("pnlInvoiceFile");
  pnlInvoiceFile->SetParent(this);
  pnlInvoiceFile->SetAlign(alTop);
  pnlInvoiceFile->SetHeight(150);
  addLabel(this, pnlInvoiceFile, "Filename", 8, 12);
  Edit2 = addEdit(this, pnlInvoiceFile, "Edit2", 80, 8, 310);
  Edit2->OnExit = [this](TObject *) {
    if (!Edit2->Text().empty() && !state_.busy)
      openLogPair(true);
  };
  addLabel(this, pnlInvoiceFile, "Invoice", 8, 44);
  cboxInvoiceNos = new TComboBox(this);
  cboxInvoiceNos->SetName("cboxInvoiceNos");
  cboxInvoiceNos->SetStyle(csDropDownList);
  cboxInvoiceNos->SetParent(pnlInvoiceFile);
  cboxInvoiceNos->SetBounds(80, 40, 150, 200);
  cboxInvoiceNos->OnDropDown = [this](TObject *) { dropDown(); };
  cboxInvoiceNos->OnChange = [this](TObject *) { invoiceChosen(); };

  pnlEmailAddress = new TPanel(this);
  pnlEmailAddress->SetName("pnlEmailAddress");
  pnlEmailAddress->SetParent(this);
  pnlEmailAddress->SetAlign(alTop);
  pnlEmailAddress->SetHeight(150);
  pnlEmailAddress->Hide();
  addLabel(this, pnlEmailAddress, "Subject", 8, 8);
  editSubject = addEdit(this, pnlEmailAddress, "editSubject", 80, 4, 310);
  addLabel(this, pnlEmailAddress, "To", 8, 32);
  editToName = addEdit(this, pnlEmailAddress, "editToName", 80, 28, 130);
  addLabel(this, pnlEmailAddress, "E-Mail Addr", 214, 32);
  editToAddress = addEdit(this, pnlEmailAddress, "editToAddress", 280, 28, 110);
  addLabel(this, pnlEmailAddress, "From", 8, 56);
  editFromName = addEdit(this, pnlEmailAddress, "editFromName", 80, 52, 130);
  addLabel(this, pnlEmailAddress, "E-Mail Addr", 214, 56);
  editFromAddress = addEdit(this, pnlEmailAddress, "editFromAddress", 280, 52, 110);
  addLabel(this, pnlEmailAddress, "Attach", 8, 80);
  lboxAttachFile = new TListBox(this);
  lboxAttachFile->SetName("lboxAttachFile");
  lboxAttachFile->SetParent(pnlEmailAddress);
  lboxAttachFile->SetBounds(80, 78, 310, 64);
  lboxAttachFile->OnClick = [this](TObject *) {
    state_.attachmentSelected = lboxAttachFile->ItemIndex() >= 0;
    applyState();
  };
  for (TEdit *field : {editToAddress, editFromAddress}) {
    field->OnChange = [this](TObject *) { addressChanged(); };
    field->OnExit = [this, field](TObject *) { addressLeft(field); };
  }
}

void TForm1::showPanel(MainPanel panel) {
  bool addressing = panel == MainPanel::Addressing;
  pnlEmailAddress->SetVisible(addressing);
  pnlInvoiceFile->SetVisible(!addressing);
}

void TForm1::applyState() {
  state_.textHasLines =
      memoEMail && memoEMail->Lines().Count() > 0 && !memoEMail->Lines().Text().empty();
  MainWindowControls c = ControlsFor(state_);
  showPanel(c.shown);
  mnuOpen->SetEnabled(c.openLog);
  tbtnOpen->SetEnabled(c.openLog);
  Edit2->SetEnabled(c.openLog);
  mnuExport->SetEnabled(c.exportText);
  mnuExit->SetEnabled(c.exitProgram);
  tbtnExit->SetEnabled(c.exitProgram);
  mnuList->SetEnabled(c.search);
  tbtnSearch->SetEnabled(c.search);
  mnuSelected->SetEnabled(c.view);
  mnuRefresh->SetEnabled(c.view);
  tbtnView->SetEnabled(c.view);
  cboxInvoiceNos->SetEnabled(!state_.busy && state_.logsOpen);
  Timer1->SetEnabled(c.timer);
  mnuAddress->SetEnabled(c.address);
  mnuAttach->SetEnabled(c.attach);
  tbtnAttach->SetEnabled(c.attach);
  tbtnMail->SetEnabled(c.mailButton);
  mnuSend->SetEnabled(c.send);
  mnuDetach->SetEnabled(c.detach);
  mnuClear->SetEnabled(!state_.busy);
  tbtnHelp->SetEnabled(!state_.busy);
}

void TForm1::openLogPair(bool fromField) {
  std::string name = Edit2->Text();
  bool exists = !name.empty() && FileExists(name);
  std::string chosen;
  if (fromField && exists) {
    chosen = name;
  } else {
    if (exists)
      OpenDialog1->SetFileName(name);
    if (!OpenDialog1->Execute())
      return;
    chosen = OpenDialog1->FileName();
  }
  // The pair opens before anything shown changes: one that cannot be
  // opened leaves the window showing the log that is still open.
  try {
    session_.openLogPair(chosen);
  } catch (...) {
    if (session_.logsOpen())
      Edit2->SetText(session_.headerFileName());
    throw;
  }
  cboxInvoiceNos->Items().Clear();
  memoEMail->Clear();
  state_.found = false;
  state_.logsOpen = true;
  state_.wanted = MainPanel::InvoiceFile;
  StatusBar1->Panels(0).SetText(logTitle(chosen));
  Edit2->SetText(chosen);
  applyState();
  if (!FileExists(Edit2->Text())) {
    cboxInvoiceNos->SetEnabled(false);
    errorMessage(ExtractFileName(Edit2->Text()) + " is not a valid log file.");
  }
}

void TForm1::dropDown() {
  std::vector<std::string> numbers = session_.LoadInvoiceNumbers();
  TControlItems &items = cboxInvoiceNos->Items();
  bool same = items.Count() == static_cast<int>(numbers.size());
  for (int i = 0; same && i < items.Count(); ++i)
    same = items[i] == numbers[static_cast<size_t>(i)];
  // A list as long as a year's log is filled without redrawing, and not
  // at all when it has not changed: the drop-down must open at once.
  if (!same)
    cboxInvoiceNos->AssignItems(numbers);
  state_.wanted = MainPanel::InvoiceFile;
  applyState();
  if (numbers.empty())
    PostMessageA(Handle(), noInvoicesMessage, 0, 0);
}

void TForm1::WndProc(TMessage &message) {
  if (message.Msg != noInvoicesMessage) {
    TForm::WndProc(message);
    return;
  }
  SendMessageA(cboxInvoiceNos->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  errorMessage(std::string("There are no Invoices") + lineBreak + "matching your search.");
}

void TForm1::invoiceChosen() {
  int index = cboxInvoiceNos->ItemIndex();
  std::string number = index >= 0 ? cboxInvoiceNos->Items()[index] : "";
  bool found = session_.FindChosenInvoice(number);
  state_.found = found;
  memoEMail->Clear();
  ticks_ = 0;
  if (found)
    StatusBar1->Panels(1).SetText(session_.currentHeader().shipTo.lines[0]);
  applyState();
  if (!found)
    errorMessage("Invoice not in log.");
}

void TForm1::search() {
  SearchSettings &settings = session_.searchSettings();
  {
    TSearchForm form(this);
    form.SearchParms(settings.key1, settings.key2, settings.filterOn, settings.joinWord);
  }
  dropDown();
}

void TForm1::viewInvoice() {
  if (!state_.found || state_.busy)
    return;
  int index = cboxInvoiceNos->ItemIndex();
  std::string number = index >= 0 ? cboxInvoiceNos->Items()[index] : "";
  state_.busy = true;
  applyState();
  std::unique_ptr<TWaitForm> wait(new TWaitForm(this));
  waitForm_ = wait.get();
  wait->DlgInfo("Invoice...", session_.currentHeader().billTo.lines[0]);
  wait->SetStatus("Loading " + number);
  wait->Show();
  // The program reads no messages while it renders: the dialog is drawn
  // now, with the gauge at its start.
  wait->SetProgress(0);
  try {
    std::vector<std::string> lines = session_.renderChosenInvoice(number, labels_);
    memoEMail->Lines().SetText(joinLines(lines));
  } catch (...) {
    waitForm_ = nullptr;
    state_.busy = false;
    applyState();
    throw;
  }
  waitForm_ = nullptr;
  wait.reset();
  state_.busy = false;
  applyState();
}

void TForm1::exportInvoice() {
  if (!SaveDialog1->Execute())
    return;
  std::string name = SaveDialog1->FileName();
  if (FileExists(name) &&
      MessageDlg(name + " already exists." + lineBreak + "Do you want to replace it?",
                 mtConfirmation, mbYes | mbNo, 0) != mrYes)
    return;
  std::vector<std::string> lines;
  for (int i = 0; i < memoEMail->Lines().Count(); ++i)
    lines.push_back(memoEMail->Lines()[i]);
  ExportText(defaultFileSystem(), name, joinLines(lines));
}

void TForm1::showHelp(int context) {
  Application->SetHelpFile(programFolder() + "Ledgerly.hlp");
  Application->HelpContext(context);
}

void TForm1::addressInvoice() {
  state_.wanted = MainPanel::Addressing;
  applyState();
  if (pnlEmailAddress->Visible())
    editFromName->SetFocus();
  mnuSend->SetEnabled(false);
  tbtnMail->SetEnabled(false);
}

void TForm1::mailButton() {
  if (pnlEmailAddress->Visible())
    sendInvoice();
  else
    addressInvoice();
  if (!state_.logsOpen)
    state_.wanted = MainPanel::InvoiceFile;
  applyState();
}

void TForm1::sendInvoice() {
  if (state_.busy)
    return; // a second send never starts inside the first
  if (editToAddress->Text().empty() || editSubject->Text().empty()) {
    MessageDlg(std::string("Please enter an E-Mail") + lineBreak + "Address and Subject.",
               mtWarning, mbOK, 0);
    return;
  }
  SendEMail();
}

void TForm1::attachFile() {
  state_.wanted = MainPanel::Addressing;
  applyState();
  if (!OpenDialog2->Execute())
    return;
  lboxAttachFile->Items().Add(OpenDialog2->FileName());
}

void TForm1::detachFile() {
  int index = lboxAttachFile->ItemIndex();
  if (index >= 0)
    lboxAttachFile->Items().Delete(index);
  state_.attachmentSelected = false;
  applyState();
}

void TForm1::addressChanged() {
  state_.toHasAt = editToAddress->Text().find('@') != std::string::npos;
  state_.fromHasAt = editFromAddress->Text().find('@') != std::string::npos;
  applyState();
}

void TForm1::addressLeft(TEdit *field) {
  // The focus that goes back to the faulty field leaves the other one: that
  // leave is not checked, or the two would bounce error boxes for ever.
  if (checkingAddress_ || state_.busy || !pnlEmailAddress->Visible())
    return;
  if (LooksLikeAddress(field->Text()))
    return;
  checkingAddress_ = true;
  try {
    errorMessage(std::string("This does not appear to be") + lineBreak + "a valid e-mail address.");
    field->SetFocus();
  } catch (...) {
    checkingAddress_ = false;
    throw;
  }
  checkingAddress_ = false;
}

void TForm1::memoChanged() {
  applyState();
  if (waitForm_) {
    int percent = static_cast<int>(memoEMail->Lines().Count() * 100 * 0.025);
    waitForm_->SetProgress(percent > 100 ? 100 : percent);
  }
}

void TForm1::timerTick() {
  if (!state_.found)
    return;
  ++ticks_;
  const InvoiceHeader &header = session_.currentHeader();
  StatusBar1->Panels(1).SetText(ticks_ % 2 ? header.shipTo.lines[1] : header.shipTo.lines[0]);
}

void TForm1::smtpStatus() {
  if (waitForm_)
    waitForm_->SetStatus(StatusText(SMTPMail->Status()));
}

void TForm1::smtpProgress() {
  if (waitForm_)
    waitForm_->SetProgress(SMTPMail->Progress());
}

void TForm1::SendEMail() {
  std::string to = editToAddress->Text();
  // An empty or malformed host would be looked up as this machine.
  if (!DeliverableAddress(to))
    throw Exception("\"" + to + "\" is not an address mail can be sent to");
  SMTPMail->SetRecipient(to + " |" + editToName->Text());
  SMTPMail->SetSubject(editSubject->Text());
  SMTPMail->SetFrom(editFromAddress->Text() + " |" + editFromName->Text());
  TStringList attachments;
  for (int i = 0; i < lboxAttachFile->Items().Count(); ++i)
    attachments.Add(lboxAttachFile->Items()[i]);
  SMTPMail->SetAttachments(attachments);
  SMTPMail->SetServer(MailHostOf(to));
  TStringList body;
  for (int i = 0; i < memoEMail->Lines().Count(); ++i)
    body.Add(memoEMail->Lines()[i]);
  SMTPMail->SetBody(body);
  SMTPMail->SetDefaultPort(25);

  state_.busy = true;
  applyState();
  std::unique_ptr<TWaitForm> wait(new TWaitForm(this));
  waitForm_ = wait.get();
  auto finish = [&] {
    SMTPMail->Disconnect();
    waitForm_ = nullptr;
    wait.reset();
    state_.busy = false;
    applyState();
    if (closeDeferred_) {
      closeDeferred_ = false;
      PostMessageA(Handle(), WM_CLOSE, 0, 0);
    }
  };
  try {
    // Shown from the start: a server that is slow to answer, or never
    // greets, is waited for with the dialog saying so.
    wait->DlgInfo("Sending...", editToName->Text());
    wait->SetStatus("Connecting");
    wait->Show();
    wait->SetProgress(0);
    SMTPMail->Connect();
    SMTPMail->Login();
    SMTPMail->SendMail();
    SMTPMail->Logout();
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

} // namespace billpost
