// Times the invoice search and the invoice text over a large generated log:
// listing without a filter, a filtered listing whose key is only in some
// headers, one whose key is nowhere (so every invoice's items are searched
// in their general number form), and rendering every invoice into one text
// file, lines ending with CR LF, as the reference renderer writes it.
// With --render it only renders, so that the whole run can be timed beside
// the reference renderer's whole run.
// Usage: invoice-log-bench [--render] LOG.ldl OUT.txt
#include "invoice-mailer/core/invoice-log.h"
#include "invoice-mailer/core/invoice-search.h"
#include "invoice-mailer/core/invoice-text.h"

#include "platform/components/core/exception.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

namespace {

double seconds(const std::function<std::size_t()> &work, std::size_t &result) {
  auto start = std::chrono::steady_clock::now();
  result = work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char **argv) {
  const bool renderOnly = argc == 4 && std::string(argv[1]) == "--render";
  if (argc != 3 && !renderOnly) {
    std::fprintf(stderr, "usage: %s [--render] LOG.ldl OUT.txt\n", argv[0]);
    return 2;
  }
  const char *logPath = argv[argc - 2];
  const char *outPath = argv[argc - 1];
  try {
    auto log = billpost::InvoiceLog::open(logPath);
    std::size_t count = 0;
    auto list = [&](const char *key) {
      billpost::SearchSettings settings;
      settings.filterOn = key != nullptr;
      settings.key1 = key ? key : "";
      settings.joinWord = "AND"; // key 2 stays empty, so key 1 decides
      return [&log, settings] { return billpost::listInvoiceNumbers(*log, settings).size(); };
    };
    if (!renderOnly) {
      std::printf("invoices: %zu\n", log->headerCount());
      double t = seconds(list(nullptr), count);
      std::printf("list, no filter:              %8.3f s (%zu listed)\n", t, count);
      t = seconds(list("Smith"), count);
      std::printf("search \"Smith\" (headers):     %8.3f s (%zu listed)\n", t, count);
      t = seconds(list("no such text"), count);
      std::printf("search, key nowhere (items):  %8.3f s (%zu listed)\n", t, count);
    }
    double t = seconds(
        [&] {
          std::ofstream out(outPath, std::ios::binary);
          std::size_t bytes = 0;
          log->refresh();
          std::size_t invoices = log->headerCount();
          for (std::size_t i = 0; i < invoices; ++i) {
            billpost::InvoiceHeader header = log->readHeader(i);
            std::string text = billpost::joinLines(billpost::renderInvoice(
                header, billpost::gatherLineItems(*log, header.invoiceNumber),
                billpost::InvoiceLabels()));
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
            bytes += text.size();
          }
          out.close();
          if (!out)
            throw components::Exception(std::string("cannot write ") + outPath);
          return bytes;
        },
        count);
    std::printf("render every invoice to a file: %6.3f s (%zu bytes of text)\n", t, count);
  } catch (const components::Exception &error) {
    std::fprintf(stderr, "%s\n", error.Message().c_str());
    return 1;
  }
  return 0;
}
