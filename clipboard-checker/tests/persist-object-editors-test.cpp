// The setup dialog's editors of object-valued properties under Wine, driven
// through its windows: a font chosen in the common font dialog (answered
// here) shows in the "AaBbYyZz" sample, reaches the property with "&OK",
// is stored as the font's binary value and read back by the next start; a
// bitmap file chosen in the common open dialog shows in the picture
// editor, "&Clear" removes it, and missing or damaged files are reported
// while nothing held is lost. Screenshots of both editors stay in the
// test's build folder (persist-setup-font.bmp, persist-setup-picture.bmp).
#include "clipboard-checker/core/kfp-store.h"
#include "clipboard-checker/win32/component-properties.h"
#include "clipboard-checker/win32/persist-platform.h"
#include "platform/components/core/bitmap-file.h"
#include "platform/components/core/file-system.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/image.h"
#include "platform/components/win32/panel.h"
#include "clipboard-checker/tests/setup-dialog-support.h"
#include "testing/dialog-driver.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using namespace components;
using namespace lexitray;
using namespace dialog_test;
using namespace setup_dialog;

namespace {

// Control identifiers of the common font dialog: face, style and size.
constexpr int faceCombo = 0x470, styleCombo = 0x471, sizeCombo = 0x472;
// The open dialog's file name field: a combo box, or in older layouts an
// edit.
constexpr int fileNameCombo = 0x47c, fileNameEdit = 0x480;

// The sample picture: red on the left half, blue on the right, a green
// top row.
constexpr int sampleWidth = 48, sampleHeight = 32;
std::vector<std::uint32_t> samplePixels() {
  std::vector<std::uint32_t> pixels(sampleWidth * sampleHeight);
  for (int y = 0; y < sampleHeight; ++y)
    for (int x = 0; x < sampleWidth; ++x)
      pixels[y * sampleWidth + x] = y == 0                ? 0x00FF00u
                                    : x < sampleWidth / 2 ? 0xFF0000u
                                                          : 0x0000FFu;
  return pixels;
}

std::string artefact(const char *name) {
  return testing_support::hostPath(testing_support::envOr("TEST_BINARY_DIR", ".") + "/" + name);
}

// A form with a panel whose font and an image whose picture are kept in a
// store file.
struct KeptForm {
  explicit KeptForm(PropertyAccess &properties, const std::string &storeFile) {
    form = std::make_unique<TForm>(nullptr);
    form->SetName("Form1");
    form->SetCaption("Kept Form");
    form->SetBounds(40, 40, 300, 200);
    panel = new TPanel(form.get());
    panel->SetName("Panel1");
    panel->SetCaption("Sample");
    panel->SetBounds(8, 8, 140, 60);
    panel->SetParent(form.get());
    image = new TImage(form.get());
    image->SetName("Image1");
    image->SetBounds(160, 8, 60, 60);
    image->SetParent(form.get());
    persist = new TkfPersist(form.get(), makePersistPlatform(), properties);
    persist->SetName("kfPersist1");
    persist->SetOptions(0);
    persist->SetStorageType(kfpFile);
    persist->SetFileName(storeFile);
    persist->SetRegistryKey("Software\\Editors");
    persist->Items().Add("Panel1;Font;7;Panel1_Font;;1;0;1;The panel's lettering;");
    persist->Items().Add("Image1;Picture;7;Image1_Picture;;1;0;1;The picture shown;");
    form->Show();
  }
  std::unique_ptr<TForm> form;
  TPanel *panel = nullptr;
  TImage *image = nullptr;
  TkfPersist *persist = nullptr;
};

class PersistObjectEditorsTest : public ::testing::Test {
protected:
  void SetUp() override {
    installDesignedFont();
    folder = testing_support::scratchPath(
        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    CreateDirectoryA(folder.c_str(), nullptr);
    storeFile = folder + "\\editors.kfp";
    DeleteFileA(storeFile.c_str());
    kept = std::make_unique<KeptForm>(properties, storeFile);
  }
  void TearDown() override { kept.reset(); }

  // Opens the setup dialog and runs the steps inside its modal loops; a
  // script that stalls closes whatever is open at the deadline.
  bool runDialog(std::vector<DialogDriver::Step> steps) {
    DialogDriver driver(std::move(steps), [] {
      for (const char *caption : {"Font", "Open"})
        if (HWND common = findTopLevel(caption))
          PostMessageA(common, WM_COMMAND, IDCANCEL, 0);
      if (HWND message = messageBox())
        PostMessageA(message, WM_COMMAND, IDOK, 0);
      pressIfEnabled(dialog(), "Cancel");
    });
    bool result = kept->persist->ShowSetup();
    EXPECT_TRUE(driver.Finished()) << "stalled after step " << driver.StepsDone();
    return result;
  }

  // The dialog's visible window of our panel class with this caption.
  static HWND panelShowing(const std::string &caption) {
    for (HWND window : findChildren(dialog(), "TPanel"))
      if (IsWindowVisible(window) && windowText(window) == caption)
        return window;
    return nullptr;
  }
  static LOGFONTA fontOf(HWND window) {
    LOGFONTA font{};
    auto handle = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    if (handle)
      GetObjectA(handle, sizeof font, &font);
    return font;
  }
  // The message box of this thread (a platform dialog holding no list
  // of files), or null.
  static HWND messageBox() {
    for (HWND window : test_windows::threadWindows())
      if (windowClass(window) == "#32770" && windowText(window) != "Open" &&
          windowText(window) != "Font")
        return window;
    return nullptr;
  }
  static std::string messageText(HWND box) {
    std::string text;
    for (HWND label : findChildren(box, "Static"))
      text += windowText(label);
    return text;
  }

  // Answers the common open dialog with a file name, as typed into its
  // file name field and confirmed with the Open button.
  static bool answerOpen(const std::string &path) {
    HWND open = findTopLevel("Open");
    if (!open)
      return false;
    HWND field = GetDlgItem(open, fileNameCombo);
    if (!field)
      field = GetDlgItem(open, fileNameEdit);
    if (!field)
      return false;
    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(open, IDOK)));
    return true;
  }

