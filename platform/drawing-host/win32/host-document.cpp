// Application, documents, pages and masters of the stand-in host, and the
// host object that tests drive.
#include "platform/drawing-host/win32/stand-in-host.h"

#include "platform/drawing-host/win32/host-menus.h"
#include "platform/drawing-host/win32/host-text.h"

#include "platform/base/win32/com-error.h"
#include "platform/base/win32/variant.h"

#include <algorithm>
#include <cstdio>

namespace drawhost {

namespace {

// Item by 1-based index or by name from a list of objects with name().
template <typename Object, typename Interface>
HRESULT pickByIndexOrName(const std::vector<ComPtr<Object>> &items, const VARIANT &which,
                          Interface **out) {
  if (V_VT(&which) == VT_BSTR) {
    std::string name = base::Bstr::toAnsiText(V_BSTR(&which));
    for (const ComPtr<Object> &item : items) {
      if (item->name() == name)
        return interfaceOut(static_cast<Interface *>(item.get()), out);
    }
    return DrawHostNoSuchItem;
  }
  base::Variant index;
  if (FAILED(VariantChangeType(index.get(), const_cast<VARIANT *>(&which), 0, VT_I4)))
    return E_INVALIDARG;
  LONG i = V_I4(index.get());
  if (i < 1 || static_cast<size_t>(i) > items.size())
    return E_INVALIDARG;
  return interfaceOut(static_cast<Interface *>(items[i - 1].get()), out);
}

} // namespace

// ---- Master -------------------------------------------------------------

const com::InterfaceEntry *Master::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IDrawMaster, com::interfaceOffset<Master, IDrawMaster>()},
      {&IID_IDispatch, com::interfaceOffset<Master, IDrawMaster>()},
      {nullptr, 0}};
  return table;
}
HRESULT STDMETHODCALLTYPE Master::get_Name(BSTR *pName) {
  if (!pName)
    return E_POINTER;
  *pName = nullptr;
  return base::guardCom(IID_IDrawMaster, [&] { return textOut(name_, pName); });
}

const com::InterfaceEntry *MasterList::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IDrawMasters, com::interfaceOffset<MasterList, IDrawMasters>()},
      {&IID_IDispatch, com::interfaceOffset<MasterList, IDrawMasters>()},
      {nullptr, 0}};
  return table;
}
HRESULT STDMETHODCALLTYPE MasterList::get_Count(short *pCount) {
  if (!pCount)
    return E_POINTER;
  *pCount = static_cast<short>(items_.size());
  return S_OK;
}
HRESULT STDMETHODCALLTYPE MasterList::get_Item(VARIANT IndexOrName, IDrawMaster **ppMaster) {
  if (!ppMaster)
    return E_POINTER;
  *ppMaster = nullptr;
  return base::guardCom(IID_IDrawMasters,
                        [&] { return pickByIndexOrName(items_, IndexOrName, ppMaster); });
}

// ---- Page ---------------------------------------------------------------

Page::Page(StandInHost *host, Document *document, std::string name)
    : host_(host), document_(document), name_(std::move(name)),
      sheet_(ComPtr<Shape>::adopt(new com::Object<Shape>(host, this, nullptr, 1, "ThePage"))),
      events_(ComPtr<EventList>::adopt(new com::Object<EventList>(host, "page " + name_))) {}

const com::InterfaceEntry *Page::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IDrawPage, com::interfaceOffset<Page, IDrawPage>()},
      {&IID_IDispatch, com::interfaceOffset<Page, IDrawPage>()},
      {nullptr, 0}};
  return table;
}

HRESULT Page::reloadControls(bool storage) {
  HRESULT result = S_OK;
  std::vector<Shape *> pending;
  for (const ComPtr<Shape> &shape : shapes_)
    pending.push_back(shape.get());
  while (!pending.empty() && SUCCEEDED(result)) {
    Shape *shape = pending.back();
    pending.pop_back();
    if (shape->holdsObject())
      result = shape->reloadObject(storage);
    for (const ComPtr<Shape> &member : shape->members())
      pending.push_back(member.get());
  }
  return result;
}

Shape *Page::addShape(short type, const std::string &name) {
  shapes_.push_back(ComPtr<Shape>::adopt(new com::Object<Shape>(host_, this, nullptr, type, name)));
  return shapes_.back().get();
}

void Page::announceShapes(const std::vector<Shape *> &shapes) {
  std::vector<ComPtr<Shape>> items;
  for (Shape *shape : shapes)
    items.emplace_back(shape);
  base::Variant subject;
  V_VT(subject.get()) = VT_DISPATCH;
  V_DISPATCH(subject.get()) = new com::Object<Selection>(std::move(items), this);
  events_->fire(EventShapesAdded, static_cast<IDrawPage *>(this), *subject.get());
}

