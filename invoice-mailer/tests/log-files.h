// Where the tests find the generated logs and golden texts, how they build
// a log pair in memory from bytes, and what the fuzzing does with one.
#ifndef INVOICE_MAILER_TESTS_LOG_FILES_H
#define INVOICE_MAILER_TESTS_LOG_FILES_H

#include "invoice-mailer/core/invoice-log.h"
#include "invoice-mailer/core/invoice-search.h"
#include "invoice-mailer/core/invoice-text.h"
#include "invoice-mailer/core/log-errors.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/stream.h"
#include "testing/test-paths.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace billpost_test {

using Bytes = std::vector<std::uint8_t>;

// A file the generator wrote from tests/data at build time.
inline std::string generatedPath(const std::string &name) {
  return testing_support::hostPath(testing_support::envOr("TEST_BINARY_DIR", ".") + "/data/" +
                                   name);
}

inline std::string goldenPath(const std::string &name) {
  return testing_support::sourcePath("invoice-mailer/tests/golden/" + name);
}

inline Bytes readBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string readText(const std::string &path) {
  Bytes bytes = readBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

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
