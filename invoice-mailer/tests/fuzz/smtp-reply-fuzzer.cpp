// SMTP replies as the mail client collects them, in chunks as the socket
// hands them over: any bytes end in a state, a refusal carries its text, and
// the collector never holds much more than its limit.
#include "invoice-mailer/core/smtp-reply.h"

#include "testing/fuzz-harness.h"

// Byte 0 sets the chunk length (1 to 64 bytes); the rest is what arrives.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0)
    return 0;
  const std::size_t chunk = 1 + data[0] % 64;
  billpost::ReplyCollector reply;
  billpost::ReplyCollector::TState state = billpost::ReplyCollector::rsIncomplete;
  for (std::size_t at = 1; at < size && state == billpost::ReplyCollector::rsIncomplete;
       at += chunk) {
    state = reply.Add(testing_support::textOf(data + at, std::min(chunk, size - at)));
    FUZZ_CHECK(reply.Text().size() <= billpost::ReplyCollector::MaxReplyBytes + chunk);
  }
  if (state == billpost::ReplyCollector::rsAccepted || state == billpost::ReplyCollector::rsRefused)
    FUZZ_CHECK(!reply.Lines().empty());
  for (const std::string &line : billpost::ReplyLines(reply.Text()))
    billpost::IsFinalReplyLine(line);
  return 0;
}
