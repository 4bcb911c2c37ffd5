// Invoice search and look-up (rules in the header).
#include "invoice-mailer/core/invoice-search.h"

#include "invoice-mailer/core/number-text.h"

namespace billpost {

bool TextContains(const std::string &key, const std::string &text) {
  return text.find(key) != std::string::npos;
}

bool AddressBlockContains(const std::string &key, const AddressBlock &block) {
  for (const std::string &line : block.lines) {
    if (TextContains(key, line))
      return true;
  }
  return false;
}

bool CombineMatch(bool result1, const std::string &joinWord, bool result2) {
  if (joinWord == "OR")
    return result1 || result2;
  if (joinWord == "AND")
    return result1 && result2;
  if (joinWord == "NOT")
    return result1 && !result2;
  return result1;
}

namespace {

bool headerContains(const std::string &key, const InvoiceHeader &header) {
  return AddressBlockContains(key, header.shipTo) || AddressBlockContains(key, header.billTo) ||
         TextContains(key, header.invoiceNumber) || TextContains(key, header.credited) ||
         TextContains(key, header.shipVia) || TextContains(key, header.terms) ||
         TextContains(key, header.shippingCost) || TextContains(key, header.notes);
}

} // namespace

bool LineItemContains(const std::string &key, const InvoiceLineItem &item) {
  return TextContains(key, item.itemCode) || TextContains(key, item.product) ||
         TextContains(key, item.description) || TextContains(key, std::to_string(item.quantity)) ||
         TextContains(key, formatGeneral(item.tax1Rate)) ||
         TextContains(key, formatGeneral(item.tax2Rate)) ||
         TextContains(key, formatGeneral(item.unitPrice));
}

bool InvoiceContains(InvoiceLog &log, const InvoiceHeader &header, const std::string &key) {
  if (headerContains(key, header))
    return true;
  for (const InvoiceLineItem &item : log.itemsOf(header.invoiceNumber)) {
    if (LineItemContains(key, item))
      return true;
  }
  return false;
}

bool FilterMatches(InvoiceLog &log, const InvoiceHeader &header, const SearchSettings &settings) {
  if (!settings.filterOn)
    return true;
  bool has1 = !settings.key1.empty(), has2 = !settings.key2.empty();
  if (!has1 && !has2)
    return true;
  if (!has2)
    return InvoiceContains(log, header, settings.key1);
  bool result2 = InvoiceContains(log, header, settings.key2);
  if (!has1)
    return settings.joinWord == "NOT" ? !result2 : result2;
  return CombineMatch(InvoiceContains(log, header, settings.key1), settings.joinWord, result2);
}

std::vector<std::string> listInvoiceNumbers(InvoiceLog &log, const SearchSettings &settings) {
  std::vector<std::string> numbers;
  std::size_t count = log.headerCount();
  for (std::size_t i = 0; i < count; ++i) {
    InvoiceHeader header = log.readHeader(i);
    if (FilterMatches(log, header, settings))
      numbers.push_back(std::move(header.invoiceNumber));
  }
  return numbers;
}

std::optional<InvoiceHeader> findInvoice(InvoiceLog &log, const std::string &number) {
  std::size_t count = log.headerCount();
  for (std::size_t i = 0; i < count; ++i) {
    InvoiceHeader header = log.readHeader(i);
    if (header.invoiceNumber == number)
      return header;
  }
  return std::nullopt;
}

} // namespace billpost
