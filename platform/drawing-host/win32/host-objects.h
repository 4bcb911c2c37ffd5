// The stand-in drawing host's objects. Each implements one interface of
// drawing-host.idl; the tree of documents, pages, shapes and cells owns its
// children through counted references and points back to its parents with
// plain pointers, which detach() clears when an object is deleted or the
// host shuts down (a client may still hold the object; it then answers
// DrawHostObjectDeleted).
#ifndef PLATFORM_DRAWING_HOST_HOST_OBJECTS_H
#define PLATFORM_DRAWING_HOST_HOST_OBJECTS_H

#include "drawing-host.h"

#include "platform/base/win32/com-ptr.h"
#include "platform/com/win32/dispatch.h"
#include "platform/com/win32/object.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace drawhost {

// Failures the stand-in reports, in the interface-specific range.
const HRESULT DrawHostObjectDeleted = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0201);
const HRESULT DrawHostCellGuarded = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0202);
const HRESULT DrawHostNoResult = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0203);
const HRESULT DrawHostNoSuchItem = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0204);

// Event codes of the host.
enum EventCode : short {
  EventShapesAdded = 901,
  EventConnectionsChanged = static_cast<short>(0xE100),
  EventIdle = 0x1400,
  EventCellChanged = 0x2800,
  EventPageDeleted = 0x4010,
  EventDocumentDeleted = 0x4002,
};

class StandInHost;
class Document;
class Page;
class Shape;
class Cell;
class EventList;

using base::ComPtr;

class Event : public com::Dispatch<IDrawEvent> {
public:
  Event(EventList *list, long id, short code, IDispatch *sink, std::string args)
      : list_(list), id_(id), code_(code), sink_(sink), args_(std::move(args)) {}
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE get_ID(LONG *pID) override;
  HRESULT STDMETHODCALLTYPE get_Event(short *pCode) override;
  HRESULT STDMETHODCALLTYPE get_TargetArgs(BSTR *pArgs) override;
  HRESULT STDMETHODCALLTYPE Delete() override;

  long id() const { return id_; }
  short code() const { return code_; }
  bool deleted() const { return !list_; }
  IDispatch *sink() const { return sink_.get(); }
  void detach() { list_ = nullptr; }

private:
  EventList *list_;
  long id_;
  short code_;
  ComPtr<IDispatch> sink_;
  std::string args_;
};

// The subscriptions of one page, document or shape.
class EventList : public com::Dispatch<IDrawEventList> {
public:
  EventList(StandInHost *host, std::string owner) : host_(host), owner_(std::move(owner)) {}
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE get_Count(LONG *pCount) override;
  HRESULT STDMETHODCALLTYPE AddAdvise(short EventCode, IDispatch *Sink, BSTR TargetArgs,
                                      IDrawEvent **ppEvent) override;
  HRESULT STDMETHODCALLTYPE get_ItemFromID(LONG ID, IDrawEvent **ppEvent) override;

  // Calls VisEventProc on every live subscription to code, in the order of
  // subscription; subscriptions added or deleted meanwhile are honoured.
  void fire(short code, IUnknown *source, const VARIANT &subject);
  void remove(Event *event);
  // Deletes every subscription (the owner is gone).
  void detach();

private:
  StandInHost *host_;
  std::string owner_; // for the call record
  std::vector<ComPtr<Event>> events_;
};

class Cell : public com::Dispatch<IDrawCell> {
public:
  Cell(Shape *shape, short section, short row, short column, std::string name)
      : shape_(shape), section_(section), row_(row), column_(column), name_(std::move(name)) {}
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE get_Formula(BSTR *pFormula) override;
  HRESULT STDMETHODCALLTYPE put_Formula(BSTR Formula) override;
  HRESULT STDMETHODCALLTYPE put_FormulaForce(BSTR Formula) override;
  HRESULT STDMETHODCALLTYPE get_ResultIU(double *pValue) override;
  HRESULT STDMETHODCALLTYPE get_RowName(BSTR *pName) override;
  HRESULT STDMETHODCALLTYPE get_Shape(IDrawShape **ppShape) override;

