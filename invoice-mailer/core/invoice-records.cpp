// Decoding of the header and line-item records (layout in the header).
#include "invoice-mailer/core/invoice-records.h"

#include "invoice-mailer/core/log-errors.h"

#include <cmath>
#include <cstring>

namespace billpost {

namespace {

// Where a record came from, for the messages of damaged fields.
struct RecordPlace {
  const std::uint8_t *bytes;
  const std::string &fileName;
  std::size_t index;

  [[noreturn]] void damaged(const char *field, const std::string &what) const {
    throw EInOutError(fileName + ": record " + std::to_string(index) + ", " + field + ": " + what);
  }

  // A length-prefixed text whose field holds at most maxLength characters.
  std::string text(std::size_t offset, std::size_t maxLength, const char *field) const {
    std::size_t length = bytes[offset];
    if (length > maxLength)
      damaged(field, "length " + std::to_string(length) + " exceeds the field's " +
                         std::to_string(maxLength) + " characters");
    return std::string(reinterpret_cast<const char *>(bytes + offset + 1), length);
  }

  std::uint16_t uint16(std::size_t offset) const {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
  }

  double number(std::size_t offset, const char *field) const {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
      bits = (bits << 8) | bytes[offset + i];
    double value;
    std::memcpy(&value, &bits, sizeof value);
    // Totals and the search text need a real number; infinities and NaNs
    // only come from damaged records.
    if (!std::isfinite(value))
      damaged(field, "not a finite number");
    return value;
  }

  AddressBlock address(std::size_t offset, const char *field) const {
    AddressBlock block;
    block.lines[0] = text(offset, 30, field);
    for (std::size_t i = 1; i < block.lines.size(); ++i)
      block.lines[i] = text(offset + 31 + 41 * (i - 1), 40, field);
    return block;
  }
};

} // namespace

void ClearLineItem(InvoiceLineItem &item) { item = InvoiceLineItem(); }

InvoiceHeader decodeHeader(const std::uint8_t *record, const std::string &fileName,
                           std::size_t index) {
  RecordPlace place{record, fileName, index};
  InvoiceHeader header;
  header.invoiceNumber = place.text(0, 25, "invoice number");
  header.shipTo = place.address(26, "ship-to address");
  header.billTo = place.address(303, "bill-to address");
  header.credited = place.text(580, 10, "credited");
  header.shipVia = place.text(591, 15, "ship via");
  header.terms = place.text(607, 20, "terms");
  header.shippingCost = place.text(628, 10, "shipping cost");
  header.notes = place.text(639, 80, "notes");
  return header;
}

InvoiceItemRecord decodeItemRecord(const std::uint8_t *record, const std::string &fileName,
                                   std::size_t index) {
  RecordPlace place{record, fileName, index};
  InvoiceItemRecord result;
  result.invoiceNumber = place.text(0, 25, "invoice number");
  const std::size_t item = 28;
  result.item.itemCode = place.text(item + 0, 15, "item code");
  result.item.product = place.text(item + 16, 50, "product");
  result.item.description = place.text(item + 67, 50, "description");
  result.item.quantity = place.uint16(item + 118);
  result.item.tax1Rate = place.number(item + 120, "tax 1 rate");
  result.item.tax2Rate = place.number(item + 128, "tax 2 rate");
  result.item.unitPrice = place.number(item + 136, "unit price");
  return result;
}

} // namespace billpost