void Page::glue(Shape *connector, short fromPart, Shape *shape, short row) {
  short toPart = static_cast<short>(100 + row);
  connects_.push_back(
      ComPtr<Connect>::adopt(new com::Object<Connect>(connector, fromPart, shape, toPart)));
  from_[connector].push_back(connects_.back().get());
  to_[shape].push_back(connects_.back().get());
  host_->note("glue " + connector->name() + " part " + std::to_string(fromPart) + " to " +
              shape->name() + " part " + std::to_string(toPart));
  base::Variant subject;
  V_VT(subject.get()) = VT_DISPATCH;
  V_DISPATCH(subject.get()) =
      new com::Object<Connects>(std::vector<ComPtr<Connect>>{connects_.back()});
  events_->fire(EventConnectionsChanged, static_cast<IDrawPage *>(this), *subject.get());
}

namespace {

std::vector<ComPtr<Connect>>
connectsOf(const std::unordered_map<const Shape *, std::vector<Connect *>> &index,
           const Shape *shape) {
  std::vector<ComPtr<Connect>> list;
  auto found = index.find(shape);
  if (found != index.end()) {
    for (Connect *connect : found->second)
      list.emplace_back(connect);
  }
  return list;
}

} // namespace

std::vector<ComPtr<Connect>> Page::connectsFrom(const Shape *shape) const {
  return connectsOf(from_, shape);
}

std::vector<ComPtr<Connect>> Page::connectsTo(const Shape *shape) const {
  return connectsOf(to_, shape);
}

void Page::deleteShape(Shape *shape) {
  std::vector<ComPtr<Connect>> removed, kept;
  for (ComPtr<Connect> &connect : connects_)
    (connect->from() == shape || connect->to() == shape ? removed : kept).push_back(connect);
  connects_.swap(kept);
  from_.clear();
  to_.clear();
  for (const ComPtr<Connect> &connect : connects_) {
    from_[connect->from()].push_back(connect.get());
    to_[connect->to()].push_back(connect.get());
  }
  ComPtr<Shape> keep(shape);
  for (auto it = shapes_.begin(); it != shapes_.end(); ++it) {
    if (it->get() == shape) {
      shapes_.erase(it);
      break;
    }
  }
  host_->note("delete shape " + shape->name());
  keep->detach();
  if (!removed.empty()) {
    base::Variant subject;
    V_VT(subject.get()) = VT_DISPATCH;
    V_DISPATCH(subject.get()) = new com::Object<Connects>(std::move(removed));
    events_->fire(EventConnectionsChanged, static_cast<IDrawPage *>(this), *subject.get());
  }
}

void Page::detach() {
  for (ComPtr<Shape> &shape : shapes_)
    shape->detach();
  sheet_->detach();
  events_->detach();
  connects_.clear();
  from_.clear();
  to_.clear();
  host_ = nullptr;
  document_ = nullptr;
}

#define PAGE_ALIVE()                                                                               \
  do {                                                                                             \
    if (!host_)                                                                                    \
      return DrawHostObjectDeleted;                                                                \
  } while (0)

HRESULT STDMETHODCALLTYPE Page::get_Name(BSTR *pName) {
  if (!pName)
    return E_POINTER;
  *pName = nullptr;
  PAGE_ALIVE();
  return base::guardCom(IID_IDrawPage, [&] { return textOut(name_, pName); });
}

HRESULT STDMETHODCALLTYPE Page::get_Shapes(IDrawShapes **ppShapes) {
  if (!ppShapes)
    return E_POINTER;
  *ppShapes = nullptr;
  PAGE_ALIVE();
  return com::Object<ShapeList>::create(IID_IDrawShapes, reinterpret_cast<void **>(ppShapes),
                                        shapes_);
}

HRESULT STDMETHODCALLTYPE Page::get_Layers(IDrawLayers **ppLayers) {
  if (!ppLayers)
    return E_POINTER;
  *ppLayers = nullptr;
  PAGE_ALIVE();
  return com::Object<LayerList>::create(IID_IDrawLayers, reinterpret_cast<void **>(ppLayers), this);
}

short Page::addLayer(const std::string &name) {
  layers_.push_back(name);
  host_->note("Add layer " + name + " to " + name_);
  return static_cast<short>(layers_.size());
}

