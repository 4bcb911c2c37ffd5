// The invoice text export replaces a file only by a whole new text: the
// Nth file operation fails, for every N until the export goes through.
#include "invoice-mailer/core/text-export.h"

#include "platform/components/core/exception.h"
#include "testing/memory-file-system.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextExport, AFailedStepLeavesTheOldFileAndNoNewOne) {
  const std::string target = "C:\\out\\invoice.txt";
  const std::string old = "an earlier export\r\n";
  const std::string text = "Invoice Number: A-1001\r\nTotal Due: 12.50\r\n";
  for (unsigned failAt = 1;; ++failAt) {
    testing_support::MemoryFileSystem files;
    files.put(target, old);
    files.failAt = failAt;
    try {
      billpost::ExportText(files, target, text);
    } catch (const components::EWriteError &error) {
      EXPECT_NE(std::string(error.what()).find("invoice.txt"), std::string::npos) << error.what();
      EXPECT_EQ(files.get(target), old) << "failing operation " << failAt;
      EXPECT_EQ(files.paths(), std::vector<std::string>{target}) << "failing operation " << failAt;
      continue;
    }
    EXPECT_EQ(files.get(target), text);
    EXPECT_EQ(files.paths(), std::vector<std::string>{target});
    EXPECT_GE(failAt, 3u) << "the write and the replacement can each fail";
    break;
  }
}
