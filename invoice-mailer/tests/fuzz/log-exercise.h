// A log pair built in memory from bytes, and what the fuzzing does with
// one. The coverage-guided harness sees only this folder, so the bounded
// fuzz test takes it from here too.
#ifndef INVOICE_MAILER_TESTS_FUZZ_LOG_EXERCISE_H
#define INVOICE_MAILER_TESTS_FUZZ_LOG_EXERCISE_H

#include "invoice-mailer/core/invoice-log.h"
#include "invoice-mailer/core/invoice-search.h"
#include "invoice-mailer/core/invoice-text.h"
#include "invoice-mailer/core/log-errors.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/stream.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace billpost_test {

using Bytes = std::vector<std::uint8_t>;

inline std::unique_ptr<components::TMemoryStream> memoryStream(const Bytes &bytes) {
  auto stream = std::make_unique<components::TMemoryStream>();
  if (!bytes.empty())
    stream->Write(bytes.data(), bytes.size());
  stream->SetPosition(0);
  return stream;
}

inline std::unique_ptr<billpost::InvoiceLog> memoryLog(const Bytes &headers, const Bytes &items) {
  return std::make_unique<billpost::InvoiceLog>("memory.ldl", memoryStream(headers), "memory.ldi",
                                                memoryStream(items));
}

// Everything a user can do with an open log: list with a filter (which
// reads every item), look each invoice up and render it. Damage may end
// only in the documented errors.
inline void exerciseLog(const Bytes &headers, const Bytes &items) {
  try {
    auto log = memoryLog(headers, items);
    billpost::SearchSettings settings;
    settings.filterOn = true;
    settings.key1 = "no such text";
    settings.joinWord = "OR";
    billpost::listInvoiceNumbers(*log, settings);
    for (std::size_t i = 0; i < log->headerCount(); ++i) {
      billpost::InvoiceHeader header = log->readHeader(i);
      try {
        billpost::renderInvoice(header, billpost::gatherLineItems(*log, header.invoiceNumber),
                                billpost::InvoiceLabels());
      } catch (const billpost::EConvertError &) {
      }
    }
  } catch (const components::Exception &) {
    // The documented failure: an input/output error with its message.
  }
}

} // namespace billpost_test

#endif
