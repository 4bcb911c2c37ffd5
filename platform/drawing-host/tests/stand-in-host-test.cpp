// The stand-in drawing host as the add-on sees it: through the interfaces
// of drawing-host.idl. Connections in both views, guarded, forced and batch
// cell writes, deterministic identifiers, events delivered late-bound to
// VisEventProc with their source, identifier and argument text, and the
// record of calls compared with the expected sequence.
#include "platform/drawing-host/win32/stand-in-host.h"
#include "platform/drawing-host/win32/client-site.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/safe-array.h"
#include "platform/base/win32/variant.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using base::ComPtr;
using drawhost::Cell;
using drawhost::Document;
using drawhost::Page;
using drawhost::Shape;

// What a sink saw of one event.
struct Seen {
  short event;
  ComPtr<IUnknown> source;
  long id, seq;
  VARTYPE subjectType;
  ComPtr<IUnknown> subject;
};

// A late-bound event sink: answers VisEventProc by name, as an add-on
// object does through its type library, and records every call.
class RecordingSink : public IDispatch {
public:
  std::vector<Seen> seen;
  ULONG refs = 1;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override {
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch))
      return E_NOINTERFACE;
    *out = static_cast<IDispatch *>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID,
                                          DISPID *ids) override {
    if (count != 1 || wcscmp(names[0], L"VisEventProc") != 0)
      return DISP_E_UNKNOWNNAME;
    ids[0] = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *params,
                                   VARIANT *, EXCEPINFO *, UINT *) override {
    EXPECT_EQ(id, 1);
    EXPECT_EQ(flags, DISPATCH_METHOD);
    if (params->cArgs != 6)
      return DISP_E_BADPARAMCOUNT;
    VARIANT *a = params->rgvarg; // last argument first
    EXPECT_EQ(V_VT(&a[5]), VT_I2);
    EXPECT_EQ(V_VT(&a[4]), VT_UNKNOWN);
    EXPECT_EQ(V_VT(&a[3]), VT_I4);
    EXPECT_EQ(V_VT(&a[2]), VT_I4);
    Seen s{V_I2(&a[5]), ComPtr<IUnknown>(V_UNKNOWN(&a[4])), V_I4(&a[3]), V_I4(&a[2]), V_VT(&a[1]),
           nullptr};
    if (V_VT(&a[1]) == VT_UNKNOWN || V_VT(&a[1]) == VT_DISPATCH)
      s.subject = ComPtr<IUnknown>(V_UNKNOWN(&a[1]));
    seen.push_back(s);
    return S_OK;
  }
};

class StandIn : public testing::Test {
protected:
  void SetUp() override {
    CoInitialize(nullptr);
    document_ = host_.addDocument("C:\\Drawings\\", "Circuit.vsd");
    page_ = document_->addPage("Page-1");
  }
  void TearDown() override { CoUninitialize(); }

  // A two-pin component: a group with connection points A and B.
  Shape *addComponent(Page *page, const std::string &name) {
    Shape *shape = page->addShape(2, name);
    shape->addConnectionPoint("A");
    shape->addConnectionPoint("B");
    shape->cell("User.QOR", true)->setQuietly("1");
    return shape;
  }
  Shape *addConnector(Page *page, const std::string &name) {
    Shape *shape = page->addShape(3, name);
    shape->setOneD(true);
    return shape;
  }
  ComPtr<IDrawEvent> subscribe(IDrawEventList *list, short code, const char *args) {
    ComPtr<IDrawEvent> event;
    EXPECT_EQ(list->AddAdvise(code, &sink_, base::Bstr(args).get(), event.receive()), S_OK);
    return event;
  }
  static ComPtr<IDrawEventList> eventsOf(IDrawPage *page) {
    ComPtr<IDrawEventList> list;
    EXPECT_EQ(page->get_EventList(list.receive()), S_OK);
    return list;
  }

  drawhost::StandInHost host_;
  Document *document_ = nullptr;
  Page *page_ = nullptr;
  RecordingSink sink_;
};

// Takes the text a call left in *text (read after the call has run).
std::string textOf(HRESULT hr, BSTR *text) {
  base::Bstr owned = base::Bstr::adopt(*text);
  *text = nullptr;
  return SUCCEEDED(hr) ? owned.toAnsi() : "failed";
}

