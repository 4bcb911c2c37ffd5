// Registry and clipboard access under Wine, each checked against the
// platform's own functions, and the file dialogs driven as a user would.
#include "platform/components/win32/clipboard.h"
#include "platform/components/win32/opened-clipboard.h"
#include "platform/base/win32/unique-handle.h"
#include "platform/components/core/exception.h"
#include "platform/components/win32/registry.h"

#include "platform/components/core/file-system.h"
#include "platform/components/core/string-list.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/dialogs.h"
#include "platform/components/win32/tests/win32-test-support.h"
#include "platform/components/win32/utility.h"
#include "testing/test-paths.h"
#include "testing/ui-driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace components;

// Another program reading the clipboard holds it open for a moment: a
// write waits for it rather than fail, within the patience; past that,
// it fails with the library's message.
TEST(ClipboardTest, AWriteWaitsForAnotherHolderToCloseTheClipboard) {
  struct Holder {
    DWORD holdMs;
    base::KernelHandle opened{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    static DWORD WINAPI run(void *self) {
      auto *holder = static_cast<Holder *>(self);
      if (!OpenClipboard(nullptr))
        return 1;
      SetEvent(holder->opened.get());
      Sleep(holder->holdMs);
      CloseClipboard();
      return 0;
    }
  };
  for (DWORD holdMs : {300ul, OpenedClipboard::PatienceMs + 1500}) {
    Holder holder{holdMs};
    base::KernelHandle thread(CreateThread(nullptr, 0, Holder::run, &holder, 0, nullptr));
    ASSERT_TRUE(thread);
    ASSERT_EQ(WaitForSingleObject(holder.opened.get(), 10000), WAIT_OBJECT_0);
    std::string text = "written after " + std::to_string(holdMs) + " ms";
    if (holdMs < OpenedClipboard::PatienceMs) {
      EXPECT_NO_THROW(Clipboard().SetAsText(text));
      EXPECT_EQ(Clipboard().AsText(), text);
    } else {
      try {
        Clipboard().SetAsText(text);
        ADD_FAILURE() << "written while another thread held the clipboard";
      } catch (const Exception &error) {
        EXPECT_EQ(error.Message(), "Cannot open clipboard");
      }
    }
    WaitForSingleObject(thread.get(), 10000);
  }
}

// The wait for the clipboard pumps: the program's timers and messages
// are handled meanwhile, not held back until the clipboard is free.
TEST(ClipboardTest, TheWaitForTheClipboardHandlesTheProgramsMessages) {
  struct Holder {
    static DWORD WINAPI run(void *event) {
      if (!OpenClipboard(nullptr))
        return 1;
      SetEvent(static_cast<HANDLE>(event));
      Sleep(500); // another program busy with the clipboard
      CloseClipboard();
      return 0;
    }
  };
  base::KernelHandle opened(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  base::KernelHandle thread(CreateThread(nullptr, 0, Holder::run, opened.get(), 0, nullptr));
  ASSERT_TRUE(thread);
  ASSERT_EQ(WaitForSingleObject(opened.get(), 10000), WAIT_OBJECT_0);
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(50);
  timer.OnTimer = [&](TObject *) { ++ticks; };
  timer.SetEnabled(true);
  EXPECT_NO_THROW(Clipboard().SetAsText("written after a wait"));
  timer.SetEnabled(false);
  EXPECT_GT(ticks, 0);
  WaitForSingleObject(thread.get(), 10000);
}

namespace {

const char testKey[] = "Software\\ComponentsWin32Test";

class RegistryTest : public ::testing::Test {
protected:
  void TearDown() override {
    RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(testKey) + "\\1.0").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, testKey);
  }

  // A number written by the platform itself.
  static void writeDword(const char *name, DWORD value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(testKey) + "\\1.0").c_str(), 0,
                              nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value),
                             sizeof value),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }

  // The value as the platform itself reads it.
  static DWORD rawType(const char *name, std::vector<BYTE> &data) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(testKey) + "\\1.0").c_str(), 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
      return REG_NONE;
    DWORD type = REG_NONE, size = 0;
    RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    data.resize(size);
    RegQueryValueExA(key, name, nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    return type;
  }
};

} // namespace

