// Invoice search: whether an invoice contains a key, how two keys are
// joined, the list of invoice numbers with its optional filter, and the
// look-up of a chosen invoice.
//
// Every test is a case-sensitive substring test, and an empty key is in
// every text. A header matches on any line of its two address blocks or any
// of its own texts; otherwise its line items are searched: texts, the
// quantity in decimal and the three doubles in their general form (so "7.5"
// finds a tax rate of 7.5).
#ifndef INVOICE_MAILER_CORE_INVOICE_SEARCH_H
#define INVOICE_MAILER_CORE_INVOICE_SEARCH_H

#include "invoice-mailer/core/invoice-log.h"
#include "invoice-mailer/core/invoice-records.h"

#include <optional>
#include <string>
#include <vector>

namespace billpost {

// The search dialog's settings. The join word is "OR", "AND" or "NOT";
// anything else takes key 1's result alone.
struct SearchSettings {
  bool filterOn = false;
  std::string key1;
  std::string key2;
  std::string joinWord = "OR";
};

bool TextContains(const std::string &key, const std::string &text);
bool AddressBlockContains(const std::string &key, const AddressBlock &block);
bool CombineMatch(bool result1, const std::string &joinWord, bool result2);
bool LineItemContains(const std::string &key, const InvoiceLineItem &item);
// Reads the items of header's invoice from log when the header itself does
// not match. Throws EInOutError on a damaged item file.
bool InvoiceContains(InvoiceLog &log, const InvoiceHeader &header, const std::string &key);

// Whether the filter lets header's invoice through. An empty key is no
// condition: with one key empty the other decides alone (an empty key 1
// with "NOT" lists the invoices without key 2); with both empty, or the
// filter off, every invoice passes. Only two keys are joined by the word.
bool FilterMatches(InvoiceLog &log, const InvoiceHeader &header, const SearchSettings &settings);

// Invoice numbers of the header file in record order, filtered when the
// settings say so.
std::vector<std::string> listInvoiceNumbers(InvoiceLog &log, const SearchSettings &settings);

// The first header whose invoice number equals number exactly; nothing when
// the log has none.
std::optional<InvoiceHeader> findInvoice(InvoiceLog &log, const std::string &number);

} // namespace billpost

#endif
