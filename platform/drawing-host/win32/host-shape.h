// A shape of the stand-in host: cells, connection points, members, text and an inserted control.
#ifndef PLATFORM_DRAWING_HOST_HOST_SHAPE_H
#define PLATFORM_DRAWING_HOST_HOST_SHAPE_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-event-list.h"
#include "platform/drawing-host/win32/host-cell.h"

#include <string>
#include <vector>

namespace drawhost {

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
  bool holdsObject() const { return static_cast<bool>(object_); }
  // A pasted copy of a component's control: an object of clsid that loads
  // what the original saved into stream, inserted as InsertObject would.
  HRESULT insertSavedObject(const CLSID &clsid, IStream *stream);
  // Closing and reopening the drawing, for the object this shape holds: it
  // is saved through its stream (or storage) persistence and replaced by a
  // new object of its class loaded from that, sited and activated again.
  HRESULT reloadObject(bool storage);

private:
  std::string objectMoniker(const Shape &holder) const;
  void activateObject(Shape *holder, const CLSID &clsid, IStream *stream, IStorage *storage);
  Shape *insertControl(const CLSID &clsid, IStream *stream, IStorage *storage);

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

} // namespace drawhost

#endif