TEST_F(RegistryTest, ValuesRoundTripWithThePlatformTypes) {
  TRegistry registry;
  EXPECT_FALSE(registry.OpenKey(std::string(testKey) + "\\1.0", false)); // not there yet
  ASSERT_TRUE(registry.OpenKey(std::string(testKey) + "\\1.0", true));
  registry.WriteString("(TForm)_Width", "366");
  registry.WriteString("Caption", "Caf\xE9");
  const unsigned char block[] = {'E', 'M', 'P', 'T', 'Y', 0, 0, '0', '3'};
  registry.WriteBinaryData("Font", block, sizeof block);

  std::vector<BYTE> data;
  EXPECT_EQ(rawType("Caption", data), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::string(reinterpret_cast<char *>(data.data())), "Caf\xE9");
  EXPECT_EQ(rawType("Font", data), static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(data, std::vector<BYTE>(block, block + sizeof block));

  TRegistry reader;
  ASSERT_TRUE(reader.OpenKeyReadOnly(testKey));
  ASSERT_TRUE(reader.OpenKeyReadOnly("1.0")); // relative to the open key
  EXPECT_EQ(reader.ReadString("Caption"), "Caf\xE9");
  EXPECT_EQ(reader.ReadString("(TForm)_Width"), "366");
  EXPECT_EQ(reader.ReadString("Missing"), "");
  unsigned char buffer[4] = {};
  EXPECT_EQ(reader.ReadBinaryData("Font", buffer, sizeof buffer), static_cast<int>(sizeof block));
  EXPECT_EQ(std::memcmp(buffer, "EMPT", 4), 0); // cut to the caller's buffer
  EXPECT_EQ(reader.GetDataSize("Font"), static_cast<int>(sizeof block));
  EXPECT_EQ(reader.GetDataSize("Missing"), -1);
}

TEST_F(RegistryTest, WrongTypesAndMissingValuesRaiseNamedErrors) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey(std::string(testKey) + "\\1.0", true));
  registry.WriteString("Text", "12");
  writeDword("Number", 12);
  struct Case {
    const char *what;
    std::function<void()> read;
    const char *message;
  } cases[] = {
      {"text from integer", [&] { registry.ReadString("Number"); },
       "Invalid data type for 'Number'"},
      {"binary from text",
       [&] {
         char buffer[4];
         registry.ReadBinaryData("Text", buffer, 4);
       },
       "Invalid data type for 'Text'"},
  };
  for (const Case &c : cases) {
    try {
      c.read();
      ADD_FAILURE() << c.what << ": no exception";
    } catch (const ERegistryException &error) {
      EXPECT_EQ(error.Message(), c.message) << c.what;
    }
  }
  EXPECT_TRUE(registry.ValueExists("Text"));
  EXPECT_FALSE(registry.ValueExists("Gone"));
  registry.CloseKey();
  EXPECT_THROW(registry.WriteString("Closed", "x"), ERegistryException);
}

TEST(ClipboardTest, TextGoesBothWaysAsThePlatformSeesIt) {
  const std::string text = "Teh na\xEFve caf\xE9\r\nsecond line";
  Clipboard().SetAsText(text);
  EXPECT_TRUE(Clipboard().HasFormat(CF_TEXT));
  // Read back through the platform itself.
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_TEXT);
  ASSERT_NE(data, nullptr);
  std::string raw(static_cast<const char *>(GlobalLock(data)));
  GlobalUnlock(data);
  CloseClipboard();
  EXPECT_EQ(raw, text);
  EXPECT_EQ(Clipboard().AsText(), text);
}

namespace {

// Types a file name into the open dialog the platform shows and presses
// OK (or Cancel), from a timer that the dialog's own loop runs.
class FileDialogDriver {
public:
  FileDialogDriver(std::string fileName, bool cancel)
      : fileName_(std::move(fileName)), cancel_(cancel) {
    timer_.SetInterval(100);
    timer_.OnTimer = [this](TObject *) { drive(); };
  }
  std::string title;

private:
  void drive() {
    HWND dialog = win32_test::findDialogWindow();
    if (!dialog)
      return;
    title = win32_test::windowText(dialog);
    if (cancel_) {
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    test_windows::chooseFile(dialog, fileName_);
  }

  std::string fileName_;
  bool cancel_;
  TTimer timer_{nullptr};
};

} // namespace

TEST(FileDialogs, SaveDialogAddsTheDefaultExtensionAndCancelKeepsTheName) {
  std::string folder = testing_support::scratchPath("file-dialogs");
  CreateDirectoryA(folder.c_str(), nullptr);
  TSaveDialog dialog(nullptr);
  dialog.SetTitle("Export Invoice To");
  dialog.SetDefaultExt("txt");
  dialog.SetFilter("Text Files|*.txt|All Files|*.*");
  dialog.SetInitialDir(folder);
  dialog.SetOptions(ofOverwritePrompt | ofHideReadOnly | ofPathMustExist);
  {
    FileDialogDriver driver("invoice", false);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(driver.title, "Export Invoice To");
  }
  std::string chosen = dialog.FileName();
  EXPECT_EQ(LowerCase(ExtractFileName(chosen)), "invoice.txt");
  std::string expectedFolder = folder + "\\";
  std::replace(expectedFolder.begin(), expectedFolder.end(), '/', '\\');
  EXPECT_EQ(LowerCase(ExtractFilePath(chosen)), LowerCase(expectedFolder));
  {
    FileDialogDriver driver("", true);
    EXPECT_FALSE(dialog.Execute());
  }
  EXPECT_EQ(dialog.FileName(), chosen);
  RemoveDirectoryA(folder.c_str());
}

TEST(FileDialogs, OpenDialogGivesTheExistingFileChosen) {
  std::string folder = testing_support::scratchPath("open-dialog");
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string existing = folder + "\\rates.txt";
  HANDLE file = CreateFileA(existing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  TOpenDialog dialog(nullptr);
  dialog.SetTitle("Open Rates");
  dialog.SetDefaultExt("txt");
  dialog.SetFilter("Text Files|*.txt|All Files|*.*");
  dialog.SetInitialDir(folder);
  dialog.SetOptions(ofFileMustExist | ofHideReadOnly);
  {
    FileDialogDriver driver("rates.txt", false);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(driver.title, "Open Rates");
  }
  EXPECT_EQ(LowerCase(ExtractFileName(dialog.FileName())), "rates.txt");
  {
    FileDialogDriver driver("", true);
    EXPECT_FALSE(dialog.Execute());
  }
  DeleteFileA(existing.c_str());
  RemoveDirectoryA(folder.c_str());
}
