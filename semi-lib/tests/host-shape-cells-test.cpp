// The error marks and the result text block on the stand-in drawing host,
// through its automation interfaces: marks add up and an unknown mark
// changes nothing; the first layout writes the cells, the text and the
// layer, the second writes nothing at all.
#include "semi-lib/win32/host-shape-cells.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/variant.h"
#include "platform/drawing-host/win32/stand-in-host.h"
#include "semi-lib/core/device-host.h"

#include <gtest/gtest.h>

namespace {

using base::ComPtr;

class HostShapeCells : public testing::Test {
protected:
  void SetUp() override {
    CoInitialize(nullptr);
    page_ = host_.addDocument("C:\\Drawings\\", "Stage.vsd")->addPage("Page-1");
    component_ = page_->addShape(2, "Sheet.7");
    component_->addMember(3, "BODY");
    for (const char *pin : {"C", "B", "E"})
      component_->addConnectionPoint(pin);
    for (const char *cell : {"User.Error", "Connections.C.A", "Connections.B.A", "Connections.E.A"})
      component_->cell(cell, true)->setQuietly("FALSE");
  }
  void TearDown() override { CoUninitialize(); }

  std::string formula(const char *cell) { return component_->cell(cell, false)->formula(); }

  drawhost::StandInHost host_;
  drawhost::Page *page_ = nullptr;
  drawhost::Shape *component_ = nullptr;
};

TEST_F(HostShapeCells, ErrorMarksAddUpAndAnUnknownMarkChangesNoCell) {
  semi::HostMarkCells cells(component_);
  ASSERT_TRUE(semi::putErrorMark(semi::SemiKind::Npn, "", cells));
  ASSERT_TRUE(semi::putErrorMark(semi::SemiKind::Npn, "B", cells));
  ASSERT_TRUE(semi::putErrorMark(semi::SemiKind::Npn, "*", cells));
  EXPECT_EQ(semi::getErrorMark(semi::SemiKind::Npn, cells), "*,B");
  EXPECT_EQ(formula("User.Error"), "TRUE");
  EXPECT_EQ(formula("Connections.B.A"), "TRUE");
  EXPECT_EQ(formula("Connections.C.A"), "FALSE");

  host_.clearRecord();
  EXPECT_FALSE(semi::putErrorMark(semi::SemiKind::Npn, "X", cells));
  EXPECT_TRUE(host_.record().empty());
  EXPECT_EQ(semi::getErrorMark(semi::SemiKind::Npn, cells), "*,B");
}

TEST_F(HostShapeCells, MissingMarkCellIsAHostFailure) {
  drawhost::Shape *bare = page_->addShape(2, "Sheet.8");
  semi::HostMarkCells cells(bare);
  EXPECT_THROW(semi::getErrorMark(semi::SemiKind::Diode, cells), semi::HostError);
}

TEST_F(HostShapeCells, FirstLayoutWritesCellsTextAndLayerTheSecondNothing) {
  semi::HostLayoutTarget target(component_);
  host_.clearRecord();
  semi::LayoutWrites first = semi::layoutShow(target, "Sheet.7", "Ic = 1.00 mA", "Simulation");
  EXPECT_TRUE(first.cells && first.text && first.layer);
  EXPECT_FALSE(host_.record().empty());

  ComPtr<IDrawShapes> members;
  ASSERT_EQ(component_->get_Shapes(members.receive()), S_OK);
  base::Variant name;
  V_VT(name.get()) = VT_BSTR;
  V_BSTR(name.get()) = base::Bstr("SHOW").detach();
  ComPtr<IDrawShape> show;
  ASSERT_EQ(members->get_Item(*name.get(), show.receive()), S_OK);
  BSTR text = nullptr;
  ASSERT_EQ(show->get_Text(&text), S_OK);
  EXPECT_EQ(base::Bstr::adopt(text).toAnsi(), "Ic = 1.00 mA");
  for (const semi::CellFormula &cell : semi::showCellFormulas("Sheet.7")) {
    ComPtr<IDrawCell> written;
    ASSERT_EQ(show->get_CellsSRC(cell.section, cell.row, cell.cell, written.receive()), S_OK);
    BSTR value = nullptr;
    ASSERT_EQ(written->get_Formula(&value), S_OK);
    EXPECT_EQ(base::Bstr::adopt(value).toAnsi(), cell.formula);
  }
  ComPtr<IDrawLayers> layers;
  ASSERT_EQ(page_->get_Layers(layers.receive()), S_OK);
  base::Variant layerName;
  V_VT(layerName.get()) = VT_BSTR;
  V_BSTR(layerName.get()) = base::Bstr("Simulation").detach();
  ComPtr<IDrawLayer> layer;
  ASSERT_EQ(layers->get_Item(*layerName.get(), layer.receive()), S_OK);
  short index = 0;
  ASSERT_EQ(layer->get_Index(&index), S_OK);
  EXPECT_EQ(target.formula(semi::LayerMemberCell), "\"" + std::to_string(index) + "\"");

  host_.clearRecord();
  semi::LayoutWrites second = semi::layoutShow(target, "Sheet.7", "Ic = 1.00 mA", "Simulation");
  EXPECT_FALSE(second.cells || second.text || second.layer);
  EXPECT_TRUE(host_.record().empty()) << host_.record().front();

  // A fresh target finds the same "SHOW" again rather than drawing another.
  semi::HostLayoutTarget again(component_);
  semi::layoutShow(again, "Sheet.7", "Ic = 2.00 mA", "Simulation");
  short count = 0;
  ASSERT_EQ(members->get_Count(&count), S_OK);
  EXPECT_EQ(count, 2);
}

} // namespace
