// Rendering an invoice as plain text lines.
#include "invoice-mailer/core/invoice-text.h"

#include "invoice-mailer/core/invoice-totals.h"
#include "invoice-mailer/core/log-errors.h"
#include "invoice-mailer/core/number-text.h"

#include "platform/components/core/ini-file.h"

#include <cmath>

namespace billpost {

InvoiceLabels readInvoiceLabels(const components::TIniFile &ini) {
  InvoiceLabels labels;
  auto value = [&](const char *section, std::string &label) {
    label = ini.ReadString(section, "Value", label);
  };
  value("Company", labels.company);
  value("Address1", labels.address1);
  value("Address2", labels.address2);
  value("Address3", labels.address3);
  value("Quantity", labels.quantity);
  value("Unit Price", labels.unitPrice);
  value("Total", labels.total);
  value("Product", labels.product);
  value("Description", labels.description);
  labels.tax1Name = ini.ReadString("Taxes", "Tax1Name", labels.tax1Name);
  labels.tax2Name = ini.ReadString("Taxes", "Tax2Name", labels.tax2Name);
  return labels;
}

void PadToColumn(std::string &line, std::size_t column, const std::string &field) {
  if (line.size() < column)
    line.resize(column + 1, ' ');
  line += ' ';
  line += field;
}

std::string RepeatChar(char character, std::size_t count) { return std::string(count, character); }

LineItems gatherLineItems(InvoiceLog &log, const std::string &invoiceNumber) {
  LineItems slots;
  std::size_t used = 0;
  for (InvoiceLineItem &item : log.itemsOf(invoiceNumber)) {
    if (used == slots.size())
      break;
    if (item.quantity != 0)
      slots[used++] = std::move(item);
  }
  return slots;
}

namespace {

// An amount field of the header; an empty one means nothing is owed.
double storedAmount(const std::string &text) {
  if (text.find_first_not_of(' ') == std::string::npos)
    return 0;
  return textToFloat(text);
}

std::string amount(double value) {
  // Huge prices times quantities can overflow; such a text must not be
  // mailed as an invoice.
  if (!std::isfinite(value))
    throw EConvertError("An amount of the invoice is out of range");
  return formatFixed(value);
}

std::string columnLine(const std::string &label, const std::string &field) {
  std::string line = label;
  PadToColumn(line, 25, field);
  return line;
}

void addAddress(std::vector<std::string> &lines, const AddressBlock &block) {
  for (std::size_t i = 0; i < block.lines.size(); ++i) {
    // The first three lines keep their place even when empty.
    if (i < 3 || !block.lines[i].empty())
      lines.push_back(block.lines[i]);
  }
}

} // namespace

std::vector<std::string> renderInvoice(const InvoiceHeader &header, const LineItems &items,
                                       const InvoiceLabels &labels) {
  // The amounts are converted first: a stored text that is not a number
  // ends the render before any line exists.
  const double shipping = storedAmount(header.shippingCost);
  const double credited = storedAmount(header.credited);
  const double subTotal = InvoiceTotal(items);
  const TaxAmounts taxes = TaxTotals(items);
  const double grand = subTotal + shipping;

  std::vector<std::string> lines = {labels.company, labels.address1, labels.address2,
                                    labels.address3};
  lines.insert(lines.end(), {"", RepeatChar('_', 50), ""});
  lines.insert(lines.end(), {"Invoice Number: " + header.invoiceNumber, ""});
  lines.insert(lines.end(), {"Ship Via: " + header.shipVia, "Invoice Terms: " + header.terms, ""});
  if (!header.notes.empty())
    lines.insert(lines.end(), {"Notes: " + header.notes, ""});

  lines.insert(lines.end(), {RepeatChar('_', 30), "Bill To:", ""});
  addAddress(lines, header.billTo);
  lines.insert(lines.end(), {RepeatChar('_', 30), ""});
  lines.insert(lines.end(), {"Ship To:", ""});
  addAddress(lines, header.shipTo);
  lines.insert(lines.end(), {RepeatChar('_', 30), "", ""});

  std::string heading;
  PadToColumn(heading, 0, labels.quantity);
  PadToColumn(heading, 10, labels.unitPrice);
  PadToColumn(heading, 25, labels.total);
  PadToColumn(heading, 40, labels.product);
  PadToColumn(heading, 60, labels.description);
  lines.push_back(heading);
  lines.push_back(RepeatChar('_', 95));
  for (const InvoiceLineItem &item : items) {
    if (item.quantity == 0)
      continue;
    std::string line;
    PadToColumn(line, 0, std::to_string(item.quantity));
    PadToColumn(line, 10, amount(item.unitPrice));
    PadToColumn(line, 25, amount(item.quantity * item.unitPrice));
    PadToColumn(line, 40, item.product);
    PadToColumn(line, 60, item.description);
    lines.push_back(line);
  }
  lines.insert(lines.end(), {"", "", RepeatChar('_', 35), "", ""});

  lines.push_back(columnLine("SubTotal:", amount(subTotal)));
  lines.push_back(columnLine("Shipping Cost:", header.shippingCost));
  if (taxes.tax1 > 0)
    lines.push_back(columnLine(labels.tax1Name, amount(taxes.tax1)));
  if (taxes.tax2 > 0)
    lines.push_back(columnLine(labels.tax2Name, amount(taxes.tax2)));
  lines.push_back("");
  lines.push_back(columnLine("[Credited]:", header.credited));
  lines.push_back("");
  lines.push_back(columnLine("Total Due:", amount(grand - credited)));
  lines.push_back("");
  lines.push_back(RepeatChar('_', 35));
  return lines;
}

std::string joinLines(const std::vector<std::string> &lines) {
  std::string text;
  for (const std::string &line : lines)
    text += line + "\r\n";
  return text;
}

} // namespace billpost
