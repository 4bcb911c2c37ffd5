// The splash window, the wait cursor and the about box: the window class on
// its own with the real QorSim.dll's resources (so that the clock and the
// timeouts can be chosen), then through the real server on stand-in pages.
// Screenshots go to the build tree as scratch-*.bmp.
#include "QorSim.h"
#include "circuit-sim/win32/about-box.h"
#include "circuit-sim/win32/kf-timer.h"
#include "circuit-sim/win32/splash-wnd.h"

#include "platform/base/win32/com-ptr.h"
#include "platform/drawing-host/win32/stand-in-host.h"
#include "testing/server-exports.h"
#include "testing/test-paths.h"
#include "testing/ui-driver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using base::ComPtr;
using qorsim::SplashWnd;

const UINT SplashBitmap = 207;
const COLORREF Amber = RGB(255, 176, 32); // the circuit's wires in the picture

HMODULE qorSim() {
  static HMODULE module = LoadLibraryA(testing_support::hostPath(QORSIM_DLL).c_str());
  return module;
}

using test_windows::waitUntil;

// Handles messages for a while: the time a window takes to paint, or that
// a timer that must not fire is given.
void pumpFor(DWORD milliseconds) {
  waitUntil([] { return false; }, milliseconds);
}

// The whole screen, kept as an artefact.
bool saveShot(const std::string &name) {
  return test_windows::saveScreenShot(testing_support::scratchPath(name));
}

COLORREF screenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return colour;
}

std::vector<HWND> visibleSplashes() {
  std::vector<HWND> found;
  for (HWND window : test_windows::processWindows(GetCurrentProcessId()))
    if (test_windows::windowClass(window) == SplashWnd::ClassName)
      found.push_back(window);
  return found;
}

HCURSOR standard(LPCSTR which) { return LoadCursorA(nullptr, which); }

class Splash : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(qorSim());
    ASSERT_TRUE(splash_.loadBitmap(qorSim(), SplashBitmap));
  }
  SplashWnd splash_;
};