HRESULT STDMETHODCALLTYPE Page::get_PageSheet(IDrawShape **ppShape) {
  if (!ppShape)
    return E_POINTER;
  *ppShape = nullptr;
  PAGE_ALIVE();
  return interfaceOut(static_cast<IDrawShape *>(sheet_.get()), ppShape);
}

HRESULT STDMETHODCALLTYPE Page::get_EventList(IDrawEventList **ppEventList) {
  if (!ppEventList)
    return E_POINTER;
  *ppEventList = nullptr;
  PAGE_ALIVE();
  return interfaceOut(static_cast<IDrawEventList *>(events_.get()), ppEventList);
}

HRESULT STDMETHODCALLTYPE Page::get_Document(IDrawDocument **ppDocument) {
  if (!ppDocument)
    return E_POINTER;
  *ppDocument = nullptr;
  PAGE_ALIVE();
  return interfaceOut(static_cast<IDrawDocument *>(document_), ppDocument);
}

HRESULT STDMETHODCALLTYPE Page::Drop(IDrawMaster *MasterIn, double x, double y,
                                     IDrawShape **ppShape) {
  if (!ppShape)
    return E_POINTER;
  *ppShape = nullptr;
  if (!MasterIn)
    return E_INVALIDARG;
  PAGE_ALIVE();
  return base::guardCom(IID_IDrawPage, [&]() -> HRESULT {
    base::Bstr masterName;
    base::check(MasterIn->get_Name(masterName.receive()), IID_IDrawMaster);
    Shape *shape = addShape(3, masterName.toAnsi() + "." + std::to_string(shapes_.size() + 1));
    shape->cell("PinX", true)->setQuietly(std::to_string(x));
    shape->cell("PinY", true)->setQuietly(std::to_string(y));
    host_->note("Drop " + masterName.toAnsi() + " on " + name_);
    announceShapes({shape});
    return interfaceOut(static_cast<IDrawShape *>(shape), ppShape);
  });
}

const com::InterfaceEntry *PageList::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IDrawPages, com::interfaceOffset<PageList, IDrawPages>()},
      {&IID_IDispatch, com::interfaceOffset<PageList, IDrawPages>()},
      {nullptr, 0}};
  return table;
}
HRESULT STDMETHODCALLTYPE PageList::get_Count(short *pCount) {
  if (!pCount)
    return E_POINTER;
  *pCount = static_cast<short>(items_.size());
  return S_OK;
}
HRESULT STDMETHODCALLTYPE PageList::get_Item(VARIANT IndexOrName, IDrawPage **ppPage) {
  if (!ppPage)
    return E_POINTER;
  *ppPage = nullptr;
  return base::guardCom(IID_IDrawPages,
                        [&] { return pickByIndexOrName(items_, IndexOrName, ppPage); });
}

// ---- Document -----------------------------------------------------------

Document::Document(StandInHost *host, std::string folder, std::string name)
    : host_(host), folder_(std::move(folder)), name_(std::move(name)),
      events_(ComPtr<EventList>::adopt(new com::Object<EventList>(host, "document " + name_))) {}

const com::InterfaceEntry *Document::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IDrawDocument, com::interfaceOffset<Document, IDrawDocument>()},
      {&IID_IDispatch, com::interfaceOffset<Document, IDrawDocument>()},
      {nullptr, 0}};
  return table;
}

Page *Document::addPage(const std::string &name) {
  pages_.push_back(ComPtr<Page>::adopt(new com::Object<Page>(host_, this, name)));
  return pages_.back().get();
}

Master *Document::addMaster(const std::string &name) {
  masters_.push_back(ComPtr<Master>::adopt(new com::Object<Master>(name)));
  return masters_.back().get();
}

Master *Document::findMaster(const std::string &name) const {
  for (const ComPtr<Master> &master : masters_) {
    if (master->name() == name)
      return master.get();
  }
  return nullptr;
}

void Document::removePage(Page *page) {
  auto it = std::find_if(pages_.begin(), pages_.end(),
                         [&](const ComPtr<Page> &p) { return p.get() == page; });
  if (it == pages_.end())
    return;
  ComPtr<Page> keep = *it;
  pages_.erase(it);
  keep->detach();
}

void Document::detach() {
  for (ComPtr<Page> &page : pages_)
    page->detach();
  pages_.clear();
  events_->detach();
  host_ = nullptr;
}

#define DOCUMENT_ALIVE()                                                                           \
  do {                                                                                             \
    if (!host_)                                                                                    \
      return DrawHostObjectDeleted;                                                                \
  } while (0)

