#include "invoice-mailer/core/main-window-state.h"

namespace billpost {

MainWindowControls ControlsFor(const MainWindowState &state) {
  MainWindowControls controls;
  // The addressing panel shows only while a log is open.
  controls.shown = state.wanted == MainPanel::Addressing && state.logsOpen ? MainPanel::Addressing
                                                                           : MainPanel::InvoiceFile;
  if (state.busy)
    return controls; // nothing starts inside a running send, nothing closes
  bool invoicePanel = controls.shown == MainPanel::InvoiceFile;
  bool addressing = !invoicePanel;
  bool addresses = state.toHasAt && state.fromHasAt;
  controls.openLog = true;
  controls.exitProgram = true;
  controls.address = true;
  controls.exportText = state.found && state.textHasLines;
  controls.search = invoicePanel && state.logsOpen;
  controls.view = invoicePanel && state.found;
  controls.timer = state.found;
  controls.attach = state.textHasLines;
  controls.mailButton = state.textHasLines && (!addressing || addresses);
  controls.send = addressing && state.textHasLines && addresses;
  controls.detach = state.attachmentSelected;
  return controls;
}

} // namespace billpost
