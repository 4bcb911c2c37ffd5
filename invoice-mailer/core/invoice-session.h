// The invoice state behind Billpost's main window: the open log pair, the
// search settings, and the invoice last looked up. The window turns what
// these operations answer into its controls, status texts and messages;
// every operation that reads the logs starts from the files as they are
// now.
#ifndef INVOICE_MAILER_CORE_INVOICE_SESSION_H
#define INVOICE_MAILER_CORE_INVOICE_SESSION_H

#include "invoice-mailer/core/invoice-log.h"
#include "invoice-mailer/core/invoice-records.h"
#include "invoice-mailer/core/invoice-search.h"
#include "invoice-mailer/core/invoice-text.h"

#include <memory>
#include <string>
#include <vector>

namespace billpost {

class InvoiceSession {
public:
  // Opens the pair of headerFileName in place of the open one, forgetting
  // the invoice looked up. Throws EInOutError when the new pair cannot be
  // opened; the open pair and the invoice looked up then stay as they were.
  void openLogPair(const std::string &headerFileName);
  bool logsOpen() const { return log_ != nullptr; }
  // The open pair's header file name; empty when none is open.
  std::string headerFileName() const;

  SearchSettings &searchSettings() { return search_; }

  // The invoice numbers of the open log, filtered as the search settings
  // say; empty when no pair is open.
  std::vector<std::string> LoadInvoiceNumbers();

  // Reads the headers from the first until one carries exactly number;
  // each header read becomes the current one. Answers the found flag.
  bool FindChosenInvoice(const std::string &number);
  bool found() const { return found_; }
  const InvoiceHeader &currentHeader() const { return current_; }

  // The text of the current header with the items of number (the number
  // the window shows), or no lines when nothing was found. Throws what
  // renderInvoice and the readers throw, a conversion error prefixed with
  // the log file, the invoice and its header record so that the user can
  // find the damaged invoice; no lines reach the caller then.
  std::vector<std::string> renderChosenInvoice(const std::string &number,
                                               const InvoiceLabels &labels);

private:
  std::unique_ptr<InvoiceLog> log_;
  SearchSettings search_;
  InvoiceHeader current_;
  std::size_t currentRecord_ = 0; // the header record current_ was read from
  bool found_ = false;
};

} // namespace billpost

#endif