TEST_F(StandIn, GlueGivesBothConnectionViews) {
  Shape *r1 = addComponent(page_, "R1");
  Shape *r2 = addComponent(page_, "R2");
  Shape *wire = addConnector(page_, "Wire");
  page_->glue(wire, 9, r1, 0);
  page_->glue(wire, 12, r2, 1);

  ComPtr<IDrawConnects> own;
  ASSERT_EQ(wire->get_Connects(own.receive()), S_OK);
  short count = 0;
  ASSERT_EQ(own->get_Count(&count), S_OK);
  ASSERT_EQ(count, 2);
  struct {
    short fromPart;
    Shape *to;
    short toPart;
  } expected[] = {{9, r1, 100}, {12, r2, 101}};
  for (short i = 1; i <= count; ++i) {
    ComPtr<IDrawConnect> connect;
    ASSERT_EQ(own->get_Item(i, connect.receive()), S_OK);
    ComPtr<IDrawShape> from, to;
    short fromPart = 0, toPart = 0;
    ASSERT_EQ(connect->get_FromSheet(from.receive()), S_OK);
    ASSERT_EQ(connect->get_ToSheet(to.receive()), S_OK);
    connect->get_FromPart(&fromPart);
    connect->get_ToPart(&toPart);
    EXPECT_EQ(from.get(), static_cast<IDrawShape *>(wire));
    EXPECT_EQ(to.get(), static_cast<IDrawShape *>(expected[i - 1].to));
    EXPECT_EQ(fromPart, expected[i - 1].fromPart);
    EXPECT_EQ(toPart, expected[i - 1].toPart);
  }

  // The component's view: the connector glued to it, at its pin's row.
  ComPtr<IDrawConnects> glued;
  ASSERT_EQ(r2->get_FromConnects(glued.receive()), S_OK);
  ASSERT_EQ(glued->get_Count(&count), S_OK);
  ASSERT_EQ(count, 1);
  ComPtr<IDrawConnect> connect;
  ASSERT_EQ(glued->get_Item(1, connect.receive()), S_OK);
  ComPtr<IDrawShape> from;
  short toPart = 0;
  ASSERT_EQ(connect->get_FromSheet(from.receive()), S_OK);
  connect->get_ToPart(&toPart);
  EXPECT_EQ(from.get(), static_cast<IDrawShape *>(wire));
  ComPtr<IDrawCell> pin;
  ASSERT_EQ(r2->get_CellsSRC(7, static_cast<short>(toPart - 100), 1, pin.receive()), S_OK);
  BSTR row = nullptr;
  EXPECT_EQ(textOf(pin->get_RowName(&row), &row), "B");
  short oneD = 0;
  ASSERT_EQ(wire->get_OneD(&oneD), S_OK);
  EXPECT_EQ(oneD, -1);
  ASSERT_EQ(r2->get_OneD(&oneD), S_OK);
  EXPECT_EQ(oneD, 0);
  // Nothing is glued to the connector itself.
  ASSERT_EQ(wire->get_FromConnects(glued.receive()), S_OK);
  ASSERT_EQ(glued->get_Count(&count), S_OK);
  EXPECT_EQ(count, 0);
}

