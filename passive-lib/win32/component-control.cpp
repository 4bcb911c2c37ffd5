// The component control's properties, error marks and persisted texts.
#include "passive-lib/win32/component-control.h"

#include "passive-lib/win32/xml-access.h"

#include "platform/base/win32/com-error.h"
#include "platform/base/win32/variant.h"
#include "platform/com/win32/module.h"

#include <cstdlib>
#include <new>
#include <ctime>
#include <vector>

namespace passive {
namespace {

// The library's file version text, as its version resource gives it.
std::string moduleVersion() {
  char path[MAX_PATH];
  if (!com::modulePath(path, sizeof path))
    return std::string();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  if (!size)
    return std::string();
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(path, 0, size, data.data()))
    return std::string();
  char *value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data.data(), "\\StringFileInfo\\040904b0\\FileVersion",
                      reinterpret_cast<void **>(&value), &length) ||
      !value)
    return std::string();
  return std::string(value, length && value[length - 1] == '\0' ? length - 1 : length);
}

// "%d %b %Y" with the English month names, whatever the user's locale.
std::string creationDate() {
  static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[32];
  wsprintfA(text, "%02u %s %04u", now.wDay, months[(now.wMonth + 11) % 12], now.wYear);
  return text;
}

HRESULT copyOut(const Bstr &text, BSTR *out) {
  *out = nullptr;
  if (!text.get())
    return E_OUTOFMEMORY;
  *out = SysAllocStringLen(text.get(), text.length());
  return *out ? S_OK : E_OUTOFMEMORY;
}

std::string cellFormula(IDrawShape *shape, const std::string &name) {
  ComPtr<IDrawCell> cell;
  base::check(shape->get_Cells(Bstr(name).get(), cell.receive()), IID_IDrawShape);
  Bstr formula;
  base::check(base::checkPointer(cell.get(), IID_IDrawCell)->get_Formula(formula.receive()),
              IID_IDrawCell);
  return formula.toAnsi();
}

void writeCell(IDrawShape *shape, const std::string &name, const char *formula) {
  ComPtr<IDrawCell> cell;
  base::check(shape->get_Cells(Bstr(name).get(), cell.receive()), IID_IDrawShape);
  base::check(base::checkPointer(cell.get(), IID_IDrawCell)->put_Formula(Bstr(formula).get()),
              IID_IDrawCell);
}

} // namespace

HRESULT createComponentControl(const ControlKind &kind, bool mapFailures, REFIID riid, void **out) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  auto *control = new (std::nothrow) com::Object<ComponentControl>(kind);
  if (!control)
    return E_OUTOFMEMORY;
  HRESULT hr = control->construct();
  if (SUCCEEDED(hr))
    hr = control->QueryInterface(riid, out);
  control->Release();
  return mapFailures && FAILED(hr) && hr != E_NOINTERFACE ? E_OUTOFMEMORY : hr;
}

const com::InterfaceEntry *ComponentControl::interfaces() {
  using C = ComponentControl;
  static const com::InterfaceEntry table[] = {
      {&IID_IQorOcx2, com::interfaceOffset<C, IQorOcx2>()},
      {&IID_IDispatch, com::interfaceOffset<C, IQorOcx2>()},
      {&IID_IQorOcx, com::interfaceOffset<C, IQorOcx>()},
      {&IID_IOleObject, com::interfaceOffset<C, IOleObject>()},
      {&IID_IOleControl, com::interfaceOffset<C, IOleControl>()},
      {&IID_IPersistStreamInit, com::interfaceOffset<C, IPersistStreamInit>()},
      {&IID_IPersistStorage, com::interfaceOffset<C, IPersistStorage>()},
      {&IID_IPersist, com::interfaceOffset<C, IPersistStreamInit>()},
      {&IID_IViewObject, com::interfaceOffset<C, IViewObject2>()},
      {&IID_IViewObject2, com::interfaceOffset<C, IViewObject2>()},
      {&IID_IOleInPlaceObject, com::interfaceOffset<C, IOleInPlaceObject>()},
      {&IID_IOleWindow, com::interfaceOffset<C, IOleInPlaceObject>()},
      {&IID_IOleInPlaceActiveObject, com::interfaceOffset<C, IOleInPlaceActiveObject>()},
      {nullptr, 0}};
  return table;
}

