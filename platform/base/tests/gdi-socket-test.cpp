// Owners of GDI objects, DCs, global blocks, sockets, windows and menus:
// each resource is released once and a selected object is put back.
#include "platform/base/win32/unique-socket.h"

#include "platform/base/win32/gdi-owners.h"
#include "platform/base/win32/global-lock.h"
#include "platform/base/win32/window-owners.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(GdiOwners, SelectionIsRestoredBeforeTheBitmapGoes) {
  base::CreatedDC dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BITMAP);
  base::GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc.get(), 4, 4));
  ASSERT_TRUE(bitmap);
  {
    base::SelectedObject selected(dc.get(), bitmap.get());
    ASSERT_TRUE(selected.ok());
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
  }
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), original);
  HBITMAP raw = bitmap.release();
  EXPECT_NE(DeleteObject(raw), FALSE) << "the owner had not deleted it yet";
}

TEST(GlobalOwners, LockGivesTheBlockAndUnlocksOnce) {
  base::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, 16));
  ASSERT_TRUE(block);
  {
    base::GlobalLockScope<char> lock(block.get());
    ASSERT_TRUE(lock);
    EXPECT_GE(lock.size(), 16u);
    std::memcpy(lock.data(), "text", 5);
  }
  EXPECT_EQ(GlobalFlags(block.get()) & GMEM_LOCKCOUNT, 0u);
  base::GlobalLockScope<char> again(block.get());
  EXPECT_STREQ(again.data(), "text");
}

TEST(SocketOwner, ClosesItsSocket) {
  WSADATA data;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  SOCKET raw;
  {
    base::UniqueSocket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    ASSERT_TRUE(s);
    raw = s.get();
  }
  EXPECT_EQ(closesocket(raw), SOCKET_ERROR) << "already closed by the owner";
  WSACleanup();
}

} // namespace

TEST(WindowOwners, WindowAndMenuAreDestroyedOnceAndMoveWithTheirOwner) {
  base::WindowHandle window(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                                            GetModuleHandleA(nullptr), nullptr));
  ASSERT_TRUE(window);
  HWND raw = window.get();
  base::WindowHandle moved(std::move(window));
  EXPECT_FALSE(window);
  EXPECT_TRUE(IsWindow(raw));
  moved.reset();
  EXPECT_FALSE(IsWindow(raw));

  HMENU rawMenu = nullptr;
  {
    base::MenuHandle menu(CreatePopupMenu());
    rawMenu = menu.get();
    EXPECT_TRUE(IsMenu(rawMenu));
  }
  EXPECT_FALSE(IsMenu(rawMenu));
}
