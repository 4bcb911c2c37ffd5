// The page models over the XML object model's elements: a resistor's
// component XML loaded as the control keeps it, edited as the pages edit
// it, and saved back as the sheet writes it to the control.
#include "passive-lib/uikit/win32/xml-page-section.h"

#include "passive-lib/core/component-templates.h"
#include "passive-lib/core/value-format.h"
#include "passive-lib/uikit/core/format-page-model.h"
#include "passive-lib/uikit/core/params-page-model.h"
#include "passive-lib/uikit/core/result-page-model.h"
#include "passive-lib/win32/xml-access.h"

#include "platform/base/win32/com-error.h"
#include "platform/xml/win32/xml-objects.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using base::ComPtr;

class XmlPageSectionTest : public testing::Test {
protected:
  void SetUp() override {
    CoInitialize(nullptr);
    ASSERT_EQ(xmlcom::createXmlDocument(IID_IPersistStreamInit, persist_.receiveVoid()), S_OK);
    const std::string text =
        passive::filledTemplate(passive::ComponentKind::Resistor, "1.0.0.1", "12/09/2026");
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.receive()), S_OK);
    ULONG written = 0;
    stream->Write(text.data(), static_cast<ULONG>(text.size()), &written);
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    ASSERT_EQ(persist_->Load(stream.get()), S_OK);
    ComPtr<IXMLDocument> document = persist_.query<IXMLDocument>();
    ASSERT_EQ(document->get_root(root_.receive()), S_OK);
  }
  void TearDown() override {
    root_.reset();
    persist_.reset();
    CoUninitialize();
  }

  // The document as the sheet writes it back to the control.
  std::string saved() {
    ComPtr<IStream> stream;
    EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.receive()), S_OK);
    EXPECT_EQ(persist_->Save(stream.get(), FALSE), S_OK);
    LARGE_INTEGER zero = {};
    ULARGE_INTEGER size = {};
    stream->Seek(zero, STREAM_SEEK_CUR, &size);
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
    ULONG read = 0;
    stream->Read(&text[0], static_cast<ULONG>(text.size()), &read);
    text.resize(read);
    return text;
  }
  ComPtr<IXMLElement> child(const char *tag) { return passive::childElement(root_.get(), tag); }

  ComPtr<IPersistStreamInit> persist_;
  ComPtr<IXMLElement> root_;
};

TEST_F(XmlPageSectionTest, SectionsHoldTheItemsAndTheirOrder) {
  uikit::XmlPageSection params(child("PARAMS"));
  uikit::XmlPageSection results(child("RESULT"));
  ASSERT_EQ(params.section().items.size(), 2u);
  ASSERT_EQ(results.section().items.size(), 3u);
  EXPECT_EQ(params.section().shown, (std::vector<int>{0, 1}));
  EXPECT_EQ(results.section().shown, (std::vector<int>{2}));
  EXPECT_EQ(params.section().items[1]->get("NAME"), "R");
  uikit::XmlPageSection none(nullptr);
  EXPECT_TRUE(none.section().items.empty());
}

TEST_F(XmlPageSectionTest, CheckingResultRowsTwoThenZeroWritesTheirOrder) {
  uikit::XmlPageSection results(child("RESULT"));
  passive::ResultPageModel page(results.section());
  page.checkChanged(2, false);
  page.checkChanged(2, true);
  page.checkChanged(0, true);
  EXPECT_NE(saved().find("<RESULT ORDER=\"2 0\""), std::string::npos) << saved();
}

TEST_F(XmlPageSectionTest, AFormatMoveWritesTheOrderAndLoadingWritesNothing) {
  ComPtr<IXMLElement> resultElement = child("RESULT");
  passive::setAttributeText(resultElement.get(), "ORDER", "0 1 2");
  uikit::XmlPageSection params(child("PARAMS"));
  uikit::XmlPageSection results(resultElement);
  passive::FormatPageModel page(params.section(), results.section(), "R1");
  const std::string before = saved();
  for (int row = 0; row < 3; ++row)
    ASSERT_TRUE(page.load(passive::FormatSide::Results, row));
  EXPECT_EQ(saved(), before);
  EXPECT_EQ(page.move(passive::FormatSide::Results, 1, 1), std::optional<int>(0));
  EXPECT_NE(saved().find("<RESULT ORDER=\"1 0 2\""), std::string::npos) << saved();
}

TEST_F(XmlPageSectionTest, AStepWritesTextAndRemovesIeee) {
  uikit::XmlPageSection params(child("PARAMS"));
  params.section().items[1]->setAttribute("IEEE", passive::ieeeText(1000));
  passive::ParamsPageModel page(params.section(), passive::ParamsFlavour::Passive);
  const std::optional<std::string> text = page.step(1, 0, 1);
  ASSERT_TRUE(text);
  EXPECT_EQ(passive::leadingNumber(*text), 1500.0);
  const std::string all = saved();
  const std::string xml = all.substr(0, all.find("</PARAMS>"));
  EXPECT_NE(xml.find("TEXT=\"" + *text + "\""), std::string::npos) << xml;
  EXPECT_EQ(xml.find("IEEE="), std::string::npos) << xml;
  EXPECT_NE(xml.find("ROUND=\"0\""), std::string::npos) << xml;
}

TEST_F(XmlPageSectionTest, RefusedAndCancelledEntriesLeaveTheDocumentAlone) {
  uikit::XmlPageSection params(child("PARAMS"));
  passive::ParamsPageModel page(params.section(), passive::ParamsFlavour::Passive);
  const std::string before = saved();
  EXPECT_EQ(page.endEdit(1, "1k").kind, passive::EntryOutcome::Refused);
  EXPECT_EQ(page.endEdit(0, "1R").kind, passive::EntryOutcome::Refused);
  EXPECT_EQ(page.endEdit(1, nullptr).kind, passive::EntryOutcome::Cancelled);
  EXPECT_EQ(saved(), before);
}

} // namespace
