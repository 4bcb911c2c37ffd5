// The invoice state behind the main window.
#include "invoice-mailer/core/invoice-session.h"

#include "invoice-mailer/core/log-errors.h"

namespace billpost {

void InvoiceSession::openLogPair(const std::string &headerFileName) {
  // The new pair opens before the old one closes: a pair that cannot be
  // opened leaves the user with the log they had.
  std::unique_ptr<InvoiceLog> opened = InvoiceLog::open(headerFileName);
  log_ = std::move(opened);
  found_ = false;
  current_ = InvoiceHeader();
}

std::string InvoiceSession::headerFileName() const {
  return log_ ? log_->headerFileName() : std::string();
}

std::vector<std::string> InvoiceSession::LoadInvoiceNumbers() {
  if (!log_)
    return {};
  log_->refresh();
  return listInvoiceNumbers(*log_, search_);
}

bool InvoiceSession::FindChosenInvoice(const std::string &number) {
  found_ = false;
  if (!log_)
    return false;
  log_->refresh();
  std::size_t count = log_->headerCount();
  for (std::size_t i = 0; i < count && !found_; ++i) {
    current_ = log_->readHeader(i);
    currentRecord_ = i;
    found_ = current_.invoiceNumber == number;
  }
  return found_;
}

std::vector<std::string> InvoiceSession::renderChosenInvoice(const std::string &number,
                                                             const InvoiceLabels &labels) {
  if (!log_ || !found_)
    return {};
  log_->refresh();
  LineItems items = gatherLineItems(*log_, number);
  try {
    return renderInvoice(current_, items, labels);
  } catch (const EConvertError &error) {
    throw EConvertError(log_->headerFileName() + ", invoice " + current_.invoiceNumber +
                        " (record " + std::to_string(currentRecord_) + "): " + error.Message());
  }
}

} // namespace billpost