  // Whether the picture editor shows the sample picture: its pixels at the
  // image's top left corner inside the frame.
  static bool showsSample(HWND frame) {
    UpdateWindow(frame);
    base::WindowDC screen(frame);
    std::vector<std::uint32_t> pixels = samplePixels();
    for (int y = 0; y < sampleHeight; ++y)
      for (int x = 0; x < sampleWidth; ++x) {
        std::uint32_t rgb = pixels[y * sampleWidth + x];
        COLORREF wanted = RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
        if (GetPixel(screen.get(), 1 + x, 1 + y) != wanted)
          return false;
      }
    return true;
  }

  std::string storedBlock(const std::string &name) {
    TkfRegFile store;
    EXPECT_TRUE(store.LoadFromFile(storeFile, defaultFileSystem()));
    store.SetCurrentKey("Software\\Editors");
    std::string block(store.GetDataSize(name), '\0');
    block.resize(store.ReadBinaryData(name, &block[0], block.size()));
    return block;
  }

  std::string writeFile(const std::string &name, const std::string &contents) {
    std::string path = folder + "\\" + name;
    EXPECT_TRUE(defaultFileSystem().writeFile(path, contents));
    return path;
  }

  ComponentProperties properties;
  std::string folder, storeFile;
  std::unique_ptr<KeptForm> kept;
};

} // namespace