TEST_F(StandIn, GuardedForcedAndBatchWrites) {
  Shape *shape = page_->addShape(3, "Show");
  ComPtr<IDrawCell> pattern;
  ASSERT_EQ(shape->get_CellsSRC(1, 2, 2, pattern.receive()), S_OK);
  ASSERT_EQ(pattern->put_Formula(base::Bstr("GUARD(0)").get()), S_OK);
  EXPECT_EQ(pattern->put_Formula(base::Bstr("1").get()), drawhost::DrawHostCellGuarded);
  BSTR text = nullptr;
  EXPECT_EQ(textOf(pattern->get_Formula(&text), &text), "GUARD(0)");
  ASSERT_EQ(pattern->put_FormulaForce(base::Bstr("USE(\"Error Line Pattern\")").get()), S_OK);
  EXPECT_EQ(textOf(pattern->get_Formula(&text), &text), "USE(\"Error Line Pattern\")");
  ASSERT_EQ(pattern->put_Formula(base::Bstr("GUARD(0)").get()), S_OK);

  // (1,2,2) is guarded now: a batch without flag 2 writes nothing at all.
  const short srcs[] = {1, 1, 0, 1, 2, 2, 1, 1, 2};
  const char *formulas[] = {"BODY!PinX", "GUARD(1)", ".24 pt."};
  base::SafeArray srcArray(SafeArrayCreateVector(VT_I2, 0, 9));
  base::SafeArray formulaArray(SafeArrayCreateVector(VT_VARIANT, 0, 3));
  {
    base::SafeArrayAccess<short> s(srcArray.get());
    std::copy(srcs, srcs + 9, s.data());
    base::SafeArrayAccess<VARIANT> f(formulaArray.get());
    for (int i = 0; i < 3; ++i) {
      V_VT(&f.data()[i]) = VT_BSTR;
      V_BSTR(&f.data()[i]) = base::Bstr(formulas[i]).detach();
    }
  }
  SAFEARRAY *srcPointer = srcArray.get();
  SAFEARRAY *formulaPointer = formulaArray.get();
  EXPECT_EQ(shape->SetFormulas(&srcPointer, &formulaPointer, 0), drawhost::DrawHostCellGuarded);
  EXPECT_EQ(shape->cell("PinX", true)->formula(), "");
  EXPECT_EQ(shape->SetFormulas(&srcPointer, &formulaPointer, 2), S_OK);

  base::SafeArray readBack;
  ASSERT_EQ(shape->GetFormulas(&srcPointer, readBack.receive()), S_OK);
  base::SafeArrayAccess<VARIANT> got(readBack.get());
  ASSERT_EQ(got.size(), 3u);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(base::Bstr::toAnsiText(V_BSTR(&got.data()[i])), formulas[i]);

  struct {
    const char *formula;
    HRESULT hr;
    double inches;
  } results[] = {{"0.12 pt.", S_OK, 0.12 / 72},
                 {"GUARD(2.54 cm)", S_OK, 1.0},
                 {"FALSE", S_OK, 0},
                 {"BODY!PinX", drawhost::DrawHostNoResult, 0}};
  Cell *weight = shape->cell("LineWeight", true);
  for (const auto &r : results) {
    weight->setQuietly(r.formula);
    double value = -1;
    EXPECT_EQ(weight->get_ResultIU(&value), r.hr) << r.formula;
    EXPECT_DOUBLE_EQ(value, r.inches) << r.formula;
  }
}

TEST_F(StandIn, UniqueIdentifiersAreDeterministic) {
  Shape *a = page_->addShape(3, "A");
  Shape *b = page_->addShape(3, "B");
  BSTR id = nullptr;
  EXPECT_EQ(textOf(a->get_UniqueID(0, &id), &id), "");
  EXPECT_EQ(textOf(a->get_UniqueID(1, &id), &id), "{00000000-0000-0000-0000-000000000001}");
  EXPECT_EQ(textOf(a->get_UniqueID(0, &id), &id), "{00000000-0000-0000-0000-000000000001}");
  EXPECT_EQ(textOf(b->get_UniqueID(1, &id), &id), "{00000000-0000-0000-0000-000000000002}");
  EXPECT_EQ(a->get_UniqueID(2, &id), E_INVALIDARG);
}

