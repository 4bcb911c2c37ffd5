// The two record layouts of an invoicing application's logs, which Billpost
// only reads.
//
// Both files are flat arrays of fixed-size records. A text field is one
// length byte followed by room for its longest value; bytes past the length
// carry no meaning. Integers and doubles are little-endian.
//
//   header record (".ldl"), 720 bytes
//     0  invoice number (25)       26  ship-to address block
//   303  bill-to address block    580  credited (10)
//   591  ship via (15)            607  terms (20)
//   628  shipping cost (10, a number written as text)
//   639  notes (80)
//   address block, 277 bytes: name (30) at 0, six lines (40) at 31 + 41 * i
//
//   line-item record (".ldi"), 172 bytes
//     0  invoice number (25)       26  two padding bytes
//    28  line item, 144 bytes:
//          0 item code (15)   16 product (50)   67 description (50)
//        118 quantity, 16-bit (0: an empty item)
//        120 tax 1 rate, 128 tax 2 rate (percent), 136 unit price: doubles
//
// Decoding checks every length byte against its field and every double for
// being finite, so that a damaged record is reported instead of read past
// its field or carried into the totals.
#ifndef INVOICE_MAILER_CORE_INVOICE_RECORDS_H
#define INVOICE_MAILER_CORE_INVOICE_RECORDS_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace billpost {

constexpr std::size_t HeaderRecordSize = 720;
constexpr std::size_t ItemRecordSize = 172;
// An invoice in memory holds exactly this many line items.
constexpr std::size_t LineItemSlots = 20;

struct AddressBlock {
  std::array<std::string, 7> lines; // lines[0] is the name
};

struct InvoiceHeader {
  std::string invoiceNumber;
  AddressBlock shipTo;
  AddressBlock billTo;
  std::string credited;
  std::string shipVia;
  std::string terms;
  std::string shippingCost;
  std::string notes;
};

struct InvoiceLineItem {
  std::string itemCode;
  std::string product;
  std::string description;
  std::uint16_t quantity = 0;
  double tax1Rate = 0;
  double tax2Rate = 0;
  double unitPrice = 0;
};

struct InvoiceItemRecord {
  std::string invoiceNumber;
  InvoiceLineItem item;
};

using LineItems = std::array<InvoiceLineItem, LineItemSlots>;

// Empties an item: texts empty, quantity and the three numbers zero.
void ClearLineItem(InvoiceLineItem &item);

// Decode one record from exactly HeaderRecordSize / ItemRecordSize bytes.
// A damaged field throws EInOutError naming fileName, the record index and
// the field.
InvoiceHeader decodeHeader(const std::uint8_t *record, const std::string &fileName,
                           std::size_t index);
InvoiceItemRecord decodeItemRecord(const std::uint8_t *record, const std::string &fileName,
                                   std::size_t index);

} // namespace billpost

#endif
