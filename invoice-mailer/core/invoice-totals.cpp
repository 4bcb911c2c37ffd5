// Invoice totals and the title of a month's log.
#include "invoice-mailer/core/invoice-totals.h"

#include "platform/components/core/file-system.h"

namespace billpost {

double InvoiceTotal(const LineItems &items) {
  double total = 0;
  for (const InvoiceLineItem &item : items)
    total += item.quantity * item.unitPrice * (item.tax1Rate * 0.01 + 1 + item.tax2Rate * 0.01);
  return total;
}

TaxAmounts TaxTotals(const LineItems &items) {
  TaxAmounts taxes;
  for (const InvoiceLineItem &item : items) {
    taxes.tax1 += item.quantity * item.tax1Rate * item.unitPrice * 0.01;
    taxes.tax2 += item.quantity * item.tax2Rate * item.unitPrice * 0.01;
  }
  return taxes;
}

std::string MonthName(int month) {
  static const char *const names[] = {"January",   "February", "March",    "April",
                                      "May",       "June",     "July",     "August",
                                      "September", "October",  "November", "December"};
  if (month < 1 || month > 12)
    return "";
  return names[month - 1];
}

std::string logTitle(const std::string &headerFileName) {
  std::string name = components::ExtractFileName(headerFileName);
  int month = 0;
  if (name.size() >= 2 && name[0] >= '0' && name[0] <= '9' && name[1] >= '0' && name[1] <= '9')
    month = (name[0] - '0') * 10 + (name[1] - '0');
  // The year is the four characters from the fourth on, whatever they hold.
  std::string year = name.size() > 3 ? name.substr(3, 4) : "";
  return "Invoice log for " + MonthName(month) + ", " + year;
}

} // namespace billpost
