// Reading generated log pairs: every field lands where the generator put
// it, and damaged or missing files give an input/output error that names
// the file and what is wrong.
#include "invoice-mailer/core/invoice-log.h"

#include "invoice-mailer/core/invoice-search.h"
#include "invoice-mailer/core/invoice-text.h"
#include "invoice-mailer/core/log-errors.h"
#include "invoice-mailer/tests/log-files.h"
#include "testing/test-files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#endif

using billpost::EInOutError;
using billpost::InvoiceLog;
using billpost_test::generatedPath;

TEST(InvoiceLog, ReadsEveryHeaderField) {
  auto log = InvoiceLog::open(generatedPath("11-2003.ldl"));
  ASSERT_EQ(log->headerCount(), 2u);
  billpost::InvoiceHeader h = log->readHeader(0);
  EXPECT_EQ(h.invoiceNumber, "G-2001");
  std::array<std::string, 7> shipTo = {"Caf\xE9 Supplies", "400 Dock Road",  "", "Unit 7", "",
                                       "Port Town",        "Attn: Receiving"};
  EXPECT_EQ(h.shipTo.lines, shipTo);
  std::array<std::string, 7> billTo = {
      "Harbor Supplies Ltd", "Accounts", "400 Dock Road", "", "", "", ""};
  EXPECT_EQ(h.billTo.lines, billTo);
  EXPECT_EQ(h.credited, "100.00");
  EXPECT_EQ(h.shipVia, "Freight");
  EXPECT_EQ(h.terms, "Net 60");
  EXPECT_EQ(h.shippingCost, "25.00");
  EXPECT_EQ(h.notes, "Deliver before noon");
  EXPECT_EQ(log->readHeader(1).invoiceNumber, "G-2002");
}

TEST(InvoiceLog, ReadsEveryItemFieldInFileOrder) {
  auto log = InvoiceLog::open(generatedPath("11-2003.ldl"));
  auto items = log->itemsOf("G-2001");
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].itemCode, "M-1");
  EXPECT_EQ(items[0].product, "Machine");
  EXPECT_EQ(items[0].description, "Press machine");
  EXPECT_EQ(items[0].quantity, 1);
  EXPECT_EQ(items[0].tax1Rate, 5);
  EXPECT_EQ(items[0].tax2Rate, 2.5);
  EXPECT_EQ(items[0].unitPrice, 1234567.89);
  EXPECT_EQ(items[1].quantity, 0); // empty items are part of the log
  EXPECT_EQ(items[2].product, "Bolts");
  EXPECT_TRUE(log->itemsOf("G-2003").empty());
  EXPECT_TRUE(log->itemsOf("g-2001").empty());
}

TEST(InvoiceLog, ItemFileNameReplacesTheLastFourCharacters) {
  EXPECT_EQ(billpost::itemFileNameOf("C:\\logs\\03-1998.ldl"), "C:\\logs\\03-1998.ldi");
  EXPECT_EQ(billpost::itemFileNameOf("03-1998.LDL"), "03-1998.ldi");
  EXPECT_EQ(billpost::itemFileNameOf("abc"), ".ldi");
}

TEST(InvoiceLog, DamagedLogsGiveAClearError) {
  // log, what the message must say; the error comes from opening, listing,
  // searching or gathering the items, whichever reads the damage first.
  struct Case {
    const char *log;
    const char *message;
  } cases[] = {
      {"long-number",
       "long-number.ldl: record 0, invoice number: length 99 exceeds the field's 25 characters"},
      {"long-notes",
       "long-notes.ldl: record 0, notes: length 81 exceeds the field's 80 characters"},
      {"long-product",
       "long-product.ldi: record 0, product: length 200 exceeds the field's 50 characters"},
      {"short-header", "short-header.ldl: record 0 is cut short (the file ends 620 bytes into it; "
                       "records are 720 bytes)"},
      {"short-item", "short-item.ldi: record 0 is cut short (the file ends 171 bytes into it; "
                     "records are 172 bytes)"},
      {"nan-price", "nan-price.ldi: record 0, unit price: not a finite number"},
      {"infinite-rate", "infinite-rate.ldi: record 0, tax 1 rate: not a finite number"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.log);
    try {
      auto log = InvoiceLog::open(generatedPath(std::string(c.log) + ".ldl"));
      billpost::SearchSettings settings;
      settings.filterOn = true;
      settings.key1 = "no such text";
      billpost::listInvoiceNumbers(*log, settings);
      billpost::gatherLineItems(*log, "D-1");
      FAIL() << "no error";
    } catch (const EInOutError &error) {
      std::string message = error.Message();
      EXPECT_NE(message.find(c.message), std::string::npos) << message;
    }
  }
}

TEST(InvoiceLog, MissingItemFileFailsTheOpen) {
  try {
    InvoiceLog::open(generatedPath("no-items.ldl"));
    FAIL() << "opened without its item file";
  } catch (const EInOutError &error) {
    EXPECT_NE(error.Message().find("no-items.ldi"), std::string::npos) << error.Message();
  }
  EXPECT_THROW(InvoiceLog::open(generatedPath("not-there.ldl")), EInOutError);
}