  short section() const { return section_; }
  short row() const { return row_; }
  short column() const { return column_; }
  const std::string &name() const { return name_; }
  const std::string &formula() const { return formula_; }
  bool guarded() const;
  // Writes the formula, records the call and fires the shape's cell event.
  HRESULT write(const std::string &formula, bool force, const char *how);
  void setQuietly(const std::string &formula) { formula_ = formula; }
  void detach() { shape_ = nullptr; }

private:
  Shape *shape_;
  short section_, row_, column_;
  std::string name_; // universal name, e.g. "PinX", "User.QOR", "Connections.A.X"
  std::string formula_;
};

class Connect : public com::Dispatch<IDrawConnect> {
public:
  Connect(Shape *from, short fromPart, Shape *to, short toPart);
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE get_FromSheet(IDrawShape **ppShape) override;
  HRESULT STDMETHODCALLTYPE get_FromPart(short *pPart) override;
  HRESULT STDMETHODCALLTYPE get_ToSheet(IDrawShape **ppShape) override;
  HRESULT STDMETHODCALLTYPE get_ToPart(short *pPart) override;

  Shape *from() const { return from_.get(); }
  Shape *to() const { return to_.get(); }
  short fromPart() const { return fromPart_; }

private:
  ComPtr<Shape> from_;
  short fromPart_;
  ComPtr<Shape> to_;
  short toPart_;
};

// A snapshot list of connections (a shape's own or those glued to it).
class Connects : public com::Dispatch<IDrawConnects> {
public:
  explicit Connects(std::vector<ComPtr<Connect>> items) : items_(std::move(items)) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Count(short *pCount) override;
  HRESULT STDMETHODCALLTYPE get_Item(short Index, IDrawConnect **ppConnect) override;

private:
  std::vector<ComPtr<Connect>> items_;
};

// Shapes by 1-based index or name: a page's, a group's, or a selection.
class ShapeList : public com::Dispatch<IDrawShapes> {
public:
  explicit ShapeList(std::vector<ComPtr<Shape>> items) : items_(std::move(items)) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Count(short *pCount) override;
  HRESULT STDMETHODCALLTYPE get_Item(VARIANT IndexOrName, IDrawShape **ppShape) override;

private:
  std::vector<ComPtr<Shape>> items_;
};

// The subject of the shapes-added event: the new shapes and their page.
class Selection : public com::Dispatch<IDrawSelection> {
public:
  Selection(std::vector<ComPtr<Shape>> items, Page *page);
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Count(LONG *pCount) override;
  HRESULT STDMETHODCALLTYPE get_Item(LONG Index, IDrawShape **ppShape) override;
  HRESULT STDMETHODCALLTYPE get_ContainingPage(IDrawPage **ppPage) override;

private:
  std::vector<ComPtr<Shape>> items_;
  ComPtr<Page> page_;
};

class Master : public com::Dispatch<IDrawMaster> {
public:
  explicit Master(std::string name) : name_(std::move(name)) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Name(BSTR *pName) override;
  const std::string &name() const { return name_; }

private:
  std::string name_;
};

class MasterList : public com::Dispatch<IDrawMasters> {
public:
  explicit MasterList(std::vector<ComPtr<Master>> items) : items_(std::move(items)) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Count(short *pCount) override;
  HRESULT STDMETHODCALLTYPE get_Item(VARIANT IndexOrName, IDrawMaster **ppMaster) override;

private:
  std::vector<ComPtr<Master>> items_;
};

