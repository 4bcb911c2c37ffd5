// TForm1: Billpost's main window. It opens an invoice log pair, lists and
// finds invoices, shows the chosen one as text, exports it, and mails it
// with attachments through the SMTP component. Which panel shows and which
// commands are enabled follows ControlsFor of the window's state; while a
// send runs every command is disabled and closing waits for its end.
#ifndef INVOICE_MAILER_WIN32_MAIN_FORM_H
#define INVOICE_MAILER_WIN32_MAIN_FORM_H

#include "invoice-mailer/core/invoice-session.h"
#include "invoice-mailer/core/main-window-state.h"
#include "invoice-mailer/win32/smtp.h"
#include "invoice-mailer/win32/transparent-button.h"
#include "platform/components/win32/common-controls.h"
#include "platform/components/win32/dialogs.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/menus.h"
#include "platform/components/win32/std-controls.h"
#include "platform/components/win32/utility.h"

#include <functional>
#include <string>

namespace billpost {

class TWaitForm;

class TForm1 : public components::TForm {
public:
  explicit TForm1(components::TComponent *owner);
  ~TForm1() override;

  bool Sending() const { return state_.busy; }

protected:
  void WndProc(components::TMessage &message) override;

private:
  void buildMenus();
  void buildToolbar();
  void buildPanels();
  components::TMenuItem *addItem(components::TMenuItem &parent, const std::string &caption,
                                 std::function<void()> handler);
  TTransparentButton *addButton(int index, const std::string &hint, int glyph,
                                std::function<void()> handler);

  // The commands.
  void openLogPair(bool fromField);
  void dropDown();
  void invoiceChosen();
  void search();
  void viewInvoice();
  void exportInvoice();
  void showHelp(int context);
  void addressInvoice();
  void mailButton();
  void sendInvoice();
  void attachFile();
  void detachFile();
  void addressChanged();
  void addressLeft(components::TEdit *field);
  void memoChanged();
  void timerTick();
  void SendEMail();
  void smtpStatus();
  void smtpProgress();

  // Puts the state into the panels and the enabling of every command.
  void applyState();
  void showPanel(MainPanel panel);

  InvoiceSession session_;
  InvoiceLabels labels_;
  MainWindowState state_;
  bool closeDeferred_ = false;
  bool checkingAddress_ = false;
  int ticks_ = 0;
  TWaitForm *waitForm_ = nullptr;

  components::TMainMenu *MainMenu1;
  components::TMenuItem *mnuFile, *mnuOpen, *mnuExport, *mnuExit, *mnuSearch, *mnuList, *mnuView,
      *mnuSelected, *mnuMail, *mnuAddress, *mnuAttach, *mnuDetach, *mnuSend, *mnuHelp, *mnuBillpost;
  components::TPopupMenu *PopupMenu1;
  components::TMenuItem *mnuClear, *mnuRefresh;
  components::TPanel *pnlToolbar;
  TTransparentButton *tbtnOpen, *tbtnSearch, *tbtnView, *tbtnHelp, *tbtnExit, *tbtnMail,
      *tbtnAttach;
  components::TPanel *pnlInvoiceFile;
  components::TEdit *Edit2;
  components::TComboBox *cboxInvoiceNos;
  components::TPanel *pnlEmailAddress;
  components::TEdit *editSubject, *editToName, *editToAddress, *editFromName, *editFromAddress;
  components::TListBox *lboxAttachFile;
  components::TMemo *memoEMail;
  components::TStatusBar *StatusBar1;
  components::TTimer *Timer1;
  TSMTP *SMTPMail;
  components::TOpenDialog *OpenDialog1, *OpenDialog2;
  components::TSaveDialog *SaveDialog1;
};

} // namespace billpost

#endif
