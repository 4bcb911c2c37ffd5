// A header log and its item file, damaged any way: listing, looking up and
// rendering every invoice ends in the documented errors or a text, never in
// a crash, a sanitizer report or an outsized allocation.
#include "invoice-mailer/core/invoice-log.h"

#include "invoice-mailer/core/invoice-search.h"
#include "invoice-mailer/core/invoice-text.h"
#include "invoice-mailer/core/log-errors.h"
#include "platform/components/core/exception.h"
#include "platform/components/core/stream.h"
#include "testing/fuzz-harness.h"

#include <memory>

namespace {

std::unique_ptr<components::TMemoryStream> streamOf(const std::string &bytes) {
  auto stream = std::make_unique<components::TMemoryStream>();
  if (!bytes.empty())
    stream->Write(bytes.data(), bytes.size());
  stream->SetPosition(0);
  return stream;
}

} // namespace

// The input is the pair: headers (".ldl") then items (".ldi").
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const testing_support::FilePair files = testing_support::splitPair(data, size);
  try {
    billpost::InvoiceLog log("fuzz.ldl", streamOf(files.first), "fuzz.ldi", streamOf(files.second));
    billpost::SearchSettings settings;
    settings.filterOn = true;
    settings.key1 = "no such text";
    settings.joinWord = "OR";
    billpost::listInvoiceNumbers(log, settings);
    for (std::size_t i = 0; i < log.headerCount(); ++i) {
      billpost::InvoiceHeader header = log.readHeader(i);
      try {
        billpost::renderInvoice(header, billpost::gatherLineItems(log, header.invoiceNumber),
                                billpost::InvoiceLabels());
      } catch (const billpost::EConvertError &) {
      }
    }
  } catch (const components::Exception &) {
    // The documented failure: an input/output error with its message.
  }
  return 0;
}