class Shape : public com::Dispatch<IDrawShape> {
public:
  Shape(StandInHost *host, Page *page, Shape *group, short type, std::string name);
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE get_Type(short *pType) override;
  HRESULT STDMETHODCALLTYPE get_Shapes(IDrawShapes **ppShapes) override;
  HRESULT STDMETHODCALLTYPE get_UniqueID(short Flags, BSTR *pID) override;
  HRESULT STDMETHODCALLTYPE get_OneD(short *pOneD) override;
  HRESULT STDMETHODCALLTYPE get_Text(BSTR *pText) override;
  HRESULT STDMETHODCALLTYPE put_Text(BSTR Text) override;
  HRESULT STDMETHODCALLTYPE get_Name(BSTR *pName) override;
  HRESULT STDMETHODCALLTYPE put_Name(BSTR Name) override;
  HRESULT STDMETHODCALLTYPE get_ContainingPage(IDrawPage **ppPage) override;
  HRESULT STDMETHODCALLTYPE get_FromConnects(IDrawConnects **ppConnects) override;
  HRESULT STDMETHODCALLTYPE get_Connects(IDrawConnects **ppConnects) override;
  HRESULT STDMETHODCALLTYPE get_Cells(BSTR UniversalName, IDrawCell **ppCell) override;
  HRESULT STDMETHODCALLTYPE get_CellExists(BSTR UniversalName, short LocalOnly,
                                           short *pExists) override;
  HRESULT STDMETHODCALLTYPE get_CellsSRC(short Section, short Row, short Column,
                                         IDrawCell **ppCell) override;
  HRESULT STDMETHODCALLTYPE GetFormulas(SAFEARRAY **SRCs, SAFEARRAY **Formulas) override;
  HRESULT STDMETHODCALLTYPE SetFormulas(SAFEARRAY **SRCs, SAFEARRAY **Formulas,
                                        short Flags) override;
  HRESULT STDMETHODCALLTYPE InsertObject(BSTR ClassID, short Flags, IDrawShape **ppShape) override;
  HRESULT STDMETHODCALLTYPE DrawRectangle(double x1, double y1, double x2, double y2,
                                          IDrawShape **ppShape) override;
  HRESULT STDMETHODCALLTYPE get_EventList(IDrawEventList **ppEventList) override;
  HRESULT STDMETHODCALLTYPE get_Object(IUnknown **ppObject) override;

  // Host side (tests and the host itself).
  StandInHost *host() const { return host_; }
  Page *page() const { return page_; }
  const std::string &name() const { return name_; }
  bool deleted() const { return !host_; }
  void setOneD(bool oneD) { oneD_ = oneD; }
  // The cell of that name, created when create is set (null otherwise).
  Cell *cell(const std::string &name, bool create);
  Cell *cellAt(short section, short row, short column, bool create);
  // Adds a connection point row with its row name; returns its row index.
  short addConnectionPoint(const std::string &rowName);
  Shape *addMember(short type, const std::string &name);
  const std::vector<ComPtr<Shape>> &members() const { return members_; }
  EventList *events() const { return events_.get(); }
  std::string uniqueId(bool create);
  void detach();

private:
  StandInHost *host_;
  Page *page_;
  Shape *group_;
  short type_;
  std::string name_;
  std::string text_;
  std::string uniqueId_;
  bool oneD_ = false;
  std::vector<ComPtr<Cell>> cells_;
  std::vector<std::string> connectionRows_; // row r + 1 is connectionRows_[r]
  std::vector<std::string> userRows_;
  std::vector<ComPtr<Shape>> members_;
  ComPtr<EventList> events_;
  ComPtr<IUnknown> object_; // an inserted control object
};

class Page : public com::Dispatch<IDrawPage> {
public:
  Page(StandInHost *host, Document *document, std::string name);
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE get_Name(BSTR *pName) override;
  HRESULT STDMETHODCALLTYPE get_Shapes(IDrawShapes **ppShapes) override;
  HRESULT STDMETHODCALLTYPE get_Layers(IDrawLayers **ppLayers) override;
  HRESULT STDMETHODCALLTYPE get_PageSheet(IDrawShape **ppShape) override;
  HRESULT STDMETHODCALLTYPE get_EventList(IDrawEventList **ppEventList) override;
  HRESULT STDMETHODCALLTYPE get_Document(IDrawDocument **ppDocument) override;
  HRESULT STDMETHODCALLTYPE Drop(IDrawMaster *Master, double x, double y,
                                 IDrawShape **ppShape) override;