HRESULT STDMETHODCALLTYPE Document::get_Name(BSTR *pName) {
  if (!pName)
    return E_POINTER;
  *pName = nullptr;
  DOCUMENT_ALIVE();
  return base::guardCom(IID_IDrawDocument, [&] { return textOut(name_, pName); });
}

HRESULT STDMETHODCALLTYPE Document::get_Path(BSTR *pPath) {
  if (!pPath)
    return E_POINTER;
  *pPath = nullptr;
  DOCUMENT_ALIVE();
  return base::guardCom(IID_IDrawDocument, [&] { return textOut(folder_, pPath); });
}

HRESULT STDMETHODCALLTYPE Document::get_FullName(BSTR *pFullName) {
  if (!pFullName)
    return E_POINTER;
  *pFullName = nullptr;
  DOCUMENT_ALIVE();
  return base::guardCom(IID_IDrawDocument, [&] { return textOut(folder_ + name_, pFullName); });
}

HRESULT STDMETHODCALLTYPE Document::get_Pages(IDrawPages **ppPages) {
  if (!ppPages)
    return E_POINTER;
  *ppPages = nullptr;
  DOCUMENT_ALIVE();
  return com::Object<PageList>::create(IID_IDrawPages, reinterpret_cast<void **>(ppPages), pages_);
}

HRESULT STDMETHODCALLTYPE Document::get_Masters(IDrawMasters **ppMasters) {
  if (!ppMasters)
    return E_POINTER;
  *ppMasters = nullptr;
  DOCUMENT_ALIVE();
  return com::Object<MasterList>::create(IID_IDrawMasters, reinterpret_cast<void **>(ppMasters),
                                         masters_);
}

// Copies a master into this document; a master of that name already here
// is reused, as the host matches masters by name.
HRESULT STDMETHODCALLTYPE Document::Drop(IDrawMaster *MasterIn, IDrawMaster **ppCopy) {
  if (!ppCopy)
    return E_POINTER;
  *ppCopy = nullptr;
  if (!MasterIn)
    return E_INVALIDARG;
  DOCUMENT_ALIVE();
  return base::guardCom(IID_IDrawDocument, [&]() -> HRESULT {
    base::Bstr name;
    base::check(MasterIn->get_Name(name.receive()), IID_IDrawMaster);
    Master *copy = findMaster(name.toAnsi());
    if (!copy)
      copy = addMaster(name.toAnsi());
    host_->note("Drop master " + name.toAnsi() + " into " + name_);
    return interfaceOut(static_cast<IDrawMaster *>(copy), ppCopy);
  });
}

HRESULT STDMETHODCALLTYPE Document::putref_CustomMenus(IDrawUIObject *Menus) {
  DOCUMENT_ALIVE();
  customMenus_ = ComPtr<IDrawUIObject>(Menus);
  host_->note("CustomMenus " + name_);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE Document::get_EventList(IDrawEventList **ppEventList) {
  if (!ppEventList)
    return E_POINTER;
  *ppEventList = nullptr;
  DOCUMENT_ALIVE();
  return interfaceOut(static_cast<IDrawEventList *>(events_.get()), ppEventList);
}

HRESULT STDMETHODCALLTYPE Document::get_Application(IDrawApplication **ppApplication) {
  if (!ppApplication)
    return E_POINTER;
  *ppApplication = nullptr;
  DOCUMENT_ALIVE();
  return interfaceOut(host_->application(), ppApplication);
}

const com::InterfaceEntry *DocumentList::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IDrawDocuments, com::interfaceOffset<DocumentList, IDrawDocuments>()},
      {&IID_IDispatch, com::interfaceOffset<DocumentList, IDrawDocuments>()},
      {nullptr, 0}};
  return table;
}
HRESULT STDMETHODCALLTYPE DocumentList::get_Count(short *pCount) {
  if (!pCount)
    return E_POINTER;
  *pCount = static_cast<short>(items_.size());
  return S_OK;
}
HRESULT STDMETHODCALLTYPE DocumentList::get_Item(VARIANT IndexOrName, IDrawDocument **ppDocument) {
  if (!ppDocument)
    return E_POINTER;
  *ppDocument = nullptr;
  return base::guardCom(IID_IDrawDocuments,
                        [&] { return pickByIndexOrName(items_, IndexOrName, ppDocument); });
}

// ---- Application ----------------------------------------------------------

const com::InterfaceEntry *Application::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IDrawApplication, com::interfaceOffset<Application, IDrawApplication>()},
      {&IID_IDispatch, com::interfaceOffset<Application, IDrawApplication>()},
      {nullptr, 0}};
  return table;
}

