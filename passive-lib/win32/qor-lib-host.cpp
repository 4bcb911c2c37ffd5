// The two entry points the host's stencil macros call: completing dropped
// components with their control, and opening the properties of the one
// selected component.
#include "passive-lib/win32/qor-lib.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/base/win32/variant.h"

#include <float.h>

#include <string>

namespace passive {
namespace {

using base::ComPtr;

// The control sits 0.24 pt wide and high on the body's pin; its width and
// height are guarded so that the user cannot resize it.
const short FormulaCells[][3] = {{1, 2, 2}, {1, 1, 0}, {1, 1, 1}, {1, 1, 2},
                                 {1, 1, 3}, {1, 1, 4}, {1, 1, 5}};
const char *const Formulas[] = {"GUARD(0)", "BODY!PinX", "BODY!PinY", ".24 pt.",
                                ".24 pt.",  "Width*0.5", "Height*0.5"};
const short InsertFlags = 0x3000;
const short OverwriteGuarded = 2;
const short SelectActionSelect = 2; // adds a shape to the window's selection

ComPtr<IDrawShape> member(IDrawShape *group, const char *name) {
  ComPtr<IDrawShapes> shapes;
  base::check(group->get_Shapes(shapes.receive()), IID_IDrawShape);
  base::Variant key;
  V_VT(key.get()) = VT_BSTR;
  V_BSTR(key.get()) = base::Bstr(std::string(name)).detach();
  ComPtr<IDrawShape> found;
  if (FAILED(shapes->get_Item(*key.get(), found.receive())))
    return nullptr;
  return found;
}

std::string unquoted(std::string text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
    text = text.substr(1, text.size() - 2);
  return text;
}

void writeFormulas(IDrawShape *shape) {
  const ULONG count = sizeof Formulas / sizeof Formulas[0];
  SAFEARRAY *cells = SafeArrayCreateVector(VT_I2, 0, count * 3);
  SAFEARRAY *texts = SafeArrayCreateVector(VT_VARIANT, 0, count);
  if (!cells || !texts) {
    SafeArrayDestroy(cells);
    SafeArrayDestroy(texts);
    throw base::ComError(E_OUTOFMEMORY);
  }
  for (LONG i = 0; i < static_cast<LONG>(count); ++i) {
    for (LONG k = 0; k < 3; ++k) {
      LONG at = i * 3 + k;
      short value = FormulaCells[i][k];
      SafeArrayPutElement(cells, &at, &value);
    }
    base::Variant text;
    V_VT(text.get()) = VT_BSTR;
    V_BSTR(text.get()) = base::Bstr(std::string(Formulas[i])).detach();
    SafeArrayPutElement(texts, &i, text.get());
  }
  const HRESULT hr = shape->SetFormulas(&cells, &texts, OverwriteGuarded);
  SafeArrayDestroy(cells);
  SafeArrayDestroy(texts);
  base::check(hr, IID_IDrawShape);
}

void dropStep(IDrawShape *shape) {
  short type = 0;
  base::check(shape->get_Type(&type), IID_IDrawShape);
  if (type != 2)
    return;
  base::Bstr qorCell(std::string("User.QOR"));
  short exists = 0;
  base::check(shape->get_CellExists(qorCell.get(), 0, &exists), IID_IDrawShape);
  if (!exists) {
    ComPtr<IDrawShapes> shapes;
    base::check(shape->get_Shapes(shapes.receive()), IID_IDrawShape);
    short count = 0;
    base::check(shapes->get_Count(&count), IID_IDrawShapes);
    for (short i = count; i >= 1; --i) {
      base::Variant index;
      V_VT(index.get()) = VT_I2;
      V_I2(index.get()) = i;
      ComPtr<IDrawShape> sub;
      base::check(shapes->get_Item(*index.get(), sub.receive()), IID_IDrawShapes);
      dropStep(sub.get());
    }
    return;
  }
  if (!member(shape, "BODY"))
    throw base::ComError(E_FAIL, IID_IDrawShapes);
  if (member(shape, "QOR"))
    return;
  ComPtr<IDrawCell> cell;
  base::check(shape->get_Cells(qorCell.get(), cell.receive()), IID_IDrawShape);
  base::Bstr formula;
  base::check(cell->get_Formula(formula.receive()), IID_IDrawCell);
  const base::Bstr progId(unquoted(formula.toAnsi()));
  CLSID clsid;
  if (FAILED(CLSIDFromProgID(progId.get(), &clsid)))
    return;
  wchar_t clsidText[40];
  if (StringFromGUID2(clsid, clsidText, 40) != 39)
    return;
  base::Bstr classText = base::Bstr::adopt(SysAllocString(clsidText));
  ComPtr<IDrawShape> control;
  base::check(shape->InsertObject(classText.get(), InsertFlags, control.receive()), IID_IDrawShape);
  base::checkPointer(control.get(), IID_IDrawShape);
  base::check(control->put_Name(base::Bstr(std::string("QOR")).get()), IID_IDrawShape);
  writeFormulas(control.get());
}

} // namespace

HRESULT STDMETHODCALLTYPE QorLib::CompOnDrop(IDrawWindow *ActiveWnd) {
  if (!ActiveWnd)
    return E_POINTER;
  _clearfp();
  return base::guardHostEntry([&]() -> HRESULT {
    ComPtr<IDrawSelection> selection;
    base::check(ActiveWnd->get_Selection(selection.receive()), IID_IDrawWindow);
    LONG count = 0;
    base::check(base::checkPointer(selection.get())->get_Count(&count), IID_IDrawSelection);
    for (LONG i = count; i >= 1; --i) {
      ComPtr<IDrawShape> shape;
      base::check(selection->get_Item(i, shape.receive()), IID_IDrawSelection);
      dropStep(base::checkPointer(shape.get()));
    }
    // The dropped shapes are selected again, as the user left them.
    for (LONG i = count; i >= 1; --i) {
      ComPtr<IDrawShape> shape;
      base::check(selection->get_Item(i, shape.receive()), IID_IDrawSelection);
      base::check(ActiveWnd->Select(shape.get(), SelectActionSelect), IID_IDrawWindow);
    }
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE QorLib::CompShowProp(IDrawWindow *ActiveWnd) {
  if (!ActiveWnd)
    return E_POINTER;
  _clearfp();
  return base::guardHostEntry([&]() -> HRESULT {
    ComPtr<IDrawSelection> selection;
    base::check(ActiveWnd->get_Selection(selection.receive()), IID_IDrawWindow);
    LONG count = 0;
    base::check(base::checkPointer(selection.get())->get_Count(&count), IID_IDrawSelection);
    if (count != 1)
      return S_FALSE;
    ComPtr<IDrawShape> shape;
    base::check(selection->get_Item(1, shape.receive()), IID_IDrawSelection);
    ComPtr<IDrawPage> page;
    base::check(selection->get_ContainingPage(page.receive()), IID_IDrawSelection);
    ComPtr<IQorSimRoot> root;
    base::check(CoCreateInstance(CLSID_SimRoot, nullptr,
                                 CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                                 IID_IQorSimRoot, root.receiveVoid()));
    ComPtr<IQorSimCkt> circuit;
    base::check(root->FindSim(page.get(), circuit.receive()), IID_IQorSimRoot);
    base::Bstr id;
    base::check(base::checkPointer(shape.get())->get_UniqueID(0, id.receive()), IID_IDrawShape);
    ComPtr<IQorOcx> control;
    base::check(base::checkPointer(circuit.get())->OcxMapFind(id.get(), control.receive()),
                IID_IQorSimCkt);
    base::check(base::checkPointer(control.get())->ShowProperties(), IID_IQorOcx);
    return S_OK;
  });
}

} // namespace passive
