// Reading the records of an invoice log pair.
#include "invoice-mailer/core/invoice-log.h"

#include "invoice-mailer/core/log-errors.h"

#include "platform/components/core/exception.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <utility>

namespace billpost {

using components::TStream;

namespace {

std::unique_ptr<TStream> openReadOnly(const std::string &fileName) {
  // Some systems open a folder as a stream of nonsense size; it is no log.
  std::error_code ignored;
  if (std::filesystem::is_directory(std::filesystem::u8path(fileName), ignored))
    throw EInOutError(fileName + ": this is a folder, not an invoice log file");
  try {
    return std::make_unique<components::TFileStream>(fileName, components::fmOpenRead |
                                                                   components::fmShareDenyNone);
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
      headers_(headerFileName_, std::move(headers), HeaderRecordSize),
      items_(itemFileName_, std::move(items), ItemRecordSize) {
  headers_.recordCount();
  items_.recordCount();
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

std::size_t InvoiceLog::RecordFile::recordCount() {
  std::int64_t size = stream->Size();
  if (size < 0)
    throw EInOutError(name + ": the file size cannot be read");
  std::uint64_t bytes = static_cast<std::uint64_t>(size);
  // A trailing part of a record is a damaged log, not an invoice to skip.
  if (bytes % recordSize != 0)
    throw EInOutError(name + ": record " + std::to_string(bytes / recordSize) +
                      " is cut short (the file ends " + std::to_string(bytes % recordSize) +
                      " bytes into it; records are " + std::to_string(recordSize) + " bytes)");
  std::uint64_t count = bytes / recordSize;
  // Record positions are kept in 32 bits, and must fit a size_t on the
  // 32-bit build.
  if (count > std::numeric_limits<std::uint32_t>::max() ||
      count > std::numeric_limits<std::size_t>::max())
    throw EInOutError(name + ": too many records");
  return static_cast<std::size_t>(count);
}

const std::uint8_t *InvoiceLog::RecordFile::record(std::size_t index) {
  if (index >= blockFirst && index - blockFirst < blockCount)
    return block.data() + (index - blockFirst) * recordSize;
  // Reading 64 KB at a time instead of one record per call: the streams
  // are unbuffered.
  const std::size_t perBlock = 65536 / recordSize;
  blockCount = 0;
  std::size_t count = recordCount();
  if (index >= count)
    throw EInOutError(name + ": record " + std::to_string(index) + " is past the end of the file");
  std::size_t records = std::min(perBlock, count - index);
  block.resize(records * recordSize);
  std::int64_t position = static_cast<std::int64_t>(index) * static_cast<std::int64_t>(recordSize);
  if (stream->Seek(position, components::TSeekOrigin::soBeginning) != position)
    throw EInOutError(name + ": record " + std::to_string(index) + " cannot be reached");
  std::size_t got = stream->Read(block.data(), block.size());
  if (got < recordSize)
    throw EInOutError(name + ": record " + std::to_string(index) + " is cut short (" +
                      std::to_string(got) + " of " + std::to_string(recordSize) + " bytes)");
  blockFirst = index;
  blockCount = got / recordSize;
  return block.data();
}

std::size_t InvoiceLog::headerCount() { return headers_.recordCount(); }

InvoiceHeader InvoiceLog::readHeader(std::size_t index) {
  return decodeHeader(headers_.record(index), headerFileName_, index);
}

void InvoiceLog::refresh() {
  headers_.blockCount = 0;
  items_.blockCount = 0;
  itemIndex_.clear();
  itemIndexBuilt_ = false;
}

void InvoiceLog::buildItemIndex() {
  itemIndex_.clear();
  itemIndexBuilt_ = false;
  items_.blockCount = 0;
  std::size_t count = items_.recordCount();
  for (std::size_t i = 0; i < count; ++i) {
    // Decoding the whole record finds damage anywhere in the file, as a
    // full pass over it would.
    InvoiceItemRecord item = decodeItemRecord(items_.record(i), itemFileName_, i);
    itemIndex_[item.invoiceNumber].push_back(static_cast<std::uint32_t>(i));
  }
  itemIndexBuilt_ = true;
}

std::vector<InvoiceLineItem> InvoiceLog::itemsOf(const std::string &invoiceNumber) {
  if (!itemIndexBuilt_)
    buildItemIndex();
  std::vector<InvoiceLineItem> found;
  auto entry = itemIndex_.find(invoiceNumber);
  if (entry == itemIndex_.end())
    return found;
  for (std::uint32_t index : entry->second)
    found.push_back(decodeItemRecord(items_.record(index), itemFileName_, index).item);
  return found;
}

} // namespace billpost