HRESULT STDMETHODCALLTYPE Application::get_WindowHandle32(LONG *pHandle) {
  if (!pHandle)
    return E_POINTER;
  // The stand-in has no main window: windows it owns are top-level.
  *pHandle = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE Application::get_Documents(IDrawDocuments **ppDocuments) {
  if (!ppDocuments)
    return E_POINTER;
  *ppDocuments = nullptr;
  if (!host_)
    return DrawHostObjectDeleted;
  return com::Object<DocumentList>::create(
      IID_IDrawDocuments, reinterpret_cast<void **>(ppDocuments), host_->documents());
}

HRESULT STDMETHODCALLTYPE Application::get_BuiltInMenus(IDrawUIObject **ppMenus) {
  if (!ppMenus)
    return E_POINTER;
  *ppMenus = nullptr;
  if (!host_)
    return DrawHostObjectDeleted;
  return base::guardCom(IID_IDrawApplication, [&] {
    ComPtr<UIObject> menus = UIObject::builtIn();
    if (!host_->builtInFileMenu())
      menus->removeMenu(2, "&File");
    return interfaceOut(static_cast<IDrawUIObject *>(menus.get()), ppMenus);
  });
}

HRESULT STDMETHODCALLTYPE Application::get_ActiveWindow(IDrawWindow **ppWindow) {
  if (!ppWindow)
    return E_POINTER;
  *ppWindow = nullptr;
  if (!host_)
    return DrawHostObjectDeleted;
  if (!host_->activeWindow())
    return S_FALSE;
  return interfaceOut(host_->activeWindow(), ppWindow);
}

// ---- StandInHost ------------------------------------------------------------

StandInHost::StandInHost()
    : application_(ComPtr<Application>::adopt(new com::Object<Application>(this))) {}

StandInHost::~StandInHost() {
  for (ComPtr<Document> &document : documents_)
    document->detach();
  documents_.clear();
  activeWindow_.reset();
  application_->detach();
}

Document *StandInHost::addDocument(const std::string &folder, const std::string &name) {
  documents_.push_back(ComPtr<Document>::adopt(new com::Object<Document>(this, folder, name)));
  return documents_.back().get();
}

Document *StandInHost::findDocument(const std::string &name) const {
  for (const ComPtr<Document> &document : documents_) {
    if (document->name() == name)
      return document.get();
  }
  return nullptr;
}

Document *StandInHost::openStencil() {
  if (Document *open = findDocument("netweave.vss"))
    return open;
  Document *stencil = addDocument("C:\\Stencils\\", "netweave.vss");
  stencil->addMaster("Error Line Pattern");
  return stencil;
}

void StandInHost::setActiveWindow(Page *page, const std::vector<Shape *> &selected) {
  std::vector<ComPtr<Shape>> shapes;
  for (Shape *shape : selected)
    shapes.emplace_back(shape);
  activeWindow_ = ComPtr<IDrawWindow>::adopt(new com::Object<Window>(page, std::move(shapes)));
}

void StandInHost::fireIdle() {
  base::Variant nothing;
  // Pages may go while their events run: hold them for the round.
  std::vector<ComPtr<Page>> pages;
  for (const ComPtr<Document> &document : documents_)
    pages.insert(pages.end(), document->pages().begin(), document->pages().end());
  for (const ComPtr<Page> &page : pages) {
    if (!page->deleted())
      page->events()->fire(EventIdle, static_cast<IDrawPage *>(page.get()), *nothing.get());
  }
}

void StandInHost::deletePage(Page *page) {
  ComPtr<Page> keep(page);
  base::Variant nothing;
  note("delete page " + page->name());
  page->events()->fire(EventPageDeleted, static_cast<IDrawPage *>(page), *nothing.get());
  if (Document *document = page->document())
    document->removePage(page);
}

void StandInHost::deleteDocument(Document *document) {
  ComPtr<Document> keep(document);
  base::Variant nothing;
  note("delete document " + document->name());
  document->events()->fire(EventDocumentDeleted, static_cast<IDrawDocument *>(document),
                           *nothing.get());
  auto it = std::find_if(documents_.begin(), documents_.end(),
                         [&](const ComPtr<Document> &d) { return d.get() == document; });
  if (it != documents_.end())
    documents_.erase(it);
  document->detach();
}

std::string StandInHost::nextUniqueId() {
  ++uniqueIds_;
  char text[48];
  std::snprintf(text, sizeof text, "{00000000-0000-0000-0000-%012llX}", uniqueIds_);
  return text;
}

} // namespace drawhost