TEST_F(Splash, PaintsTheWholePictureCentredOnTheScreen) {
  EXPECT_EQ(splash_.width(), 300);
  EXPECT_EQ(splash_.height(), 216);
  ASSERT_TRUE(splash_.create(SplashWnd::NoTimeout, nullptr));
  RECT shown{};
  GetWindowRect(splash_.window(), &shown);
  EXPECT_EQ(shown.right - shown.left, 300);
  EXPECT_EQ(shown.bottom - shown.top, 216);
  RECT area{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  EXPECT_NEAR((shown.left + shown.right) / 2, (area.left + area.right) / 2, 1);
  EXPECT_TRUE(GetWindowLongA(splash_.window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  pumpFor(100);
  EXPECT_TRUE(saveShot("splash-alone.bmp"));
  // The top-left corner of the wire loop, 60 pixels into the picture.
  EXPECT_EQ(screenPixel(shown.left + 60, shown.top + 60), Amber);
  splash_.close();
  EXPECT_EQ(splash_.window(), nullptr);
}

TEST_F(Splash, SetTimeoutZeroOrLessClosesAtOnce) {
  for (int timeout : {0, -5}) {
    ASSERT_TRUE(splash_.create(SplashWnd::NoTimeout, nullptr));
    const HWND window = splash_.window();
    ASSERT_TRUE(IsWindowVisible(window));
    splash_.setTimeout(timeout);
    EXPECT_FALSE(IsWindow(window)) << timeout;
    EXPECT_EQ(splash_.window(), nullptr);
  }
}

TEST_F(Splash, ASecondCreationReplacesTheShownWindow) {
  ASSERT_TRUE(splash_.create(SplashWnd::NoTimeout, nullptr));
  const HWND first = splash_.window();
  ASSERT_TRUE(splash_.create(SplashWnd::NoTimeout, nullptr));
  EXPECT_FALSE(IsWindow(first));
  EXPECT_TRUE(IsWindowVisible(splash_.window()));
  EXPECT_EQ(visibleSplashes().size(), 1u);
}

TEST_F(Splash, ClosesByItselfOrAtAPress) {
  ASSERT_TRUE(splash_.create(0, nullptr)); // below 1: the class default of 750 ms
  const DWORD start = GetTickCount();
  EXPECT_TRUE(waitUntil([&] { return splash_.window() == nullptr; }));
  EXPECT_GE(GetTickCount() - start, 600u);
  for (UINT press : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_KEYDOWN, WM_NCLBUTTONDOWN}) {
    ASSERT_TRUE(splash_.create(SplashWnd::NoTimeout, nullptr));
    SendMessageA(splash_.window(), press, 0, 0);
    EXPECT_EQ(splash_.window(), nullptr) << press;
  }
}

// Shown at 1000 s: the splash stays until 1010 s of the injected clock.
TEST_F(Splash, StaysTenSecondsAfterItWasShown) {
  ASSERT_TRUE(splash_.create(SplashWnd::NoTimeout, nullptr));
  splash_.closeTenSecondsAfter(1000, 1003); // 7 s left
  pumpFor(300);
  EXPECT_NE(splash_.window(), nullptr);
  splash_.closeTenSecondsAfter(1000, 1009); // 1 s left
  const DWORD start = GetTickCount();
  EXPECT_TRUE(waitUntil([&] { return splash_.window() == nullptr; }));
  EXPECT_GE(GetTickCount() - start, 900u);
  for (std::int64_t now : {1010, 1500}) {
    ASSERT_TRUE(splash_.create(SplashWnd::NoTimeout, nullptr));
    splash_.closeTenSecondsAfter(1000, now);
    EXPECT_EQ(splash_.window(), nullptr) << now;
  }
}

TEST_F(Splash, WaitCursorRemovedTwiceIsRestoredOnce) {
  ASSERT_TRUE(splash_.create(SplashWnd::NoTimeout, nullptr));
  SetCursor(standard(IDC_ARROW));
  SplashWnd::installWaitCursor(splash_.window());
  ASSERT_TRUE(SplashWnd::waitCursorInstalled());
  EXPECT_EQ(GetCursor(), standard(IDC_WAIT));
  // Messages to the thread's windows keep the hourglass.
  SendMessageA(splash_.window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(splash_.window()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), standard(IDC_WAIT));
  SplashWnd::removeWaitCursor();
  EXPECT_FALSE(SplashWnd::waitCursorInstalled());
  EXPECT_EQ(GetCursor(), standard(IDC_ARROW));
  SetCursor(standard(IDC_IBEAM));
  SplashWnd::removeWaitCursor(); // nothing left to restore
  EXPECT_EQ(GetCursor(), standard(IDC_IBEAM));
}

TEST(SplashResources, AMissingBitmapShowsNothing) {
  SplashWnd splash;
  EXPECT_FALSE(splash.loadBitmap(qorSim(), 999));
  EXPECT_FALSE(splash.create(SplashWnd::NoTimeout, nullptr));
  EXPECT_EQ(splash.window(), nullptr);
}

// A crafted 24-bit picture, 4 x 3, top-down: a grey background (one pixel
// a shade off) around a red and a dark pixel.
std::vector<unsigned char> craftedDib() {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = 4;
  header.biHeight = -3;
  header.biPlanes = 1;
  header.biBitCount = 24;
  const unsigned char grey[3] = {0x80, 0x80, 0x80}, shade[3] = {0x82, 0x7F, 0x80};
  const unsigned char red[3] = {0x00, 0x00, 0xFF}, dark[3] = {0x10, 0x10, 0x10};
  const unsigned char *rows[3][4] = {
      {grey, grey, grey, grey}, {grey, red, dark, shade}, {grey, grey, grey, grey}};
  std::vector<unsigned char> dib(reinterpret_cast<unsigned char *>(&header),
                                 reinterpret_cast<unsigned char *>(&header) + sizeof header);
  for (const auto &row : rows) { // 12 bytes a row: no padding
    for (const unsigned char *pixel : row)
      dib.insert(dib.end(), pixel, pixel + 3);
  }
  return dib;
}

// The transparent colour is the one at the reference point, with the given
// colour only when that point lies outside; pixels within the tolerance go
// from the window's region, and the colour -1 keeps every pixel.
TEST(SplashResources, TransparentPixelsFollowTheReferencePointAndTolerance) {
  const std::vector<unsigned char> dib = craftedDib();
  const struct {
    const char *name;
    COLORREF transparent;
    POINT reference;
    int tolerance;
    bool left[4]; // the second row's pixels left out
  } cases[] = {
      {"grey at the corner, shade within 2", RGB(1, 2, 3), {0, 0}, 2, {true, false, false, true}},
      {"grey at the corner, exact", RGB(1, 2, 3), {0, 0}, 0, {true, false, false, false}},
      {"red at (1, 1)", RGB(1, 2, 3), {1, 1}, 0, {false, true, false, false}},
      {"outside: the colour given", RGB(0x10, 0x10, 0x10), {9, 9}, 0, {false, false, true, false}},
      {"no transparent colour", CLR_INVALID, {0, 0}, 255, {false, false, false, false}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    SplashWnd splash;
    ASSERT_TRUE(splash.loadDib(dib.data(), dib.size(), c.transparent, c.reference, c.tolerance));
    EXPECT_EQ(splash.pixel(1, 1), static_cast<long>(RGB(0xFF, 0, 0)));
    EXPECT_EQ(splash.pixel(3, 1), static_cast<long>(RGB(0x80, 0x7F, 0x82)));
    EXPECT_EQ(splash.pixel(4, 0), -1);
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(splash.transparentAt(x, 1), c.left[x]) << x;
    if (c.tolerance != 2 && c.transparent != CLR_INVALID)
      continue; // the window is shown for the first case and the last
    ASSERT_TRUE(splash.create(SplashWnd::NoTimeout, nullptr));
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const bool shaped = GetWindowRgn(splash.window(), region) != ERROR;
    EXPECT_EQ(shaped, c.transparent != CLR_INVALID);
    for (int x = 0; shaped && x < 4; ++x)
      EXPECT_EQ(!PtInRegion(region, x, 1), c.left[x]) << x;
    DeleteObject(region);
  }
  SplashWnd damaged;
  EXPECT_FALSE(damaged.loadDib(dib.data(), sizeof(BITMAPINFOHEADER) - 1));
  EXPECT_EQ(damaged.pixel(0, 0), -1);
}

// A window timer of the thread stops the stopwatch once; a stopped one and
// one whose timer has gone never do. A multimedia timer sets its event
// once, and a stopped one never.
TEST(StopwatchTimers, FireOnceAndStopWhenAsked) {
  {
    qorsim::CKFTimer timer;
    EXPECT_TRUE(qorsim::CKFTimer::isLive(&timer));
    ASSERT_TRUE(timer.stopAfter(50));
    EXPECT_EQ(qorsim::CKFTimer::runningWindowTimers(), 1u);
    ASSERT_TRUE(waitUntil([&] { return !timer.windowTimerRunning(); }));
    EXPECT_GE(timer.elapsed(), 40000000); // the counter and the timer differ by a tick at most
    EXPECT_EQ(qorsim::CKFTimer::runningWindowTimers(), 0u);

    qorsim::CKFTimer stopped, later;
    ASSERT_TRUE(stopped.stopAfter(20));
    ASSERT_TRUE(later.stopAfter(200));
    stopped.stopTimers();
    EXPECT_FALSE(stopped.windowTimerRunning());
    ASSERT_TRUE(waitUntil([&] { return !later.windowTimerRunning(); }));
    EXPECT_EQ(stopped.elapsed(), 0) << "the stopped timer never fired";
    EXPECT_GE(later.elapsed(), 180000000);

    HANDLE fired = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    qorsim::CKFTimer signalling, cancelled;
    ASSERT_TRUE(signalling.signalAfter(30, fired));
    ASSERT_TRUE(cancelled.signalAfter(30, never));
    cancelled.stopTimers();
    EXPECT_FALSE(cancelled.multimediaTimerLive());
    ASSERT_TRUE(waitUntil([&] { return WaitForSingleObject(fired, 0) == WAIT_OBJECT_0; }));
    later.stopAfter(100);
    ASSERT_TRUE(waitUntil([&] { return !later.windowTimerRunning(); }));
    EXPECT_EQ(WaitForSingleObject(never, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    signalling.stopTimers();
    EXPECT_FALSE(signalling.multimediaTimerLive());
    CloseHandle(fired);
    CloseHandle(never);

    // A timer that goes with its window timer running takes it along.
    auto *going = new qorsim::CKFTimer;
    ASSERT_TRUE(going->stopAfter(20));
    delete going;
    EXPECT_FALSE(qorsim::CKFTimer::isLive(going));
    EXPECT_EQ(qorsim::CKFTimer::runningWindowTimers(), 0u);
    pumpFor(100); // a late firing finds no timer
  }
  EXPECT_FALSE(qorsim::CKFTimer::isLive(nullptr));
}

// Asked for 1000 bytes at a time, the callback hands out the text in
// order and ends with an empty answer.
TEST(AboutText, CallbackHandsOutTheTextInParts) {
  HRSRC found = FindResourceA(qorSim(), MAKEINTRESOURCEA(qorsim::AboutTextId), "RTF");
  ASSERT_TRUE(found);
  const std::size_t size = SizeofResource(qorSim(), found);
  EXPECT_GT(size, 4096u); // more than one request of the rich edit control
  const std::string whole(static_cast<const char *>(LockResource(LoadResource(qorSim(), found))),
                          size);
  qorsim::AboutStream stream{qorSim(), 0, 0};
  std::string received;
  BYTE buffer[1000];
  LONG given = -1;
  do {
    ASSERT_EQ(qorsim::supplyAboutText(reinterpret_cast<DWORD_PTR>(&stream), buffer, sizeof buffer,
                                      &given),
              0u);
    received.append(reinterpret_cast<const char *>(buffer), static_cast<std::size_t>(given));
  } while (given > 0 && stream.calls < 100);
  EXPECT_EQ(received, whole);
  EXPECT_EQ(stream.calls, static_cast<int>((size + 999) / 1000) + 1);
  // Without the text the callback reports an error and gives nothing.
  qorsim::AboutStream missing{GetModuleHandleA(nullptr), 0, 0};
  EXPECT_NE(
      qorsim::supplyAboutText(reinterpret_cast<DWORD_PTR>(&missing), buffer, sizeof buffer, &given),
      0u);
  EXPECT_EQ(given, 0);
}

// What the about box showed, read while it ran modally.
std::string aboutShown;
bool aboutCentred = false;

void CALLBACK readAndCloseAbout(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowA("#32770", "About Netweave");
  static int ticksShown = 0;
  if (!dialog || ++ticksShown < 6) // let it paint before the picture is taken
    return;
  ticksShown = 0;
  KillTimer(nullptr, timer);
  RedrawWindow(dialog, nullptr, nullptr,
               RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  aboutShown = test_windows::windowText(GetDlgItem(dialog, qorsim::AboutTextControl));
  RECT box{}, area{};
  GetWindowRect(dialog, &box);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  aboutCentred = std::abs((box.left + box.right) - (area.left + area.right)) <= 2;
  saveShot("about-box.bmp");
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

class Server : public testing::Test {
protected:
  static void SetUpTestSuite() {
    CoInitialize(nullptr);
    ASSERT_TRUE(qorSim());
    ASSERT_EQ(testing_support::callExport(qorSim(), "DllRegisterServer"), S_OK);
  }
  static void TearDownTestSuite() {
    EXPECT_EQ(testing_support::callExport(qorSim(), "DllUnregisterServer"), S_OK);
    CoUninitialize();
  }
  ComPtr<IQorSimRoot> root() {
    ComPtr<IQorSimRoot> made;
    EXPECT_EQ(CoCreateInstance(CLSID_SimRoot, nullptr, CLSCTX_INPROC_SERVER, IID_IQorSimRoot,
                               made.receiveVoid()),
              S_OK);
    return made;
  }
};

TEST_F(Server, ShowHelpAboutRunsTheAboutBox) {
  aboutShown.clear();
  ASSERT_TRUE(SetTimer(nullptr, 0, 50, readAndCloseAbout));
  EXPECT_EQ(root()->ShowHelpAbout(), S_OK);
  // The whole text in order, read as rich text, not shown raw.
  EXPECT_EQ(aboutShown.rfind("Netweave for Visio\xae", 0), 0u) << aboutShown.substr(0, 40);
  const std::size_t version = aboutShown.find("Version: 1.00");
  const std::size_t end = aboutShown.find("End of the about text.");
  EXPECT_LT(version, 40u);
  ASSERT_NE(end, std::string::npos);
  EXPECT_LT(version, end);
  EXPECT_EQ(aboutShown.find("{\\"), std::string::npos);
  EXPECT_TRUE(aboutCentred);
}

TEST_F(Server, OneSplashForTwoPagesAndTheWorkEventLetsItGo) {
  ASSERT_TRUE(visibleSplashes().empty());
  auto *host = new drawhost::StandInHost();
  drawhost::Document *document = host->addDocument("C:\\Drawings\\", "Splash.vsd");
  ComPtr<IQorSimRoot> simRoot = root();
  ComPtr<IQorSimCkt> first, second;
  ASSERT_EQ(simRoot->FindSim(document->addPage("Page-1"), first.receive()), S_OK);
  const std::vector<HWND> shown = visibleSplashes();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(GetCursor(), standard(IDC_WAIT));
  ASSERT_EQ(simRoot->FindSim(document->addPage("Page-2"), second.receive()), S_OK);
  EXPECT_EQ(visibleSplashes(), shown);
  pumpFor(100);
  EXPECT_TRUE(saveShot("splash-two-pages.bmp"));
  RECT rect{};
  GetWindowRect(shown[0], &rect);
  EXPECT_EQ(screenPixel(rect.left + 60, rect.top + 60), Amber);
  // The work event removes the hourglass; the splash stays its 10 seconds.
  host->fireIdle();
  EXPECT_NE(GetCursor(), standard(IDC_WAIT));
  EXPECT_TRUE(IsWindowVisible(shown[0]));
  EXPECT_EQ(first->Quit(), S_OK);
  EXPECT_EQ(second->Quit(), S_OK);
  first = ComPtr<IQorSimCkt>();
  second = ComPtr<IQorSimCkt>();
  simRoot = ComPtr<IQorSimRoot>();
  delete host;
}

} // namespace
