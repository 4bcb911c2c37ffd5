// An open pair of invoice logs: the header file (".ldl") and its line-item
// file (".ldi"). Billpost never writes them, so both are opened read-only
// and shared, which also lets it read logs on read-only media while the
// invoicing application keeps them open.
//
// Records are read in blocks and kept until refresh(), which the main
// window calls at the start of every user action (listing, look-up,
// rendering), so each action sees the files as they are then. Finding the
// items of one invoice would mean a pass over the whole item file; an
// index from invoice number to record positions, built in one pass, gives
// the same items in the same order; it is built on first use after
// refresh().
#ifndef INVOICE_MAILER_CORE_INVOICE_LOG_H
#define INVOICE_MAILER_CORE_INVOICE_LOG_H

#include "invoice-mailer/core/invoice-records.h"

#include "platform/components/core/stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
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

  // Forgets what was read, so that the next reads see the files anew.
  void refresh();

private:
  // One record file with the block of records last read from it.
  struct RecordFile {
    RecordFile(std::string fileName, std::unique_ptr<components::TStream> file, std::size_t size)
        : name(std::move(fileName)), stream(std::move(file)), recordSize(size) {}

    std::string name;
    std::unique_ptr<components::TStream> stream;
    std::size_t recordSize;
    std::vector<std::uint8_t> block;
    std::size_t blockFirst = 0; // index of the block's first record
    std::size_t blockCount = 0; // records in the block (0: nothing cached)

    std::size_t recordCount();
    // The bytes of one record, valid until the next call.
    const std::uint8_t *record(std::size_t index);
  };

  void buildItemIndex();

  std::string headerFileName_;
  std::string itemFileName_;
  RecordFile headers_;
  RecordFile items_;

  std::unordered_map<std::string, std::vector<std::uint32_t>> itemIndex_;
  bool itemIndexBuilt_ = false;
};

// The item file name of a header file name: its last four characters
// (".ldl") replaced by ".ldi".
std::string itemFileNameOf(const std::string &headerFileName);

} // namespace billpost

#endif
