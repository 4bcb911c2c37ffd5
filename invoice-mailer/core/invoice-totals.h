// Invoice totals and the title of a month's log.
#ifndef INVOICE_MAILER_CORE_INVOICE_TOTALS_H
#define INVOICE_MAILER_CORE_INVOICE_TOTALS_H

#include "invoice-mailer/core/invoice-records.h"

#include <string>

namespace billpost {

struct TaxAmounts {
  double tax1 = 0;
  double tax2 = 0;
};

// Sum over the items of quantity * unit price with both taxes added.
double InvoiceTotal(const LineItems &items);
TaxAmounts TaxTotals(const LineItems &items);

// "January" ... "December" for 1 to 12; empty otherwise.
std::string MonthName(int month);

// The status text of an open log. Log names begin with the month's two
// digits, one separator and the year ("03-1998.ldl"): "Invoice log for
// March, 1998". A name that does not begin with two digits gets an empty
// month name, as a month out of range does.
std::string logTitle(const std::string &headerFileName);

} // namespace billpost

#endif