HRESULT ComponentControl::construct() {
  compGuid_ = Bstr(std::string());
  dataStr1_ = Bstr(std::string());
  dataStr2_ = Bstr(std::string());
  const HRESULT hr = kind_.createService(lib_.receive());
  if (FAILED(hr))
    return hr == E_NOINTERFACE && !kind_.serviceRequired ? S_OK : hr;
  // Without a version or a document the control still exists; what needs
  // the document then fails.
  try {
    dataStr1_ = Bstr(kind_.startingDocument(moduleVersion(), creationDate()));
    lib_->BSTR2XML(dataStr1_.get(), document_.receive());
  } catch (const base::ComError &) {
  }
  return S_OK;
}

ComPtr<IXMLElement> ComponentControl::root() const {
  base::checkPointer(document_.get(), IID_IXMLDocument);
  ComPtr<IXMLElement> element;
  base::check(document_->get_root(element.receive()), IID_IXMLDocument);
  base::checkPointer(element.get(), IID_IXMLDocument);
  return element;
}

ComPtr<IXMLElement> ComponentControl::section(const char *name) const {
  return childElement(root().get(), name);
}

std::string ComponentControl::deviceAttribute(const char *name) const {
  std::string value;
  attributeText(root().get(), name, value);
  return value;
}

HRESULT ComponentControl::textOut(const std::string &text, BSTR *out) const {
  return copyOut(Bstr(text), out);
}

HRESULT STDMETHODCALLTYPE ComponentControl::get__Name(BSTR *pVal) { return get_Name(pVal); }

HRESULT STDMETHODCALLTYPE ComponentControl::get_Name(BSTR *pVal) {
  if (!pVal)
    return E_POINTER;
  *pVal = nullptr;
  if (kind_.fixedName)
    return textOut(kind_.fixedName, pVal);
  return base::guardCom(IID_IQorOcx, [&] { return textOut(deviceAttribute("OCXNAME"), pVal); });
}

HRESULT STDMETHODCALLTYPE ComponentControl::get_DevProgID(BSTR *pVal) {
  if (!pVal)
    return E_POINTER;
  *pVal = nullptr;
  if (kind_.fixedDevice)
    return textOut(kind_.fixedDevice, pVal);
  return base::guardCom(IID_IQorOcx, [&] { return textOut(deviceAttribute("DEVPROGID"), pVal); });
}