namespace {

// Copies generated files into a scratch folder under new names.
std::string scratchCopy(const std::string &folder, const std::string &from, const std::string &to) {
  std::string path = testing_support::scratchFile(folder, to);
  testing_support::writeFile(path, testing_support::readFile(generatedPath(from)));
  return path;
}

#ifndef _WIN32
// The access modes of this process's open descriptors of path.
std::vector<int> openModes(const std::string &path) {
  std::vector<int> modes;
  char real[PATH_MAX];
  if (!::realpath(path.c_str(), real))
    return modes;
  for (int fd = 0; fd < 1024; ++fd) {
    char target[PATH_MAX];
    std::string link = "/proc/self/fd/" + std::to_string(fd);
    ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
    if (length <= 0)
      continue;
    target[length] = 0;
    if (std::string(target) == real)
      modes.push_back(::fcntl(fd, F_GETFL) & O_ACCMODE);
  }
  return modes;
}
#endif

} // namespace

TEST(InvoiceLog, BothFilesAreOpenedReadOnly) {
  std::string headers = scratchCopy("read-only", "11-2003.ldl", "05-2001.ldl");
  std::string items = scratchCopy("read-only", "11-2003.ldi", "05-2001.ldi");
  auto log = InvoiceLog::open(headers);
  EXPECT_EQ(log->headerCount(), 2u);
#ifdef _WIN32
  // With the read-only attribute set, an open that asked for write access
  // would fail; the log still opens.
  log.reset();
  ASSERT_TRUE(SetFileAttributesA(headers.c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(SetFileAttributesA(items.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_NO_THROW(log = InvoiceLog::open(headers));
  log.reset();
  SetFileAttributesA(headers.c_str(), FILE_ATTRIBUTE_NORMAL);
  SetFileAttributesA(items.c_str(), FILE_ATTRIBUTE_NORMAL);
#else
  EXPECT_EQ(openModes(headers), std::vector<int>{O_RDONLY});
  EXPECT_EQ(openModes(items), std::vector<int>{O_RDONLY});
#endif
}

// A folder standing where the item file belongs is named as such, not read
// as a damaged file of absurd size.
TEST(InvoiceLog, AFolderInPlaceOfTheItemFileIsRefusedByName) {
  std::string headers = scratchCopy("folder-items", "11-2003.ldl", "07-2002.ldl");
  std::string items = headers.substr(0, headers.size() - 4) + ".ldi";
  std::filesystem::create_directory(items);
  try {
    InvoiceLog::open(headers);
    FAIL() << "a folder opened as the item file";
  } catch (const EInOutError &error) {
    EXPECT_EQ(error.Message(), items + ": this is a folder, not an invoice log file");
  }
}

TEST(InvoiceLog, FailedOpenLeavesNoFileOpen) {
  std::string lonely = scratchCopy("half-open", "11-2003.ldl", "lonely.ldl");
  EXPECT_THROW(InvoiceLog::open(lonely), EInOutError);
#ifdef _WIN32
  // A file that is still open cannot be deleted here: a log that is open
  // shows it, then the header file of the failed open must go.
  std::string pair = scratchCopy("half-open", "11-2003.ldl", "pair.ldl");
  scratchCopy("half-open", "11-2003.ldi", "pair.ldi");
  {
    auto log = InvoiceLog::open(pair);
    ASSERT_NE(std::remove(pair.c_str()), 0);
  }
  EXPECT_EQ(std::remove(lonely.c_str()), 0);
#else
  EXPECT_TRUE(openModes(lonely).empty());
#endif
}

TEST(InvoiceLog, RefreshSeesItemsWrittenSinceTheLastAction) {
  billpost_test::Bytes headers = billpost_test::readBytes(generatedPath("11-2003.ldl"));
  billpost_test::Bytes items = billpost_test::readBytes(generatedPath("11-2003.ldi"));
  auto itemStream = billpost_test::memoryStream(items);
  components::TMemoryStream *itemFile = itemStream.get();
  InvoiceLog log("11-2003.ldl", billpost_test::memoryStream(headers), "11-2003.ldi",
                 std::move(itemStream));
  ASSERT_EQ(log.itemsOf("G-2002").size(), 1u);

  // The application appends a second item of G-2002 (a copy of the last
  // record); the next user action starts with refresh().
  itemFile->Seek(0, components::TSeekOrigin::soEnd);
  itemFile->Write(items.data() + items.size() - billpost::ItemRecordSize, billpost::ItemRecordSize);
  log.refresh();
  EXPECT_EQ(log.itemsOf("G-2002").size(), 2u);
  EXPECT_EQ(log.itemsOf("G-2001").size(), 3u);

  // It rewrites the first record of G-2001 in place as one of G-2002.
  itemFile->SetPosition(0);
  itemFile->Write(items.data() + items.size() - billpost::ItemRecordSize, billpost::ItemRecordSize);
  log.refresh();
  EXPECT_EQ(log.itemsOf("G-2002").size(), 3u);
  EXPECT_EQ(log.itemsOf("G-2001").size(), 2u);
}
