// An open pair of invoice logs: the header file (".ldl") and its line-item
// file (".ldi"). Billpost never writes them, so both are opened read-only
// and shared, which also lets it read logs on read-only media while the
// invoicing application keeps them open.
//
// Every record is read when it is needed, so a log that grows while it is
// open is seen as it is now. Finding the items of one invoice would mean a
// pass over the whole item file; an index from invoice number to record
// positions, built in one pass and rebuilt when the item file changes,
// gives the same items in the same order.
#ifndef INVOICE_MAILER_CORE_INVOICE_LOG_H
#define INVOICE_MAILER_CORE_INVOICE_LOG_H

#include "invoice-mailer/core/invoice-records.h"

#include "platform/components/core/stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace billpost {

class InvoiceLog {
public:
  // Takes both streams; the names only label messages. Throws EInOutError
  // when either file does not hold whole records.
  InvoiceLog(std::string headerFileName, std::unique_ptr<components::TStream> headers,
             std::string itemFileName, std::unique_ptr<components::TStream> items);

  // Opens headerFileName and the item file beside it, read-only. A file
  // that cannot be opened, or a damaged one, throws EInOutError; nothing
  // stays open then.
  static std::unique_ptr<InvoiceLog> open(const std::string &headerFileName);

  const std::string &headerFileName() const { return headerFileName_; }
  const std::string &itemFileName() const { return itemFileName_; }

  std::size_t headerCount();
  // Throws EInOutError when the record is damaged or no longer there.
  InvoiceHeader readHeader(std::size_t index);
  // Every line item whose record carries exactly this invoice number (byte
  // for byte, so case counts), empty ones included, in file order.
  std::vector<InvoiceLineItem> itemsOf(const std::string &invoiceNumber);

private:
  std::size_t recordCount(components::TStream &stream, std::size_t recordSize,
                          const std::string &fileName);
  void readRecord(components::TStream &stream, const std::string &fileName,
                  std::size_t recordSize, std::size_t index, std::uint8_t *record);
  void buildItemIndex();

  std::string headerFileName_;
  std::string itemFileName_;
  std::unique_ptr<components::TStream> headers_;
  std::unique_ptr<components::TStream> items_;

  std::unordered_map<std::string, std::vector<std::uint32_t>> itemIndex_;
  std::int64_t indexedItemSize_ = -1; // item file size the index was built from
};

// The item file name of a header file name: its last four characters
// (".ldl") replaced by ".ldi".
std::string itemFileNameOf(const std::string &headerFileName);

} // namespace billpost

#endif
