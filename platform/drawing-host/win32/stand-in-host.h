// The stand-in drawing host that tests drive the add-on with. It owns an
// application with documents, pages, shapes and cells that answer the
// interfaces of drawing-host.idl, fires the events a real host fires when a
// test changes the drawing (shapes added 901, connections 0xE100, cell
// changed 0x2800, page deleted 0x4010, document deleted 0x4002) and fires
// the idle event 0x1400 only when the test asks. Every call that changes
// something, and every event it delivers, is appended to a record that tests
// compare with the sequence they expect. The built-in menus (set 2 with
// "&File", "&Edit" and "&Help"), layers and the active window are there
// for the add-on's menu wiring, label layout and stencil macros.
//
// Unique identifiers are deterministic: the n-th identifier created is
// {00000000-0000-0000-0000-<n in 12 hex digits>}.
//
// An executable that links the stand-in embeds drawing-host.tlb as its
// resource 3 TYPELIB (the library's INTERFACE sources add it): the objects'
// IDispatch is answered from it.
#ifndef PLATFORM_DRAWING_HOST_STAND_IN_HOST_H
#define PLATFORM_DRAWING_HOST_STAND_IN_HOST_H

#include "platform/drawing-host/win32/host-objects.h"

#include <string>
#include <vector>

namespace drawhost {

class StandInHost {
public:
  StandInHost();
  ~StandInHost();
  StandInHost(const StandInHost &) = delete;
  StandInHost &operator=(const StandInHost &) = delete;

  IDrawApplication *application() const { return application_.get(); }

  // Opens a new document with no pages ("Drawing1.vsd" and so on).
  Document *addDocument(const std::string &folder, const std::string &name);
  const std::vector<ComPtr<Document>> &documents() const { return documents_; }
  Document *findDocument(const std::string &name) const;
  // The stencil with the master the topology check applies to bad wires.
  Document *openStencil();

  // The window the host reports as active: its page and selected shapes.
  void setActiveWindow(Page *page, const std::vector<Shape *> &selected);
  IDrawWindow *activeWindow() const { return activeWindow_.get(); }

  // Fires 0x1400 on every live page.
  void fireIdle();
  // Fires 0x4010 on the page, then removes it: its subscriptions end.
  void deletePage(Page *page);
  // Fires 0x4002 on the document, then closes it with all its pages.
  void deleteDocument(Document *document);

  // Whether the built-in menus have a "&File" menu (they have by default).
  void setBuiltInFileMenu(bool present) { fileMenu_ = present; }
  bool builtInFileMenu() const { return fileMenu_; }
  // Runs a menu item's macro text as the host would. Understood:
  //   call CreateObject("<prog id>").<method>(<arguments>)
  // with no argument or ActivePage (the active window's page), and
  //   call shell(...), which is only recorded. Answers the call's result.
  HRESULT runMacro(const std::string &macro);
  // Chooses an item of the document's custom menus (menu set 2) by the
  // captions of its menu and itself, and runs its macro; DrawHostNoSuchItem
  // when there is no such item.
  HRESULT chooseMenuItem(Document *document, const std::string &menu, const std::string &item);

  // The record of calls and events, oldest first; clearRecord empties it.
  const std::vector<std::string> &record() const { return record_; }
  void clearRecord() { record_.clear(); }
  void note(const std::string &line) { record_.push_back(line); }

  // Host internals used by the objects.
  std::string nextUniqueId();
  long nextSubscriptionId() { return ++subscriptions_; }
  long nextSequence() { return ++sequence_; }

private:
  ComPtr<Application> application_;
  std::vector<ComPtr<Document>> documents_;
  ComPtr<IDrawWindow> activeWindow_;
  std::vector<std::string> record_;
  unsigned long long uniqueIds_ = 0;
  long subscriptions_ = 0;
  long sequence_ = 0;
  bool fileMenu_ = true;
};

} // namespace drawhost

#endif
