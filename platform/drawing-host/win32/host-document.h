// A document of the stand-in host: pages, masters, custom menus and events.
#ifndef PLATFORM_DRAWING_HOST_HOST_DOCUMENT_H
#define PLATFORM_DRAWING_HOST_HOST_DOCUMENT_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-event-list.h"
#include "platform/drawing-host/win32/host-master.h"
#include "platform/drawing-host/win32/host-page.h"

#include <string>
#include <vector>

namespace drawhost {

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

} // namespace drawhost

#endif
