// Thin wrappers over the drawing host's automation calls that the circuit
// makes: each turns a failed HRESULT into base::ComError carrying the
// host interface, so that the circuit's code reads straight through and
// its COM boundary decides what a failure means.
#ifndef CIRCUIT_SIM_HOST_CALLS_H
#define CIRCUIT_SIM_HOST_CALLS_H

#include "QorSim.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/com-ptr.h"

#include <string>

namespace qorsim {

using base::ComPtr;

// Host part codes of a connector's ends.
const short BeginPart = 9;
const short EndPart = 12;
// Parts from 100 up are connection points: part 100 + r is row r.
const short FirstConnectionPart = 100;
// Sections of the cells the circuit reads.
const short SectionObject = 1;      // row 1: PinX, PinY; row 2: line pattern, weight
const short SectionConnections = 7; // column 1 of row r: connection point r

namespace host {

inline short type(IDrawShape *shape) {
  short value = 0;
  base::check(base::checkPointer(shape, IID_IDrawShape)->get_Type(&value), IID_IDrawShape);
  return value;
}

// Flags 0: the identifier or the empty text; 1: created when missing.
inline std::string uniqueId(IDrawShape *shape, short flags) {
  base::Bstr id;
  base::check(base::checkPointer(shape, IID_IDrawShape)->get_UniqueID(flags, id.receive()),
              IID_IDrawShape);
  return id.toAnsi();
}

inline bool oneD(IDrawShape *shape) {
  short value = 0;
  base::check(base::checkPointer(shape, IID_IDrawShape)->get_OneD(&value), IID_IDrawShape);
  return value != 0;
}

inline bool cellExists(IDrawShape *shape, const char *name) {
  short exists = 0;
  base::Bstr text(name);
  base::check(base::checkPointer(shape, IID_IDrawShape)->get_CellExists(text.get(), 0, &exists),
              IID_IDrawShape);
  return exists != 0;
}

inline ComPtr<IDrawCell> cell(IDrawShape *shape, short section, short row, short column) {
  ComPtr<IDrawCell> result;
  base::check(base::checkPointer(shape, IID_IDrawShape)
                  ->get_CellsSRC(section, row, column, result.receive()),
              IID_IDrawShape);
  base::checkPointer(result.get(), IID_IDrawShape);
  return result;
}

inline double result(IDrawCell *cell) {
  double value = 0;
  base::check(base::checkPointer(cell, IID_IDrawCell)->get_ResultIU(&value), IID_IDrawCell);
  return value;
}

inline std::string formula(IDrawCell *cell) {
  base::Bstr text;
  base::check(base::checkPointer(cell, IID_IDrawCell)->get_Formula(text.receive()), IID_IDrawCell);
  return text.toAnsi();
}

inline void setFormula(IDrawCell *cell, const std::string &text) {
  base::Bstr value(text);
  base::check(base::checkPointer(cell, IID_IDrawCell)->put_Formula(value.get()), IID_IDrawCell);
}

inline std::string rowName(IDrawCell *cell) {
  base::Bstr text;
  base::check(base::checkPointer(cell, IID_IDrawCell)->get_RowName(text.receive()), IID_IDrawCell);
  return text.toAnsi();
}

inline ComPtr<IDrawShapes> members(IDrawShape *shape) {
  ComPtr<IDrawShapes> list;
  base::check(base::checkPointer(shape, IID_IDrawShape)->get_Shapes(list.receive()),
              IID_IDrawShape);
  base::checkPointer(list.get(), IID_IDrawShape);
  return list;
}

inline short count(IDrawShapes *list) {
  short value = 0;
  base::check(list->get_Count(&value), IID_IDrawShapes);
  return value;
}

inline ComPtr<IDrawShape> item(IDrawShapes *list, short index) {
  VARIANT at;
  VariantInit(&at);
  V_VT(&at) = VT_I2;
  V_I2(&at) = index;
  ComPtr<IDrawShape> shape;
  base::check(list->get_Item(at, shape.receive()), IID_IDrawShapes);
  base::checkPointer(shape.get(), IID_IDrawShapes);
  return shape;
}

// Connections of other shapes glued to shape.
inline ComPtr<IDrawConnects> gluedTo(IDrawShape *shape) {
  ComPtr<IDrawConnects> list;
  base::check(base::checkPointer(shape, IID_IDrawShape)->get_FromConnects(list.receive()),
              IID_IDrawShape);
  base::checkPointer(list.get(), IID_IDrawShape);
  return list;
}

// The shape's own connections.
inline ComPtr<IDrawConnects> ownConnections(IDrawShape *shape) {
  ComPtr<IDrawConnects> list;
  base::check(base::checkPointer(shape, IID_IDrawShape)->get_Connects(list.receive()),
              IID_IDrawShape);
  base::checkPointer(list.get(), IID_IDrawShape);
  return list;
}

inline short count(IDrawConnects *list) {
  short value = 0;
  base::check(list->get_Count(&value), IID_IDrawConnects);
  return value;
}

inline ComPtr<IDrawConnect> item(IDrawConnects *list, short index) {
  ComPtr<IDrawConnect> connect;
  base::check(list->get_Item(index, connect.receive()), IID_IDrawConnects);
  base::checkPointer(connect.get(), IID_IDrawConnects);
  return connect;
}

inline ComPtr<IDrawShape> fromSheet(IDrawConnect *connect) {
  ComPtr<IDrawShape> shape;
  base::check(connect->get_FromSheet(shape.receive()), IID_IDrawConnect);
  base::checkPointer(shape.get(), IID_IDrawConnect);
  return shape;
}

inline ComPtr<IDrawShape> toSheet(IDrawConnect *connect) {
  ComPtr<IDrawShape> shape;
  base::check(connect->get_ToSheet(shape.receive()), IID_IDrawConnect);
  base::checkPointer(shape.get(), IID_IDrawConnect);
  return shape;
}

inline short fromPart(IDrawConnect *connect) {
  short part = 0;
  base::check(connect->get_FromPart(&part), IID_IDrawConnect);
  return part;
}

inline short toPart(IDrawConnect *connect) {
  short part = 0;
  base::check(connect->get_ToPart(&part), IID_IDrawConnect);
  return part;
}

inline ComPtr<IDrawEvent> subscribe(IDrawEventList *list, short code, IDispatch *sink) {
  ComPtr<IDrawEvent> event;
  base::Bstr none("");
  base::check(base::checkPointer(list, IID_IDrawEventList)
                  ->AddAdvise(code, sink, none.get(), event.receive()),
              IID_IDrawEventList);
  return event;
}

} // namespace host
} // namespace qorsim

#endif
