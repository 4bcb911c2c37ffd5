// The XML model as the add-on reaches it: a document loaded from and saved
// to a memory stream through IPersistStreamInit, elements and collections
// through the IE4 interfaces, early and late bound.
#include "platform/xml/win32/xml-objects.h"
#include "testing/memory-streams.h"
#include "testing/test-files.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/base/win32/variant.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

using base::ComPtr;

using testing_support::memoryStream;
using testing_support::savedBytes;

ComPtr<IXMLElement> childNamed(IXMLElement *parent, const wchar_t *name, long n = 0) {
  ComPtr<IXMLElementCollection> children;
  EXPECT_EQ(parent->get_children(children.receive()), S_OK);
  VARIANT which, index;
  V_VT(&which) = VT_BSTR;
  V_BSTR(&which) = SysAllocString(name);
  V_VT(&index) = VT_I4;
  V_I4(&index) = n;
  ComPtr<IDispatch> found;
  children->item(which, index, found.receive());
  VariantClear(&which);
  return found.query<IXMLElement>();
}

std::string attribute(IXMLElement *element, const char *name) {
  base::Variant value;
  HRESULT hr = element->getAttribute(base::Bstr(name).get(), value.get());
  if (hr == S_FALSE)
    return V_VT(value.get()) == VT_NULL ? "(absent)" : "(bad)";
  return base::Bstr::toAnsiText(V_BSTR(value.get()));
}

class XmlCom : public testing::Test {
protected:
  void SetUp() override {
    CoInitialize(nullptr);
    golden_ = testing_support::readFile(
        testing_support::sourcePath("platform/xml/tests/golden/component.xml"));
    ASSERT_FALSE(golden_.empty());
    ASSERT_EQ(xmlcom::createXmlDocument(IID_IPersistStreamInit, persist_.receiveVoid()), S_OK);
    ASSERT_EQ(persist_->Load(memoryStream(golden_).get()), S_OK);
    document_ = persist_.query<IXMLDocument>();
    ASSERT_TRUE(document_);
    ASSERT_EQ(document_->get_root(root_.receive()), S_OK);
  }
  void TearDown() override {
    root_.reset();
    document_.reset();
    persist_.reset();
    CoUninitialize();
  }
  std::string golden_;
  ComPtr<IPersistStreamInit> persist_;
  ComPtr<IXMLDocument> document_;
  ComPtr<IXMLElement> root_;
};

TEST_F(XmlCom, LoadedDocumentSavesBackByteIdentical) {
  EXPECT_EQ(persist_->IsDirty(), S_FALSE);
  EXPECT_EQ(savedBytes(persist_.get(), FALSE), golden_);
}

TEST_F(XmlCom, ElementsAndAttributesThroughTheInterfaces) {
  BSTR tag = nullptr;
  ASSERT_EQ(root_->get_tagName(&tag), S_OK);
  EXPECT_EQ(base::Bstr::adopt(tag).toAnsi(), "DEVICE");
  EXPECT_EQ(attribute(root_.get(), "DEVPROGID"), "QOR.CapDev");

  ComPtr<IXMLElement> params = childNamed(root_.get(), L"PARAMS");
  ASSERT_TRUE(params);
  ComPtr<IXMLElementCollection> items;
  ASSERT_EQ(params->get_children(items.receive()), S_OK);
  LONG length = 0;
  ASSERT_EQ(items->get_length(&length), S_OK);
  EXPECT_EQ(length, 2);
  ComPtr<IXMLElement> capacitance = childNamed(params.get(), L"ITEM", 1);
  ASSERT_TRUE(capacitance);
  EXPECT_EQ(attribute(capacitance.get(), "TIP"), "Capacitance & tolerance <5%>");
  EXPECT_EQ(attribute(capacitance.get(), "TEXT"), "(absent)");
  EXPECT_FALSE(childNamed(root_.get(), L"NOSUCH"));

  ComPtr<IXMLElement> parent;
  ASSERT_EQ(capacitance->get_parent(parent.receive()), S_OK);
  BSTR parentTag = nullptr;
  parent->get_tagName(&parentTag);
  EXPECT_EQ(base::Bstr::adopt(parentTag).toAnsi(), "PARAMS");

  VARIANT value;
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = SysAllocString(L"4.7E-9");
  ASSERT_EQ(capacitance->setAttribute(base::Bstr("TEXT").get(), value), S_OK);
  VariantClear(&value);
  EXPECT_EQ(capacitance->removeAttribute(base::Bstr("SHOWDIM").get()), S_OK);
  EXPECT_EQ(capacitance->removeAttribute(base::Bstr("SHOWDIM").get()), S_FALSE);
  EXPECT_EQ(persist_->IsDirty(), S_OK);

  std::string expected = golden_;
  std::string before = "RANGE=\"POS\" SHOWDIM=\"\" FORMAT=\"2\" DIGITS=\"3\"/>";
  std::string after = "RANGE=\"POS\" FORMAT=\"2\" DIGITS=\"3\" TEXT=\"4.7E-9\"/>";
  ASSERT_NE(expected.find(before), std::string::npos);
  expected.replace(expected.find(before), before.size(), after);
  EXPECT_EQ(savedBytes(persist_.get(), TRUE), expected);
  EXPECT_EQ(persist_->IsDirty(), S_FALSE);
}

