// The QorLib service through COM in the real QorLib01.dll: argument checks,
// IEEE texts, the component XML between text and document (templates byte
// for byte, text outside the code page, long texts), item labels on XML
// elements, and the module's unload answer while a device lives.
#include "QorLib01.h"
#include "passive-lib/tests/xml-items.h"
#include "testing/server-exports.h"

#include "passive-lib/core/component-templates.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/base/win32/variant.h"
#include "platform/xml/win32/xml-guids.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace {

using base::Bstr;
using base::ComPtr;

using testing_support::callExport;

Bstr wide(const std::wstring &text) {
  return Bstr::adopt(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

std::wstring text(BSTR s) { return std::wstring(s, SysStringLen(s)); }

class QorLibService : public testing::Test {
protected:
  static void SetUpTestSuite() {
    CoInitialize(nullptr);
    module_ = LoadLibraryA(testing_support::hostPath(QORLIB01_DLL).c_str());
    ASSERT_TRUE(module_);
    ASSERT_EQ(callExport(module_, "DllRegisterServer"), S_OK);
  }
  static void TearDownTestSuite() {
    EXPECT_EQ(callExport(module_, "DllUnregisterServer"), S_OK);
    CoUninitialize();
  }
  void SetUp() override {
    ASSERT_EQ(CoCreateInstance(CLSID_QorLib, nullptr, CLSCTX_INPROC_SERVER, IID_IQorLib,
                               lib_.receiveVoid()),
              S_OK);
  }

  ComPtr<IXMLDocument> parse(const std::wstring &xml) {
    ComPtr<IXMLDocument> document;
    EXPECT_EQ(lib_->BSTR2XML(wide(xml).get(), document.receive()), S_OK);
    return document;
  }
  std::wstring save(IXMLDocument *document) {
    Bstr out;
    EXPECT_EQ(lib_->XML2BSTR(document, out.receive()), S_OK);
    return text(out.get());
  }
  // The n-th ITEM (from 0) of the section of a parsed component.
  ComPtr<IXMLElement> item(IXMLDocument *document, const char *section, std::size_t n) {
    ComPtr<IXMLElement> root;
    EXPECT_EQ(document->get_root(root.receive()), S_OK);
    return passive_test::childrenOf(passive_test::sectionOf(root.get(), section).get()).at(n);
  }
  static void set(IXMLElement *element, const char *name, const char *value) {
    base::Variant v;
    V_VT(v.get()) = VT_BSTR;
    V_BSTR(v.get()) = Bstr(std::string(value)).detach();
    EXPECT_EQ(element->setAttribute(Bstr(std::string(name)).get(), *v.get()), S_OK);
  }
  std::string formatItem(IXMLElement *element, const char *partId, HRESULT expected = S_OK) {
    Bstr out;
    EXPECT_EQ(lib_->FormatItem(element, partId ? Bstr(std::string(partId)).get() : nullptr,
                               out.receive()),
              expected);
    return out.toAnsi();
  }

  static HMODULE module_;
  ComPtr<IQorLib> lib_;
};

HMODULE QorLibService::module_;

TEST_F(QorLibService, FormatValueChecksItsArgumentsFirst) {
  Bstr out;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(lib_->FormatValue(nan, 9, 2, VARIANT_FALSE, out.receive()), E_INVALIDARG);
  EXPECT_EQ(lib_->FormatValue(1.0, 2, 15, VARIANT_FALSE, out.receive()), E_INVALIDARG);
  EXPECT_EQ(lib_->FormatValue(1.0, 2, 2, VARIANT_FALSE, nullptr), E_POINTER);
  EXPECT_EQ(lib_->FormatValue(nan, 3, 2, VARIANT_FALSE, out.receive()), S_OK);
  EXPECT_EQ(out.toAnsi(), "?");
  EXPECT_EQ(lib_->FormatValue(12345, 3, 2, VARIANT_FALSE, out.receive()), S_OK);
  EXPECT_EQ(out.toAnsi(), "12.3 k");
  EXPECT_EQ(lib_->FormatValue(0.006, 3, 2, VARIANT_TRUE, out.receive()), S_OK);
  EXPECT_EQ(out.toAnsi(), "-6.00 m");
}

TEST_F(QorLibService, IeeeTextsAndTheirRejects) {
  double value = 5.0;
  EXPECT_EQ(lib_->BSTR2IEEE(Bstr(std::string("0x1")).get(), &value), S_OK);
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  EXPECT_EQ(bits, 1u);
  for (const wchar_t *bad : {L"0X", L"1X00", L"0XG0", L"0X00000000000000001", L"0X\x0661"}) {
    value = 5.0;
    EXPECT_EQ(lib_->BSTR2IEEE(wide(bad).get(), &value), S_FALSE);
    EXPECT_EQ(value, 0.0);
  }
  EXPECT_EQ(lib_->BSTR2IEEE(nullptr, &value), E_POINTER);
  EXPECT_EQ(lib_->BSTR2IEEE(Bstr(std::string("0x1")).get(), nullptr), E_POINTER);
  Bstr hex;
  EXPECT_EQ(lib_->IEEE2BSTR(-0.0, hex.receive()), S_OK);
  EXPECT_EQ(hex.toAnsi(), "0X8000000000000000");
  EXPECT_EQ(lib_->IEEE2BSTR(1.0, nullptr), E_POINTER);
}

TEST_F(QorLibService, EveryTemplateRoundTripsByteForByte) {
  for (passive::ComponentKind kind : passive::AllComponentKinds) {
    const std::string filled = passive::filledTemplate(kind, "1.00.419", "9 Dec 2026");
    const std::wstring xml(filled.begin(), filled.end());
    ComPtr<IXMLDocument> document = parse(xml);
    ASSERT_TRUE(document);
    EXPECT_EQ(save(document.get()), xml);
  }
}

TEST_F(QorLibService, TextOutsideTheCodePageAndLongTextsSurvive) {
  // Greek, Chinese, a character beyond the basic plane, Latin-1 letters.
  const std::wstring odd =
      L"<DEVICE NAME=\"\x03A9 \x4E2D\xD83D\xDE00 caf\x00E9\" TIP=\"a&amp;b\"/>";
  EXPECT_EQ(save(parse(odd).get()), odd);
  ComPtr<IXMLDocument> document = parse(odd);
  ComPtr<IXMLElement> root;
  ASSERT_EQ(document->get_root(root.receive()), S_OK);
  base::Variant value;
  ASSERT_EQ(root->getAttribute(Bstr(std::string("TIP")).get(), value.receive()), S_OK);
  EXPECT_EQ(text(V_BSTR(value.get())), L"a&b");
  std::wstring longText = L"<DEVICE NAME=\"";
  for (int i = 0; i < 100000; ++i)
    longText += static_cast<wchar_t>(i % 2 ? L'\x00E9' : L'\x4E2D');
  longText += L"\"/>";
  EXPECT_EQ(save(parse(longText).get()), longText);
  ComPtr<IXMLDocument> none;
  EXPECT_NE(lib_->BSTR2XML(wide(L"<DEVICE><PARAMS></DEVICE>").get(), none.receive()), S_OK);
  EXPECT_EQ(lib_->BSTR2XML(nullptr, none.receive()), E_POINTER);
  Bstr out;
  EXPECT_EQ(lib_->XML2BSTR(nullptr, out.receive()), E_POINTER);
}

TEST_F(QorLibService, FormatItemOnComponentElements) {
  const std::string ground =
      passive::filledTemplate(passive::ComponentKind::Ground, "1.00.419", "9 Dec 2026");
  ComPtr<IXMLDocument> document = parse(std::wstring(ground.begin(), ground.end()));
  ComPtr<IXMLElement> idc = item(document.get(), "RESULT", 0);
  EXPECT_EQ(formatItem(idc.get(), nullptr), "Idc = ?");
  set(idc.get(), "IEEE", "0X0000000000000000");
  EXPECT_EQ(formatItem(idc.get(), nullptr), "Idc = 0.00 A");
  set(idc.get(), "FORMAT", "7");
  formatItem(idc.get(), nullptr, E_INVALIDARG);
  set(idc.get(), "FORMAT", "3");
  set(idc.get(), "DIGITS", "40");
  formatItem(idc.get(), nullptr, E_INVALIDARG);

  const std::string resistor =
      passive::filledTemplate(passive::ComponentKind::Resistor, "1.00.419", "9 Dec 2026");
  document = parse(std::wstring(resistor.begin(), resistor.end()));
  ComPtr<IXMLElement> id = item(document.get(), "PARAMS", 0);
  EXPECT_EQ(formatItem(id.get(), "R7"), "R7");
  formatItem(id.get(), nullptr, E_POINTER);
  ComPtr<IXMLElement> r = item(document.get(), "PARAMS", 1);
  EXPECT_EQ(formatItem(r.get(), nullptr), "1.0 kohm");
  set(r.get(), "TEXT", "1k");
  formatItem(r.get(), nullptr, E_INVALIDARG);
  Bstr spice;
  EXPECT_EQ(lib_->FormatSpiceItem(r.get(), spice.receive()), E_INVALIDARG);
  set(r.get(), "TEXT", "4700");
  EXPECT_EQ(lib_->FormatSpiceItem(r.get(), spice.receive()), S_OK);
  EXPECT_EQ(spice.toAnsi(), "4.7K");
  set(r.get(), "TEXT", "6.25");
  EXPECT_EQ(lib_->FormatSpiceItem(r.get(), spice.receive()), S_OK);
  EXPECT_EQ(spice.toAnsi(), "6.25");
  EXPECT_EQ(lib_->FormatSpiceItem(nullptr, spice.receive()), E_POINTER);
}

TEST_F(QorLibService, AnswersErrorInfoForItsInterfaceOnly) {
  ComPtr<ISupportErrorInfo> info = lib_.query<ISupportErrorInfo>();
  ASSERT_TRUE(info);
  EXPECT_EQ(info->InterfaceSupportsErrorInfo(IID_IQorLib), S_OK);
  EXPECT_EQ(info->InterfaceSupportsErrorInfo(IID_IQorDev), S_FALSE);
  Bstr name;
  EXPECT_EQ(lib_->ClientSiteMonikerName(lib_.get(), 3, name.receive()), E_INVALIDARG);
  EXPECT_EQ(lib_->ClientSiteMonikerName(nullptr, 4, name.receive()), E_INVALIDARG);
  EXPECT_EQ(lib_->ClientSiteMonikerName(nullptr, 3, nullptr), E_POINTER);
}

TEST_F(QorLibService, ModuleStaysWhileADeviceLives) {
  lib_.reset();
  ComPtr<IQorDev> device;
  ASSERT_EQ(CoCreateInstance(CLSID_ResDev, nullptr, CLSCTX_INPROC_SERVER, IID_IQorDev,
                             device.receiveVoid()),
            S_OK);
  EXPECT_TRUE(device.query<IQorDev2>());
  EXPECT_EQ(callExport(module_, "DllCanUnloadNow"), S_FALSE);
  device.reset();
  EXPECT_EQ(callExport(module_, "DllCanUnloadNow"), S_OK);
}

} // namespace