TEST_F(PersistObjectEditorsTest, AChosenFontShowsInTheSampleIsStoredAndReadBackAtTheNextStart) {
  std::string face;
  LOGFONTA shown{};
  bool shot = false;
  bool result = runDialog({
      [&] { return dialog() != nullptr; },
      [&] {
        choose("Panel1_Font");
        EXPECT_EQ(labels(), (std::vector<std::string>{"The panel's lettering", "TFont"}));
        HWND sample = panelShowing("AaBbYyZz");
        EXPECT_NE(sample, nullptr);
        EXPECT_STREQ(fontOf(sample).lfFaceName, "MS Sans Serif");
        EXPECT_FALSE(applyEnabled());
        return pressIfEnabled(dialog(), "&Font...");
      },
      // The common font dialog: another face, bold, 14 points.
      [&] {
        HWND fonts = findTopLevel("Font");
        if (!fonts)
          return false;
        HWND faces = GetDlgItem(fonts, faceCombo);
        for (const char *wanted :
             {"DejaVu Sans", "Liberation Sans", "Tahoma", "Courier New", "Arial"}) {
          LRESULT index = SendMessageA(faces, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(wanted));
          if (index >= 0) {
            face = wanted;
            SendMessageA(faces, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            notify(faces, CBN_SELCHANGE);
            break;
          }
        }
        if (face.empty()) {
          std::string faceList;
          int count = static_cast<int>(SendMessageA(faces, CB_GETCOUNT, 0, 0));
          for (int i = 0; i < count; ++i) {
            char name[LF_FACESIZE + 1] = {};
            SendMessageA(faces, CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(name));
            faceList += std::string(name) + "; ";
          }
          ADD_FAILURE() << "no known face in the font dialog: " << faceList;
        }
        HWND styles = GetDlgItem(fonts, styleCombo);
        LRESULT bold = SendMessageA(styles, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>("Bold"));
        EXPECT_GE(bold, 0);
        SendMessageA(styles, CB_SETCURSEL, static_cast<WPARAM>(bold), 0);
        notify(styles, CBN_SELCHANGE);
        HWND sizes = GetDlgItem(fonts, sizeCombo);
        SendMessageA(sizes, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("14"));
        LRESULT fourteen = SendMessageA(sizes, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>("14"));
        if (fourteen >= 0) {
          SendMessageA(sizes, CB_SETCURSEL, static_cast<WPARAM>(fourteen), 0);
          notify(sizes, CBN_SELCHANGE);
        }
        PostMessageA(fonts, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(fonts, IDOK)));
        return true;
      },
      [&] {
        if (findTopLevel("Font") || !applyEnabled())
          return false;
        HWND sample = panelShowing("AaBbYyZz");
        EXPECT_NE(sample, nullptr);
        shown = fontOf(sample);
        EXPECT_EQ(shown.lfFaceName, face);
        EXPECT_GE(shown.lfWeight, FW_BOLD);
        // Nothing reaches the property before OK or Apply.
        EXPECT_EQ(kept->panel->Font().Name(), "MS Sans Serif");
        shot = saveWindowShot(dialog(), artefact("persist-setup-font.bmp"));
        return pressIfEnabled(dialog(), "&OK");
      },
  });
  EXPECT_TRUE(result);
  EXPECT_TRUE(shot);
  TFont &font = kept->panel->Font();
  EXPECT_EQ(font.Name(), face);
  EXPECT_EQ(font.Style(), fsBold);
  EXPECT_EQ(font.Height(), shown.lfHeight);
  {
    base::WindowDC screen(nullptr);
    EXPECT_EQ(-font.Height(), MulDiv(14, GetDeviceCaps(screen.get(), LOGPIXELSY), 72));
  }
  // The panel itself now paints in the font.
  EXPECT_STREQ(fontOf(kept->panel->Handle()).lfFaceName, face.c_str());

  // Stored as the font's binary value: the class name, "03", its state.
  kept->persist->Save();
  std::string block = storedBlock("Panel1_Font");
  ASSERT_GT(block.size(), 34u);
  EXPECT_EQ(block.substr(0, 32), std::string("TFont") + std::string(27, '\0'));
  EXPECT_EQ(block.substr(32, 2), "03");
  std::string state = block.substr(34);
  EXPECT_NE(state.find("\r\nName=" + face + "\r\n"), std::string::npos) << state;
  EXPECT_NE(state.find("\r\nStyle=[fsBold]\r\n"), std::string::npos) << state;

  // The next start: a new form of the same design loads the font back.
  kept.reset();
  KeptForm next(properties, storeFile);
  EXPECT_EQ(next.panel->Font().Name(), "MS Sans Serif");
  next.persist->Load();
  EXPECT_EQ(next.panel->Font().Name(), face);
  EXPECT_EQ(next.panel->Font().Style(), fsBold);
  EXPECT_EQ(next.panel->Font().Height(), shown.lfHeight);
}

TEST_F(PersistObjectEditorsTest, CancelInTheFontDialogOrTheSetupDialogKeepsTheFont) {
  bool result = runDialog({
      [&] { return dialog() != nullptr; },
      [&] {
        choose("Panel1_Font");
        return pressIfEnabled(dialog(), "&Font...");
      },
      [&] {
        HWND fonts = findTopLevel("Font");
        if (!fonts)
          return false;
        PostMessageA(fonts, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(fonts, IDCANCEL)));
        return true;
      },
      [&] {
        if (findTopLevel("Font"))
          return false;
        EXPECT_FALSE(applyEnabled());
        EXPECT_STREQ(fontOf(panelShowing("AaBbYyZz")).lfFaceName, "MS Sans Serif");
        return pressIfEnabled(dialog(), "Cancel");
      },
  });
  EXPECT_FALSE(result);
  EXPECT_EQ(kept->panel->Font().Name(), "MS Sans Serif");
  EXPECT_EQ(kept->panel->Font().Style(), 0u);
}