HRESULT STDMETHODCALLTYPE ComponentControl::get_CompShape(IDrawShape **pShape) {
  if (!pShape)
    return E_POINTER;
  *pShape = ComPtr<IDrawShape>(shape_).detach();
  return *pShape ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE ComponentControl::get_Status(LONG *pStatus) {
  if (!pStatus)
    return E_POINTER;
  *pStatus = 0;
  return base::guardCom(IID_IQorOcx, [&]() -> HRESULT {
    std::string value;
    if (attributeText(root().get(), "STATUS", value))
      *pStatus = static_cast<LONG>(std::strtol(value.c_str(), nullptr, 0));
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE ComponentControl::get_PartID(BSTR *pVal) {
  if (!pVal)
    return E_POINTER;
  *pVal = nullptr;
  if (!kind_.hasParams)
    return textOut(std::string(), pVal);
  return base::guardCom(IID_IQorOcx, [&]() -> HRESULT {
    ComPtr<IXMLElement> params = section("PARAMS");
    base::checkPointer(params.get(), IID_IXMLElement);
    for (const ComPtr<IXMLElement> &item : childElements(params.get())) {
      std::string name;
      if (!attributeText(item.get(), "NAME", name) || name != "ID")
        continue;
      std::string value;
      if (attributeText(item.get(), "TEXT", value) || attributeText(item.get(), "DEFAULT", value))
        return textOut(value, pVal);
      break;
    }
    return E_OUTOFMEMORY;
  });
}

HRESULT STDMETHODCALLTYPE ComponentControl::put_PartID(BSTR newVal) {
  if (!newVal)
    return E_POINTER;
  if (!kind_.hasParams)
    return S_OK;
  const bool same = partId_.get() && partId_.length() == SysStringLen(newVal) &&
                    std::wmemcmp(partId_.get(), newVal, partId_.length()) == 0;
  if (same)
    return S_OK;
  BSTR copy = SysAllocStringLen(newVal, SysStringLen(newVal));
  if (!copy)
    return E_OUTOFMEMORY;
  partId_.reset(copy);
  UpdateBodyText();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ComponentControl::get_ErrorMark(BSTR *pVal) {
  if (!pVal)
    return E_POINTER;
  *pVal = nullptr;
  if (!shape_)
    return E_FAIL;
  return base::guardHostEntry([&]() -> HRESULT {
    std::string marks;
    if (cellFormula(shape_.get(), "User.Error") != "FALSE")
      marks = "*";
    for (const char *pin : kind_.pins) {
      if (!pin)
        continue;
      if (cellFormula(shape_.get(), std::string("Connections.") + pin + ".A") != "FALSE")
        marks += (marks.empty() ? "" : ",") + std::string(pin);
    }
    return textOut(marks, pVal);
  });
}

HRESULT STDMETHODCALLTYPE ComponentControl::put_ErrorMark(BSTR newVal) {
  if (!shape_)
    return E_FAIL;
  const std::string mark = Bstr::toAnsiText(newVal);
  std::string cell;
  if (mark == "*")
    cell = "User.Error";
  for (const char *pin : kind_.pins) {
    if (pin && mark == pin)
      cell = std::string("Connections.") + pin + ".A";
  }
  if (!mark.empty() && cell.empty())
    return E_INVALIDARG;
  return base::guardHostEntry([&]() -> HRESULT {
    if (!cell.empty()) {
      writeCell(shape_.get(), cell, "TRUE");
      return S_OK;
    }
    writeCell(shape_.get(), "User.Error", "FALSE");
    for (const char *pin : kind_.pins) {
      if (pin)
        writeCell(shape_.get(), std::string("Connections.") + pin + ".A", "FALSE");
    }
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE ComponentControl::Initialize(IDrawShape *Shape) {
  return Shape ? S_OK : E_POINTER;
}

HRESULT STDMETHODCALLTYPE ComponentControl::get_CompGUID(BSTR *pVal) {
  if (!pVal)
    return E_POINTER;
  return copyOut(compGuid_, pVal);
}

HRESULT STDMETHODCALLTYPE ComponentControl::put_CompGUID(BSTR newVal) {
  compGuid_.reset(newVal ? SysAllocStringLen(newVal, SysStringLen(newVal)) : nullptr);
  return S_OK;
}

// The document is the master: the text given out is the document as it is
// now, so that a saved drawing keeps its last results and edits. While a
// property sheet is open it is the last confirmed text instead: the pages
// edit the document before the user has said OK or Apply.
HRESULT STDMETHODCALLTYPE ComponentControl::get_DataStr1(BSTR *pVal) {
  if (!pVal)
    return E_POINTER;
  *pVal = nullptr;
  if (sheetOpen_)
    return copyOut(undoCopy_, pVal);
  if (document_) {
    Bstr current;
    if (SUCCEEDED(lib_->XML2BSTR(document_.get(), current.receive())) && current.get())
      dataStr1_ = std::move(current);
  }
  return copyOut(dataStr1_, pVal);
}

HRESULT STDMETHODCALLTYPE ComponentControl::put_DataStr1(BSTR newVal) {
  if (!newVal)
    return E_POINTER;
  // Parsed first: a text that does not parse leaves text and document as
  // they were, so the document stays the parse of DataStr1.
  ComPtr<IXMLDocument> parsed;
  const HRESULT hr = lib_ ? lib_->BSTR2XML(newVal, parsed.receive()) : E_POINTER;
  if (FAILED(hr))
    return hr;
  BSTR copy = SysAllocStringLen(newVal, SysStringLen(newVal));
  if (!copy)
    return E_OUTOFMEMORY;
  dataStr1_.reset(copy);
  document_ = parsed;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ComponentControl::get_DataStr2(BSTR *pVal) {
  if (!pVal)
    return E_POINTER;
  return copyOut(dataStr2_, pVal);
}

HRESULT STDMETHODCALLTYPE ComponentControl::put_DataStr2(BSTR newVal) {
  if (!newVal)
    return E_POINTER;
  BSTR copy = SysAllocStringLen(newVal, SysStringLen(newVal));
  if (!copy)
    return E_OUTOFMEMORY;
  dataStr2_.reset(copy);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ComponentControl::get_DirtyFlag(VARIANT_BOOL *pVal) {
  if (!pVal)
    return E_POINTER;
  *pVal = state_.requiresSave ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ComponentControl::put_DirtyFlag(VARIANT_BOOL newVal) {
  if (newVal)
    state_.requiresSave = true;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ComponentControl::get_RootData1(IXMLElement **pVal) {
  if (!pVal)
    return E_POINTER;
  *pVal = nullptr;
  if (!document_)
    return E_POINTER;
  return document_->get_root(pVal);
}

HRESULT ComponentControl::getPersistedText(std::size_t index, BSTR *text) {
  switch (index) {
  case 0:
    return get_CompGUID(text);
  case 1:
    return get_DataStr1(text);
  default:
    return get_DataStr2(text);
  }
}

HRESULT ComponentControl::putPersistedText(std::size_t index, BSTR text) {
  switch (index) {
  case 0:
    return put_CompGUID(text);
  case 1:
    return put_DataStr1(text);
  default:
    return put_DataStr2(text);
  }
}

} // namespace passive
