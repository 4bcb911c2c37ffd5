// Reading the records of an invoice log pair.
#include "invoice-mailer/core/invoice-log.h"

#include "invoice-mailer/core/log-errors.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/file-system.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace billpost {

using components::TStream;

namespace {

std::unique_ptr<TStream> openReadOnly(const std::string &fileName) {
  try {
    return std::make_unique<components::TFileStream>(
        fileName, components::fmOpenRead | components::fmShareDenyNone);
  } catch (const components::EStreamError &error) {
    throw EInOutError(error.Message());
  }
}

} // namespace

std::string itemFileNameOf(const std::string &headerFileName) {
  std::size_t keep = headerFileName.size() >= 4 ? headerFileName.size() - 4 : 0;
  return headerFileName.substr(0, keep) + ".ldi";
}

InvoiceLog::InvoiceLog(std::string headerFileName, std::unique_ptr<TStream> headers,
                       std::string itemFileName, std::unique_ptr<TStream> items)
    : headerFileName_(std::move(headerFileName)), itemFileName_(std::move(itemFileName)),
      headers_(std::move(headers)), items_(std::move(items)) {
  recordCount(*headers_, HeaderRecordSize, headerFileName_);
  recordCount(*items_, ItemRecordSize, itemFileName_);
}

std::unique_ptr<InvoiceLog> InvoiceLog::open(const std::string &headerFileName) {
  std::string itemFileName = itemFileNameOf(headerFileName);
  // The first stream is owned before the second is opened, so a failure of
  // either leaves no file open.
  std::unique_ptr<TStream> headers = openReadOnly(headerFileName);
  std::unique_ptr<TStream> items = openReadOnly(itemFileName);
  return std::make_unique<InvoiceLog>(headerFileName, std::move(headers), itemFileName,
                                      std::move(items));
}

std::size_t InvoiceLog::recordCount(TStream &stream, std::size_t recordSize,
                                    const std::string &fileName) {
  std::int64_t size = stream.Size();
  if (size < 0)
    throw EInOutError(fileName + ": the file size cannot be read");
  std::uint64_t bytes = static_cast<std::uint64_t>(size);
  // A trailing part of a record is a damaged log, not an invoice to skip.
  if (bytes % recordSize != 0)
    throw EInOutError(fileName + ": record " + std::to_string(bytes / recordSize) +
                      " is cut short (the file ends " + std::to_string(bytes % recordSize) +
                      " bytes into it; records are " + std::to_string(recordSize) + " bytes)");
  std::uint64_t count = bytes / recordSize;
  // Record positions are kept in 32 bits, and must fit a size_t on the
  // 32-bit build.
  if (count > std::numeric_limits<std::uint32_t>::max() ||
      count > std::numeric_limits<std::size_t>::max())
    throw EInOutError(fileName + ": too many records");
  return static_cast<std::size_t>(count);
}

void InvoiceLog::readRecord(TStream &stream, const std::string &fileName, std::size_t recordSize,
                            std::size_t index, std::uint8_t *record) {
  std::int64_t position = static_cast<std::int64_t>(index) * static_cast<std::int64_t>(recordSize);
  if (stream.Seek(position, components::TSeekOrigin::soBeginning) != position)
    throw EInOutError(fileName + ": record " + std::to_string(index) + " cannot be reached");
  std::size_t got = stream.Read(record, recordSize);
  if (got != recordSize)
    throw EInOutError(fileName + ": record " + std::to_string(index) + " is cut short (" +
                      std::to_string(got) + " of " + std::to_string(recordSize) + " bytes)");
}

std::size_t InvoiceLog::headerCount() {
  return recordCount(*headers_, HeaderRecordSize, headerFileName_);
}

InvoiceHeader InvoiceLog::readHeader(std::size_t index) {
  std::uint8_t record[HeaderRecordSize];
  readRecord(*headers_, headerFileName_, HeaderRecordSize, index, record);
  return decodeHeader(record, headerFileName_, index);
}

void InvoiceLog::buildItemIndex() {
  itemIndex_.clear();
  indexedItemSize_ = -1;
  std::size_t count = recordCount(*items_, ItemRecordSize, itemFileName_);
  // Whole blocks of records at a time: one read per block instead of one
  // per record.
  const std::size_t perBlock = 256;
  std::vector<std::uint8_t> block(perBlock * ItemRecordSize);
  if (items_->Seek(0, components::TSeekOrigin::soBeginning) != 0)
    throw EInOutError(itemFileName_ + ": the file cannot be read");
  for (std::size_t first = 0; first < count; first += perBlock) {
    std::size_t records = std::min(perBlock, count - first);
    std::size_t want = records * ItemRecordSize;
    std::size_t got = items_->Read(block.data(), want);
    if (got != want)
      throw EInOutError(itemFileName_ + ": record " + std::to_string(first + got / ItemRecordSize) +
                        " is cut short");
    for (std::size_t i = 0; i < records; ++i) {
      const std::uint8_t *record = block.data() + i * ItemRecordSize;
      // Decoding the whole record finds damage anywhere in the file, as a
      // full pass over it would.
      InvoiceItemRecord item = decodeItemRecord(record, itemFileName_, first + i);
      itemIndex_[item.invoiceNumber].push_back(static_cast<std::uint32_t>(first + i));
    }
  }
  indexedItemSize_ = static_cast<std::int64_t>(count * ItemRecordSize);
}

std::vector<InvoiceLineItem> InvoiceLog::itemsOf(const std::string &invoiceNumber) {
  // A changed file size means the invoicing application wrote to it; a
  // record that no longer carries its indexed number means it rewrote it
  // in place. Either way the index is built again, once.
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (items_->Size() != indexedItemSize_)
      buildItemIndex();
    std::vector<InvoiceLineItem> found;
    auto entry = itemIndex_.find(invoiceNumber);
    if (entry == itemIndex_.end())
      return found;
    bool stale = false;
    for (std::uint32_t index : entry->second) {
      std::uint8_t record[ItemRecordSize];
      readRecord(*items_, itemFileName_, ItemRecordSize, index, record);
      InvoiceItemRecord item = decodeItemRecord(record, itemFileName_, index);
      if (item.invoiceNumber != invoiceNumber) {
        stale = true;
        break;
      }
      found.push_back(std::move(item.item));
    }
    if (!stale)
      return found;
    indexedItemSize_ = -1;
  }
  throw EInOutError(itemFileName_ + ": the file changes while it is being read");
}

} // namespace billpost