TEST_F(StandIn, SinkReceivesEachEventWithItsSourceIdAndArguments) {
  Shape *r1 = addComponent(page_, "R1");
  Shape *wire = addConnector(page_, "Wire");
  ComPtr<IDrawEventList> pageEvents = eventsOf(page_);
  ComPtr<IDrawEventList> documentEvents, shapeEvents;
  ASSERT_EQ(document_->get_EventList(documentEvents.receive()), S_OK);
  ASSERT_EQ(r1->get_EventList(shapeEvents.receive()), S_OK);

  ComPtr<IDrawEvent> added = subscribe(pageEvents.get(), 901, "");
  ComPtr<IDrawEvent> connections = subscribe(pageEvents.get(), static_cast<short>(0xE100), "");
  ComPtr<IDrawEvent> idle = subscribe(pageEvents.get(), 0x1400, "");
  ComPtr<IDrawEvent> pageGone = subscribe(pageEvents.get(), 0x4010, "{page key}");
  ComPtr<IDrawEvent> documentGone = subscribe(documentEvents.get(), 0x4002, "{page key}");
  ComPtr<IDrawEvent> cellChanged = subscribe(shapeEvents.get(), 0x2800, "");
  LONG ids[6];
  IDrawEvent *all[] = {added.get(),    connections.get(),  idle.get(),
                       pageGone.get(), documentGone.get(), cellChanged.get()};
  for (int i = 0; i < 6; ++i)
    ASSERT_EQ(all[i]->get_ID(&ids[i]), S_OK);

  ComPtr<IDrawMaster> errorLine(host_.openStencil()->findMaster("Error Line Pattern"));
  ComPtr<IDrawShape> dropped;
  ASSERT_EQ(page_->Drop(errorLine.get(), 1, 2, dropped.receive()), S_OK);
  page_->glue(wire, 9, r1, 0);
  ComPtr<IDrawCell> pinX;
  ASSERT_EQ(r1->get_Cells(base::Bstr("PinX").get(), pinX.receive()), S_OK);
  ASSERT_EQ(pinX->put_Formula(base::Bstr("2 in.").get()), S_OK);
  EXPECT_TRUE(sink_.seen.size() == 3) << "idle fires only when asked";
  host_.fireIdle();

  ASSERT_EQ(sink_.seen.size(), 4u);
  IUnknown *pageSource = static_cast<IDrawPage *>(page_);
  struct {
    short event;
    IUnknown *source;
    LONG id;
    VARTYPE subjectType;
  } expected[] = {{901, pageSource, ids[0], VT_DISPATCH},
                  {static_cast<short>(0xE100), pageSource, ids[1], VT_DISPATCH},
                  {0x2800, pinX.get(), ids[5], VT_UNKNOWN},
                  {0x1400, pageSource, ids[2], VT_EMPTY}};
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(sink_.seen[i].event, expected[i].event);
    EXPECT_TRUE(base::sameObject(sink_.seen[i].source.get(), expected[i].source));
    EXPECT_EQ(sink_.seen[i].id, expected[i].id);
    EXPECT_EQ(sink_.seen[i].subjectType, expected[i].subjectType);
    if (i > 0) {
      EXPECT_GT(sink_.seen[i].seq, sink_.seen[i - 1].seq);
    }
  }
  // The shapes-added subject lies on the page and holds the new shape.
  ComPtr<IDrawSelection> selection = sink_.seen[0].subject.query<IDrawSelection>();
  ASSERT_TRUE(selection);
  ComPtr<IDrawPage> onPage;
  ASSERT_EQ(selection->get_ContainingPage(onPage.receive()), S_OK);
  EXPECT_EQ(onPage.get(), static_cast<IDrawPage *>(page_));
  ComPtr<IDrawShape> first;
  ASSERT_EQ(selection->get_Item(1, first.receive()), S_OK);
  EXPECT_EQ(first.get(), dropped.get());

  // The sink finds its argument text through the subscription's ID.
  ComPtr<IDrawEvent> found;
  ASSERT_EQ(pageEvents->get_ItemFromID(ids[3], found.receive()), S_OK);
  BSTR args = nullptr;
  EXPECT_EQ(textOf(found->get_TargetArgs(&args), &args), "{page key}");

  sink_.seen.clear();
  host_.deletePage(page_);
  ASSERT_EQ(sink_.seen.size(), 1u);
  EXPECT_EQ(sink_.seen[0].event, 0x4010);
  EXPECT_EQ(sink_.seen[0].id, ids[3]);
  EXPECT_TRUE(base::sameObject(sink_.seen[0].source.get(), pageSource));

  // A deleted page delivers nothing more, and its objects say so.
  sink_.seen.clear();
  host_.fireIdle();
  EXPECT_EQ(pinX->put_Formula(base::Bstr("3 in.").get()), drawhost::DrawHostObjectDeleted);
  EXPECT_TRUE(sink_.seen.empty());
  BSTR name = nullptr;
  EXPECT_EQ(page_->get_Name(&name), drawhost::DrawHostObjectDeleted);

  host_.deleteDocument(document_);
  ASSERT_EQ(sink_.seen.size(), 1u);
  EXPECT_EQ(sink_.seen[0].event, 0x4002);
  EXPECT_EQ(sink_.seen[0].id, ids[4]);
}

