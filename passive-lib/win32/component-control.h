// ComponentControl: the shape side of every passive component, an ActiveX
// control that the drawing host keeps inside the component's shape. It
// owns the component XML (DataStr1, parsed into one document that is the
// master between loads), answers the simulator through IQorOcx, binds
// itself to its shape and registers with the page's circuit when the host
// asks for its control information, writes its label and result texts into
// the shape, marks pins and body on request, opens its property sheet and
// persists itself with the drawing. QorLib01's six kinds and QorLib02's
// three differ only by their ControlKind (control-kind.h).
#ifndef PASSIVE_LIB_COMPONENT_CONTROL_H
#define PASSIVE_LIB_COMPONENT_CONTROL_H

#include "QorLib01.h"

#include "passive-lib/win32/control-kind.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/com/win32/control-persistence.h"
#include "platform/com/win32/control-view.h"
#include "platform/com/win32/dispatch.h"
#include "platform/com/win32/object.h"
#include "platform/com/win32/ole-control-object.h"
#include "platform/xml/win32/xml-guids.h"

#include <string>

namespace passive {

using base::Bstr;
using base::ComPtr;

class ComponentControl : public com::Dispatch<IQorOcx2>,
                         public com::Dispatch<IQorOcx>,
                         public com::OleControlObject,
                         public com::ControlPersistence,
                         public com::ControlView {
public:
  explicit ComponentControl(const ControlKind &kind) : kind_(kind) {}
  static const com::InterfaceEntry *interfaces();
  // Creates the service and fills the template; fails only when the
  // service cannot be made (E_NOINTERFACE too where the kind requires it).
  HRESULT construct();

  // IQorOcx
  HRESULT STDMETHODCALLTYPE get__Name(BSTR *pVal) override;
  HRESULT STDMETHODCALLTYPE get_Name(BSTR *pVal) override;
  HRESULT STDMETHODCALLTYPE get_DevProgID(BSTR *pVal) override;
  HRESULT STDMETHODCALLTYPE get_CompShape(IDrawShape **pShape) override;
  HRESULT STDMETHODCALLTYPE get_Status(LONG *pStatus) override;
  HRESULT STDMETHODCALLTYPE get_PartID(BSTR *pVal) override;
  HRESULT STDMETHODCALLTYPE put_PartID(BSTR newVal) override;
  HRESULT STDMETHODCALLTYPE get_ErrorMark(BSTR *pVal) override;
  HRESULT STDMETHODCALLTYPE put_ErrorMark(BSTR newVal) override;
  HRESULT STDMETHODCALLTYPE Initialize(IDrawShape *Shape) override;
  HRESULT STDMETHODCALLTYPE ShowProperties() override;
  HRESULT STDMETHODCALLTYPE OnAdvise(QorAdviseMask Mask) override;

  // IQorOcx2
  HRESULT STDMETHODCALLTYPE get_CompGUID(BSTR *pVal) override;
  HRESULT STDMETHODCALLTYPE put_CompGUID(BSTR newVal) override;
  HRESULT STDMETHODCALLTYPE get_DataStr1(BSTR *pVal) override;
  HRESULT STDMETHODCALLTYPE put_DataStr1(BSTR newVal) override;
  HRESULT STDMETHODCALLTYPE get_DataStr2(BSTR *pVal) override;
  HRESULT STDMETHODCALLTYPE put_DataStr2(BSTR newVal) override;
  HRESULT STDMETHODCALLTYPE get_DirtyFlag(VARIANT_BOOL *pVal) override;
  HRESULT STDMETHODCALLTYPE put_DirtyFlag(VARIANT_BOOL newVal) override;
  HRESULT STDMETHODCALLTYPE get_RootData1(IXMLElement **pVal) override;

  // IOleControl: the host's request is the binding hook (control-binding.cpp).
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO *pCI) override;

  // The label and the result text on the shape (control-layout.cpp); the
  // property sheet's Apply calls them too (control-sheet-owner.h).
  HRESULT UpdateBodyText();
  HRESULT LayoutShape();
  void markDirty() { state_.requiresSave = true; }
  // The part identifier last set through PartID put or read at binding,
  // which the label shows; empty before either.
  std::string cachedPartId() const { return partId_.toAnsi(); }
  // After an Apply: the document as applied becomes the undo copy that an
  // end of the sheet other than OK restores. Throws base::ComError.
  void renewSnapshot() { snapshot(); }

protected:
  com::ControlState &controlState() override { return state_; }
  const CLSID &controlClassId() const override { return *kind_.clsid; }
  DWORD controlMiscStatus() const override { return kind_.miscStatus; }
  std::size_t persistedTextCount() const override { return 3; }
  HRESULT getPersistedText(std::size_t index, BSTR *text) override;
  HRESULT putPersistedText(std::size_t index, BSTR text) override;

private:
  // Throwing helpers (base::ComError) for the guarded operations.
  ComPtr<IXMLElement> root() const;
  ComPtr<IXMLElement> section(const char *name) const;
  std::string deviceAttribute(const char *name) const;
  ComPtr<IQorSimCkt> pageCircuit(IDrawPage *page) const;
  ComPtr<IQorSimCkt> shapeCircuit() const;
  ComPtr<IDrawPage> shapePage() const;
  void bind();
  // The label or result text of a section: its ORDER walked.
  bool sectionText(const char *name, BSTR partId, std::string &text, std::string *layer) const;
  void writeLayout();
  void snapshot();
  void restoreSnapshot();
  // The kind's sheet (or the ground's dialog) run modally: true for OK.
  bool runSheet(const std::string &caption);
  // Runs the sheet or dialog (true for OK); any other end, a failure
  // included, puts the undo copy back.
  template <typename Run> bool runUndoable(Run &&run);
  bool runGroundDialog();
  HRESULT textOut(const std::string &text, BSTR *out) const;

  const ControlKind &kind_;
  com::ControlState state_;
  Bstr compGuid_;
  Bstr dataStr1_;
  // The last confirmed text while a sheet or dialog is open: taken when it
  // opens, renewed by each Apply, restored by any end other than OK. Kept
  // apart from dataStr1_, which a save renews from the document.
  Bstr undoCopy_;
  bool sheetOpen_ = false;
  Bstr dataStr2_;
  ComPtr<IQorLib> lib_;
  ComPtr<IDrawShape> shape_;
  mutable ComPtr<IQorSimRoot> simRoot_; // the process's one root, asked for once
  ComPtr<IXMLDocument> document_;
  Bstr partId_;
};

} // namespace passive

#endif
