// A page of the stand-in host: its shapes, connections, layers and events.
#ifndef PLATFORM_DRAWING_HOST_HOST_PAGE_H
#define PLATFORM_DRAWING_HOST_HOST_PAGE_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-event-list.h"
#include "platform/drawing-host/win32/host-connect.h"
#include "platform/drawing-host/win32/host-master.h"
#include "platform/drawing-host/win32/host-shape.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace drawhost {

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
  // Every control on the page saved and reloaded through its persistence,
  // as when the drawing is closed and opened again (Shape::reloadObject).
  HRESULT reloadControls(bool storage);
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

} // namespace drawhost

#endif