TEST_F(XmlCom, MalformedTextFailsClearlyAndKeepsTheDocument) {
  EXPECT_EQ(persist_->Load(memoryStream("<DEVICE NAME=\"x\">\n<PARAMS></DEVICE>").get()), E_FAIL);
  ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, info.receive()), S_OK);
  BSTR description = nullptr;
  ASSERT_EQ(info->GetDescription(&description), S_OK);
  EXPECT_EQ(base::Bstr::adopt(description).toAnsi(),
            "line 2, column 11: expected the end tag </PARAMS>, found </DEVICE>");
  EXPECT_EQ(savedBytes(persist_.get(), FALSE), golden_);
}

TEST_F(XmlCom, RepeatedAttributesLoadAndSaveBackUnchanged) {
  const std::string text = "<MODEL TYPE=\"2N3904\" RB=\"0.75\" RB=\"7.5\"/>";
  ASSERT_EQ(persist_->Load(memoryStream(text).get()), S_OK);
  ComPtr<IXMLElement> root;
  ASSERT_EQ(document_->get_root(root.receive()), S_OK);
  EXPECT_EQ(attribute(root.get(), "RB"), "0.75");
  EXPECT_EQ(savedBytes(persist_.get(), FALSE), text);
}

TEST_F(XmlCom, ElementsOutliveALaterLoadAndTheDocument) {
  ComPtr<IXMLElement> result = childNamed(root_.get(), L"RESULT");
  ASSERT_TRUE(result);
  ASSERT_EQ(persist_->Load(memoryStream("<OTHER/>").get()), S_OK);
  root_.reset();
  document_.reset();
  persist_.reset();
  EXPECT_EQ(attribute(result.get(), "LAYER"), "Simulation");
}

TEST_F(XmlCom, LateBoundCallsUseTheModelsTypeLibrary) {
  ComPtr<IDispatch> dispatch = root_.query<IDispatch>();
  LPOLESTR name = const_cast<LPOLESTR>(L"getAttribute");
  DISPID id = 0;
  ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  VARIANT arg;
  V_VT(&arg) = VT_BSTR;
  V_BSTR(&arg) = SysAllocString(L"NAME");
  DISPPARAMS params = {&arg, nullptr, 1, 0};
  base::Variant result;
  ASSERT_EQ(dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                             result.get(), nullptr, nullptr),
            S_OK);
  VariantClear(&arg);
  ASSERT_EQ(result.type(), VT_BSTR);
  EXPECT_EQ(base::Bstr::toAnsiText(V_BSTR(result.get())), "Capacitor");

  // Each interface of the model is found in the library by its identifier.
  ComPtr<IXMLElementCollection> children;
  ASSERT_EQ(root_->get_children(children.receive()), S_OK);
  for (IDispatch *object :
       {static_cast<IDispatch *>(document_.get()), static_cast<IDispatch *>(root_.get()),
        static_cast<IDispatch *>(children.get())}) {
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.receive()), S_OK);
  }
}

} // namespace