TEST_F(StandIn, DeletedSubscriptionStopsItsEvents) {
  ComPtr<IDrawEventList> pageEvents = eventsOf(page_);
  ComPtr<IDrawEvent> idle = subscribe(pageEvents.get(), 0x1400, "");
  ComPtr<IDrawEvent> other = subscribe(pageEvents.get(), 0x1400, "second");
  host_.fireIdle();
  EXPECT_EQ(sink_.seen.size(), 2u);
  ASSERT_EQ(idle->Delete(), S_OK);
  EXPECT_EQ(idle->Delete(), drawhost::DrawHostObjectDeleted);
  sink_.seen.clear();
  host_.fireIdle();
  ASSERT_EQ(sink_.seen.size(), 1u);
  LONG otherId = 0;
  other->get_ID(&otherId);
  EXPECT_EQ(sink_.seen[0].id, otherId);
  LONG count = 0;
  ASSERT_EQ(pageEvents->get_Count(&count), S_OK);
  EXPECT_EQ(count, 1);
}

TEST_F(StandIn, RecordsTheCallSequence) {
  Shape *r1 = addComponent(page_, "R1");
  ComPtr<IDrawEventList> pageEvents = eventsOf(page_);
  host_.clearRecord();
  ComPtr<IDrawEvent> idle = subscribe(pageEvents.get(), 0x1400, "x");
  ComPtr<IDrawCell> error;
  ASSERT_EQ(r1->get_CellsSRC(1, 2, 2, error.receive()), S_OK);
  ASSERT_EQ(error->put_Formula(base::Bstr("1").get()), S_OK);
  host_.fireIdle();
  ASSERT_EQ(idle->Delete(), S_OK);
  LONG id = 0;
  idle->get_ID(&id);
  const std::vector<std::string> expected = {
      "AddAdvise page Page-1 0x1400 id " + std::to_string(id) + " \"x\"",
      "Formula R1!LinePattern = 1",
      "event 0x1400 page Page-1 id " + std::to_string(id),
      "Delete page Page-1 id " + std::to_string(id),
  };
  EXPECT_EQ(host_.record(), expected);
}

TEST_F(StandIn, ObjectsAnswerLateBoundCallsFromTheHostLibrary) {
  ComPtr<IDispatch> page(static_cast<IDrawPage *>(page_));
  LPOLESTR name = const_cast<LPOLESTR>(L"Name");
  DISPID id = 0;
  ASSERT_EQ(page->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  base::Variant result;
  ASSERT_EQ(page->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                         result.get(), nullptr, nullptr),
            S_OK);
  ASSERT_EQ(result.type(), VT_BSTR);
  EXPECT_EQ(base::Bstr::toAnsiText(V_BSTR(result.get())), "Page-1");
}

std::vector<std::string> captionsOf(IDrawMenu *menu) {
  ComPtr<IDrawMenuItems> items;
  EXPECT_EQ(menu->get_MenuItems(items.receive()), S_OK);
  LONG count = 0;
  items->get_Count(&count);
  std::vector<std::string> captions;
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IDrawMenuItem> item;
    items->get_Item(i, item.receive());
    BSTR caption = nullptr;
    captions.push_back(textOf(item->get_Caption(&caption), &caption));
  }
  return captions;
}

ComPtr<IDrawMenu> menuOf(IDrawUIObject *ui, const char *caption) {
  ComPtr<IDrawMenuSets> sets;
  ComPtr<IDrawMenuSet> set;
  ComPtr<IDrawMenus> menus;
  EXPECT_EQ(ui->get_MenuSets(sets.receive()), S_OK);
  EXPECT_EQ(sets->get_ItemAtID(2, set.receive()), S_OK);
  EXPECT_EQ(set->get_Menus(menus.receive()), S_OK);
  LONG count = 0;
  menus->get_Count(&count);
  for (LONG i = count - 1; i >= 0; --i) {
    ComPtr<IDrawMenu> menu;
    menus->get_Item(i, menu.receive());
    BSTR text = nullptr;
    if (textOf(menu->get_Caption(&text), &text) == caption)
      return menu;
  }
  return nullptr;
}

