// The invoice as plain text: the lines that the main window shows, exports
// and mails. Columns are made by padding with blanks; labels come partly
// from "ledgerly.INI" and partly from the program. Amounts use the fixed
// form of number-text.h.
#ifndef INVOICE_MAILER_CORE_INVOICE_TEXT_H
#define INVOICE_MAILER_CORE_INVOICE_TEXT_H

#include "invoice-mailer/core/invoice-log.h"
#include "invoice-mailer/core/invoice-records.h"

#include <string>
#include <vector>

namespace components {
class TIniFile;
}

namespace billpost {

// The texts that "ledgerly.INI" lends the invoice, with their defaults.
struct InvoiceLabels {
  std::string company = "My Company Name";
  std::string address1 = "123 Street Name";
  std::string address2 = "Suite 10";
  std::string address3 = "City State  ZipCode";
  std::string quantity = "Qty";
  std::string unitPrice = "Unit Cost";
  std::string total = "Extended";
  std::string product = "Product";
  std::string description = "Description";
  std::string tax1Name = "Tax1";
  std::string tax2Name = "Tax2";
};

// The labels from ini; every key it lacks keeps its default.
InvoiceLabels readInvoiceLabels(const components::TIniFile &ini);

// Pads line with blanks to column + 1 characters when it is shorter than
// column, then appends one blank and field.
void PadToColumn(std::string &line, std::size_t column, const std::string &field);
std::string RepeatChar(char character, std::size_t count);

// The items of invoiceNumber whose quantity is not 0, in file order, in the
// first slots; the rest are empty. Items past the last slot are ignored.
LineItems gatherLineItems(InvoiceLog &log, const std::string &invoiceNumber);

// The invoice's lines. Throws EConvertError when the shipping cost or
// credited text is not a number (an empty one counts as 0) or an amount
// leaves the double range; no lines are returned then, so a failed render
// never leaves a text that could still be mailed.
std::vector<std::string> renderInvoice(const InvoiceHeader &header, const LineItems &items,
                                       const InvoiceLabels &labels);

// The lines as one text, each ending with CR LF, as the text area exports
// them.
std::string joinLines(const std::vector<std::string> &lines);

} // namespace billpost

#endif
