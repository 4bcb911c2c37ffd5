// Which of the main window's panels shows and which commands are enabled,
// as one function of the window's state, so that every handler applies the
// same rules and a running send disables everything at once.
#ifndef INVOICE_MAILER_CORE_MAIN_WINDOW_STATE_H
#define INVOICE_MAILER_CORE_MAIN_WINDOW_STATE_H

namespace billpost {

enum class MainPanel { InvoiceFile, Addressing };

struct MainWindowState {
  bool logsOpen = false;
  bool found = false; // an invoice of the log was looked up
  MainPanel wanted = MainPanel::InvoiceFile;
  bool textHasLines = false; // the text area holds a rendered invoice
  bool attachmentSelected = false;
  bool toHasAt = false;
  bool fromHasAt = false;
  bool busy = false; // rendering or sending runs
};

struct MainWindowControls {
  MainPanel shown = MainPanel::InvoiceFile;
  bool openLog = false;    // open button, File > Open, the file field
  bool exportText = false; // File > Export
  bool search = false;     // Search menu and button
  bool view = false;       // View menu and button, Refresh
  bool timer = false;      // the ship-to ticker in the status bar
  bool mailButton = false; // Mail button and the Mail menu
  bool address = false;    // Mail > Address Invoice
  bool attach = false;     // Attach button and item
  bool detach = false;
  bool send = false;        // Mail > Send Invoice
  bool exitProgram = false; // exit button, File > Exit and closing
};

MainWindowControls ControlsFor(const MainWindowState &state);

} // namespace billpost

#endif