// A bitmap loaded through "&Graphic..." shows; a damaged file and a
// missing one are each reported by name and cost nothing; OK gives the
// picture to the property and Save stores the bitmap file whole; the next
// start reads it back.
TEST_F(PersistObjectEditorsTest, APictureLoadsShowsSurvivesBadFilesAndIsStored) {
  std::vector<std::uint32_t> pixels = samplePixels();
  std::string bitmap = MakeBitmapFile(sampleWidth, sampleHeight, pixels.data());
  std::string good = writeFile("sample.bmp", bitmap);
  std::string damaged = writeFile("damaged.bmp", bitmap.substr(0, 70));
  std::string missing = folder + "\\no-such-picture.bmp";
  std::vector<std::string> reports;
  bool shot = false;
  HWND frame = nullptr;
  auto reportStep = [&] {
    HWND box = messageBox();
    if (!box)
      return false;
    reports.push_back(messageText(box));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return true;
  };
  auto stillShown = [&] {
    if (messageBox())
      return false;
    EXPECT_TRUE(showsSample(frame));
    return true;
  };
  bool result = runDialog({
      [&] { return dialog() != nullptr; },
      [&] {
        choose("Image1_Picture");
        EXPECT_EQ(labels(), (std::vector<std::string>{"The picture shown", "TPicture"}));
        frame = panelShowing("");
        EXPECT_NE(frame, nullptr);
        EXPECT_FALSE(showsSample(frame));
        return pressIfEnabled(dialog(), "&Graphic...");
      },
      [&] { return answerOpen(good); },
      [&] {
        if (findTopLevel("Open") || !applyEnabled())
          return false;
        EXPECT_TRUE(showsSample(frame));
        shot = saveWindowShot(dialog(), artefact("persist-setup-picture.bmp"));
        return pressIfEnabled(dialog(), "&Graphic...");
      },
      [&] { return answerOpen(damaged); },
      reportStep,
      stillShown,
      [&] { return pressIfEnabled(dialog(), "&Graphic..."); },
      [&] { return answerOpen(missing); },
      reportStep,
      stillShown,
      [&] { return pressIfEnabled(dialog(), "&OK"); },
  });
  EXPECT_TRUE(result);
  EXPECT_TRUE(shot);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_NE(reports[0].find("damaged.bmp\" cannot be read: it ends before its last row of pixels"),
            std::string::npos)
      << reports[0];
  EXPECT_NE(reports[1].find("no-such-picture.bmp\" cannot be opened"), std::string::npos)
      << reports[1];
  ASSERT_NE(kept->image->Picture().Graphic(), nullptr);
  EXPECT_EQ(kept->image->Picture().Graphic()->Data(), bitmap);

  kept->persist->Save();
  std::string block = storedBlock("Image1_Picture");
  std::string size(4, '\0');
  for (int i = 0; i < 4; ++i)
    size[i] = static_cast<char>(bitmap.size() >> (8 * i) & 0xFF);
  EXPECT_EQ(block,
            std::string("TPicture") + std::string(24, '\0') + "03" + "\x07TBitmap" + size + bitmap);

  kept.reset();
  KeptForm next(properties, storeFile);
  EXPECT_TRUE(next.image->Picture().Empty());
  next.persist->Load();
  ASSERT_NE(next.image->Picture().Graphic(), nullptr);
  EXPECT_EQ(next.image->Picture().Graphic()->Data(), bitmap);
}

// "&Clear" empties the picture at once; OK gives the empty picture to the
// property, which is stored as "EMPTY".
TEST_F(PersistObjectEditorsTest, ClearRemovesThePictureAndItIsStoredEmpty) {
  std::vector<std::uint32_t> pixels = samplePixels();
  kept->image->Picture().LoadFromData(MakeBitmapFile(sampleWidth, sampleHeight, pixels.data()));
  HWND frame = nullptr;
  bool result = runDialog({
      [&] { return dialog() != nullptr; },
      [&] {
        choose("Image1_Picture");
        frame = panelShowing("");
        EXPECT_NE(frame, nullptr);
        EXPECT_TRUE(showsSample(frame));
        return pressIfEnabled(dialog(), "&Clear");
      },
      [&] {
        if (!applyEnabled())
          return false;
        UpdateWindow(frame);
        EXPECT_FALSE(showsSample(frame));
        EXPECT_FALSE(kept->image->Picture().Empty()); // not before OK
        return pressIfEnabled(dialog(), "&OK");
      },
  });
  EXPECT_TRUE(result);
  EXPECT_TRUE(kept->image->Picture().Empty());
  kept->persist->Save();
  EXPECT_EQ(storedBlock("Image1_Picture"), std::string("EMPTY") + std::string(27, '\0') + "03");
}