TEST_F(StandIn, BuiltInMenusAreAFreshCopyInstalledPerDocument) {
  ComPtr<IDrawUIObject> ui;
  ASSERT_EQ(host_.application()->get_BuiltInMenus(ui.receive()), S_OK);
  ComPtr<IDrawMenu> help = menuOf(ui.get(), "&Help");
  ASSERT_TRUE(help);
  EXPECT_EQ(captionsOf(help.get()), (std::vector<std::string>{"&Contents", "", "&About"}));
  ComPtr<IDrawMenuItems> items;
  ASSERT_EQ(help->get_MenuItems(items.receive()), S_OK);
  ComPtr<IDrawMenuItem> added;
  ASSERT_EQ(items->AddAt(1, added.receive()), S_OK);
  ASSERT_EQ(added->put_Caption(base::Bstr("Net&weave Help").get()), S_OK);
  ASSERT_EQ(added->put_AddOnName(base::Bstr("macro text").get()), S_OK);
  LONG index = -1;
  ASSERT_EQ(added->get_Index(&index), S_OK);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(items->AddAt(9, added.receive()), E_INVALIDARG);

  ComPtr<IDrawMenu> file = menuOf(ui.get(), "&File");
  ASSERT_TRUE(file);
  ComPtr<IDrawMenuItems> fileItems;
  ASSERT_EQ(file->get_MenuItems(fileItems.receive()), S_OK);
  ComPtr<IDrawMenuItem> separator;
  ASSERT_EQ(fileItems->get_Item(3, separator.receive()), S_OK);
  VARIANT_BOOL flag = VARIANT_FALSE;
  ASSERT_EQ(separator->get_IsSeparator(&flag), S_OK);
  EXPECT_EQ(flag, VARIANT_TRUE);

  ASSERT_EQ(document_->putref_CustomMenus(ui.get()), S_OK);
  ASSERT_NE(document_->customMenus(), nullptr);
  EXPECT_EQ(captionsOf(menuOf(document_->customMenus(), "&Help").get()),
            (std::vector<std::string>{"&Contents", "Net&weave Help", "", "&About"}));
  // Every request starts again from the host's own menus.
  ComPtr<IDrawUIObject> again;
  ASSERT_EQ(host_.application()->get_BuiltInMenus(again.receive()), S_OK);
  EXPECT_EQ(captionsOf(menuOf(again.get(), "&Help").get()).size(), 3u);
}

TEST_F(StandIn, LayersByNameWithTheirCells) {
  ComPtr<IDrawLayers> layers;
  ASSERT_EQ(page_->get_Layers(layers.receive()), S_OK);
  short count = -1;
  ASSERT_EQ(layers->get_Count(&count), S_OK);
  EXPECT_EQ(count, 0);
  ComPtr<IDrawLayer> layer;
  ASSERT_EQ(layers->Add(base::Bstr("Simulation").get(), layer.receive()), S_OK);
  ComPtr<IDrawCell> colour;
  ASSERT_EQ(layer->get_CellsC(2, colour.receive()), S_OK);
  ASSERT_EQ(colour->put_Formula(base::Bstr("4").get()), S_OK);

  VARIANT name;
  V_VT(&name) = VT_BSTR;
  V_BSTR(&name) = SysAllocString(L"Simulation");
  ComPtr<IDrawLayer> found;
  ASSERT_EQ(layers->get_Item(name, found.receive()), S_OK);
  VariantClear(&name);
  short index = 0;
  ASSERT_EQ(found->get_Index(&index), S_OK);
  EXPECT_EQ(index, 1);
  ComPtr<IDrawCell> sameColour;
  ASSERT_EQ(found->get_CellsC(2, sameColour.receive()), S_OK);
  BSTR formula = nullptr;
  EXPECT_EQ(textOf(sameColour->get_Formula(&formula), &formula), "4");
  V_VT(&name) = VT_BSTR;
  V_BSTR(&name) = SysAllocString(L"Other");
  EXPECT_EQ(layers->get_Item(name, found.receive()), drawhost::DrawHostNoSuchItem);
  VariantClear(&name);
}