  const std::string &name() const { return name_; }
  Document *document() const { return document_; }
  bool deleted() const { return !host_; }
  EventList *events() const { return events_.get(); }
  Shape *sheet() const { return sheet_.get(); }
  // Adds a top-level shape without firing (tests build pages this way and
  // then announce the shapes with announceShapes).
  Shape *addShape(short type, const std::string &name);
  void announceShapes(const std::vector<Shape *> &shapes);
  // Deletes a top-level shape as a user would: the shape and its
  // connections go, then the connection event fires when there were any.
  void deleteShape(Shape *shape);
  // Glues part fromPart (9 begin, 12 end) of connector to the connection
  // point row of shape (part 100 + row) and fires the connection event.
  void glue(Shape *connector, short fromPart, Shape *shape, short row);
  const std::vector<ComPtr<Connect>> &connects() const { return connects_; }
  // The connections a shape glues (from) and those glued to it (to), in
  // the order they were made: looked up by shape, since a scan of a large
  // page asks every shape for both.
  std::vector<ComPtr<Connect>> connectsFrom(const Shape *shape) const;
  std::vector<ComPtr<Connect>> connectsTo(const Shape *shape) const;
  const std::vector<std::string> &layerNames() const { return layers_; }
  // Adds a layer and returns its 1-based index.
  short addLayer(const std::string &name);
  void detach();

private:
  StandInHost *host_;
  Document *document_;
  std::string name_;
  std::vector<std::string> layers_;
  std::vector<ComPtr<Shape>> shapes_;
  std::vector<ComPtr<Connect>> connects_;
  std::unordered_map<const Shape *, std::vector<Connect *>> from_, to_; // index of connects_
  ComPtr<Shape> sheet_;
  ComPtr<EventList> events_;
};

class PageList : public com::Dispatch<IDrawPages> {
public:
  explicit PageList(std::vector<ComPtr<Page>> items) : items_(std::move(items)) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Count(short *pCount) override;
  HRESULT STDMETHODCALLTYPE get_Item(VARIANT IndexOrName, IDrawPage **ppPage) override;

private:
  std::vector<ComPtr<Page>> items_;
};

class Document : public com::Dispatch<IDrawDocument> {
public:
  Document(StandInHost *host, std::string folder, std::string name);
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE get_Name(BSTR *pName) override;
  HRESULT STDMETHODCALLTYPE get_Path(BSTR *pPath) override;
  HRESULT STDMETHODCALLTYPE get_FullName(BSTR *pFullName) override;
  HRESULT STDMETHODCALLTYPE get_Pages(IDrawPages **ppPages) override;
  HRESULT STDMETHODCALLTYPE get_Masters(IDrawMasters **ppMasters) override;
  HRESULT STDMETHODCALLTYPE Drop(IDrawMaster *Master, IDrawMaster **ppCopy) override;
  HRESULT STDMETHODCALLTYPE putref_CustomMenus(IDrawUIObject *Menus) override;
  HRESULT STDMETHODCALLTYPE get_EventList(IDrawEventList **ppEventList) override;
  HRESULT STDMETHODCALLTYPE get_Application(IDrawApplication **ppApplication) override;

  const std::string &name() const { return name_; }
  bool deleted() const { return !host_; }
  EventList *events() const { return events_.get(); }
  Page *addPage(const std::string &name);
  Master *addMaster(const std::string &name);
  Master *findMaster(const std::string &name) const;
  const std::vector<ComPtr<Page>> &pages() const { return pages_; }
  void removePage(Page *page);
  // The menus installed with CustomMenus, or null.
  IDrawUIObject *customMenus() const { return customMenus_.get(); }
  void detach();

private:
  StandInHost *host_;
  std::string folder_, name_;
  ComPtr<IDrawUIObject> customMenus_;
  std::vector<ComPtr<Page>> pages_;
  std::vector<ComPtr<Master>> masters_;
  ComPtr<EventList> events_;
};

class DocumentList : public com::Dispatch<IDrawDocuments> {
public:
  explicit DocumentList(std::vector<ComPtr<Document>> items) : items_(std::move(items)) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Count(short *pCount) override;
  HRESULT STDMETHODCALLTYPE get_Item(VARIANT IndexOrName, IDrawDocument **ppDocument) override;

private:
  std::vector<ComPtr<Document>> items_;
};

class Application : public com::Dispatch<IDrawApplication> {
public:
  explicit Application(StandInHost *host) : host_(host) {}
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE get_WindowHandle32(LONG *pHandle) override;
  HRESULT STDMETHODCALLTYPE get_Documents(IDrawDocuments **ppDocuments) override;
  HRESULT STDMETHODCALLTYPE get_BuiltInMenus(IDrawUIObject **ppMenus) override;
  HRESULT STDMETHODCALLTYPE get_ActiveWindow(IDrawWindow **ppWindow) override;

  void detach() { host_ = nullptr; }

private:
  StandInHost *host_;
};

} // namespace drawhost

#endif
