// Owners and boundary guards: text conversion at the COM boundary, exactly
// one release per reference, and the HRESULT each guard answers.
#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/base/win32/safe-array.h"
#include "platform/base/win32/unique-handle.h"
#include "platform/base/win32/variant.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A bare IUnknown that counts its references for the owner tests.
class CountedUnknown : public IUnknown {
public:
  ULONG refs = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override {
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown))
      return E_NOINTERFACE;
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST(Bstr, AnsiTextRoundTripsIncludingHighBytes) {
  const std::string texts[] = {"", "R1",
                               "Widerstand \xB5"
                               "F \xE9t\xE9",
                               std::string(300, 'x')};
  for (const std::string &text : texts) {
    base::Bstr b(text);
    ASSERT_NE(b.get(), nullptr);
    EXPECT_EQ(b.toAnsi(), text);
    EXPECT_EQ(b.length(), text.size());
  }
}

TEST(Bstr, NullIsEmptyText) { EXPECT_EQ(base::Bstr::toAnsiText(nullptr), ""); }

TEST(ComPtr, CopyAddsMoveTransfersDestroyReleases) {
  CountedUnknown object;
  {
    base::ComPtr<IUnknown> a(&object);
    EXPECT_EQ(object.refs, 2u);
    base::ComPtr<IUnknown> b = a;
    EXPECT_EQ(object.refs, 3u);
    base::ComPtr<IUnknown> c = std::move(b);
    EXPECT_EQ(object.refs, 3u);
    EXPECT_FALSE(b);
    base::ComPtr<IUnknown> d = c.query<IUnknown>();
    EXPECT_EQ(object.refs, 4u);
  }
  EXPECT_EQ(object.refs, 1u);
}

TEST(Variant, ClearsHeldBstrOnce) {
  base::Variant v;
  V_VT(v.get()) = VT_BSTR;
  V_BSTR(v.get()) = SysAllocString(L"text");
  base::Variant moved = std::move(v);
  EXPECT_EQ(v.type(), VT_EMPTY);
  EXPECT_EQ(moved.type(), VT_BSTR);
}

TEST(SafeArray, AccessGivesElements) {
  base::SafeArray array(SafeArrayCreateVector(VT_I4, 0, 3));
  ASSERT_NE(array.get(), nullptr);
  base::SafeArrayAccess<LONG> access(array.get());
  ASSERT_TRUE(access.ok());
  EXPECT_EQ(access.size(), 3u);
  access.data()[2] = 7;
  EXPECT_EQ(access.data()[2], 7);
}

TEST(RegKey, ClosesWhatItOpened) {
  base::RegKey key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.receive()),
            ERROR_SUCCESS);
  HKEY raw = key.release();
  EXPECT_EQ(RegCloseKey(raw), ERROR_SUCCESS);
  EXPECT_FALSE(key);
}

// {0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}: an interface name for error info.
const IID TestIid = {0x0f1e2d3c, 0x4b5a, 0x6978, {0x87, 0x96, 0xa5, 0xb4, 0xc3, 0xd2, 0xe1, 0xf0}};

TEST(Guards, EachExceptionBecomesTheBoundarysAnswer) {
  struct Case {
    HRESULT (*body)();
    HRESULT com, host, exported;
  } cases[] = {
      {[]() -> HRESULT { return S_FALSE; }, S_FALSE, S_FALSE, S_FALSE},
      {[]() -> HRESULT { throw base::ComError(E_INVALIDARG); }, E_INVALIDARG, S_FALSE,
       E_INVALIDARG},
      {[]() -> HRESULT { throw std::bad_alloc(); }, E_OUTOFMEMORY, E_OUTOFMEMORY, E_OUTOFMEMORY},
      {[]() -> HRESULT { throw std::runtime_error("x"); }, E_UNEXPECTED, E_UNEXPECTED,
       E_UNEXPECTED},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(base::guardCom(TestIid, c.body), c.com);
    EXPECT_EQ(base::guardHostEntry(c.body), c.host);
    EXPECT_EQ(base::guardExport(c.body), c.exported);
  }
}

TEST(Guards, FailureLeavesErrorInfoNamingTheInterface) {
  ASSERT_EQ(base::guardCom(TestIid, []() -> HRESULT { throw base::ComError(E_POINTER); }),
            E_POINTER);
  base::ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, info.receive()), S_OK);
  GUID guid;
  ASSERT_EQ(info->GetGUID(&guid), S_OK);
  EXPECT_TRUE(IsEqualGUID(guid, TestIid));
}

TEST(Check, ThrowsOnlyOnFailure) {
  EXPECT_EQ(base::check(S_FALSE), S_FALSE);
  try {
    base::check(E_NOINTERFACE, TestIid);
    FAIL() << "no throw";
  } catch (const base::ComError &error) {
    EXPECT_EQ(error.hr(), E_NOINTERFACE);
    EXPECT_TRUE(IsEqualGUID(error.iid(), TestIid));
  }
}

} // namespace