TEST_F(StandIn, ActiveWindowGivesItsPageAndSelection) {
  ComPtr<IDrawWindow> window;
  EXPECT_EQ(host_.application()->get_ActiveWindow(window.receive()), S_FALSE);
  Shape *r1 = addComponent(page_, "R1");
  host_.setActiveWindow(page_, {r1});
  ASSERT_EQ(host_.application()->get_ActiveWindow(window.receive()), S_OK);
  ComPtr<IDrawSelection> selection;
  ASSERT_EQ(window->get_Selection(selection.receive()), S_OK);
  LONG count = 0;
  ASSERT_EQ(selection->get_Count(&count), S_OK);
  ASSERT_EQ(count, 1);
  ComPtr<IDrawShape> shape;
  ASSERT_EQ(selection->get_Item(1, shape.receive()), S_OK);
  EXPECT_EQ(shape.get(), static_cast<IDrawShape *>(r1));
  ComPtr<IDrawPage> page;
  ASSERT_EQ(window->get_Page(page.receive()), S_OK);
  EXPECT_EQ(page.get(), static_cast<IDrawPage *>(page_));

  // Selecting adds a shape of the page once; other actions are refused.
  Shape *r2 = addComponent(page_, "R2");
  EXPECT_EQ(window->Select(r2, 2), S_OK);
  EXPECT_EQ(window->Select(r1, 2), S_OK);
  EXPECT_EQ(window->Select(r2, 1), E_INVALIDARG);
  EXPECT_EQ(window->Select(nullptr, 2), E_INVALIDARG);
  ASSERT_EQ(window->get_Selection(selection.receive()), S_OK);
  ASSERT_EQ(selection->get_Count(&count), S_OK);
  EXPECT_EQ(count, 2);
  ASSERT_EQ(selection->get_Item(2, shape.receive()), S_OK);
  EXPECT_EQ(shape.get(), static_cast<IDrawShape *>(r2));
  EXPECT_EQ(host_.record().back(), "Select R1 2");
}

TEST_F(StandIn, InsertedObjectIsCreatedAndAnnounced) {
  Shape *r1 = addComponent(page_, "R1");
  ComPtr<IDrawEventList> pageEvents = eventsOf(page_);
  ComPtr<IDrawEvent> added = subscribe(pageEvents.get(), 901, "");
  ComPtr<IDrawShape> inserted;
  // Any registered class will do for the stand-in; Wine registers this one.
  HRESULT hr =
      r1->InsertObject(base::Bstr("Scripting.Dictionary").get(), 0x3000, inserted.receive());
  if (hr == REGDB_E_CLASSNOTREG)
    GTEST_SKIP() << "the prefix has no Scripting.Dictionary";
  ASSERT_EQ(hr, S_OK);
  short type = 0;
  ASSERT_EQ(inserted->get_Type(&type), S_OK);
  EXPECT_EQ(type, 4);
  ComPtr<IUnknown> object;
  ASSERT_EQ(inserted->get_Object(object.receive()), S_OK);
  EXPECT_TRUE(object);
  ASSERT_EQ(sink_.seen.size(), 1u);
  EXPECT_EQ(sink_.seen[0].event, 901);
  EXPECT_EQ(r1->InsertObject(base::Bstr("{00000000-0000-0000-0000-00000000BAD0}").get(), 0x3000,
                             inserted.receive()),
            REGDB_E_CLASSNOTREG);
  EXPECT_FALSE(inserted);
}

TEST_F(StandIn, ClientSiteNamesTheShapeAndLeadsToThePage) {
  ComPtr<IOleClientSite> site = ComPtr<IOleClientSite>::adopt(new com::Object<drawhost::ClientSite>(
      page_, "C:\\Drawings\\Circuit.vsd\\Drawing\\Page-1/~R1\\Sheet.1"));
  ComPtr<IMoniker> moniker;
  ASSERT_EQ(site->GetMoniker(OLEGETMONIKER_ONLYIFTHERE, OLEWHICHMK_OBJFULL, moniker.receive()),
            S_OK);
  ComPtr<IBindCtx> context;
  ASSERT_EQ(CreateBindCtx(0, context.receive()), S_OK);
  LPOLESTR display = nullptr;
  ASSERT_EQ(moniker->GetDisplayName(context.get(), nullptr, &display), S_OK);
  int length = WideCharToMultiByte(CP_ACP, 0, display, -1, nullptr, 0, nullptr, nullptr);
  std::string name(static_cast<size_t>(length > 0 ? length - 1 : 0), '\0');
  WideCharToMultiByte(CP_ACP, 0, display, -1, &name[0], length, nullptr, nullptr);
  CoTaskMemFree(display);
  EXPECT_EQ(name, "C:\\Drawings\\Circuit.vsd\\Drawing\\Page-1/~R1\\Sheet.1");

  ComPtr<IOleContainer> container;
  ASSERT_EQ(site->GetContainer(container.receive()), S_OK);
  ComPtr<IDrawPage> page = container.query<IDrawPage>();
  EXPECT_EQ(page.get(), static_cast<IDrawPage *>(page_));
}

} // namespace
