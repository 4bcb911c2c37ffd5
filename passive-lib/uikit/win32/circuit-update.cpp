#include "passive-lib/uikit/win32/circuit-update.h"

#include "passive-lib/uikit/win32/wait-cursor.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"

namespace uikit {

bool updateCircuitOf(SheetOwner &owner) {
  base::ComPtr<IDrawShape> shape = owner.shape();
  if (!shape)
    return false;
  base::ComPtr<IDrawPage> page;
  base::check(shape->get_ContainingPage(page.receive()), IID_IDrawShape);
  base::ComPtr<IQorSimRoot> root;
  HRESULT made = CoCreateInstance(
      CLSID_SimRoot, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
      IID_IQorSimRoot, root.receiveVoid());
  if (made != E_NOINTERFACE)
    base::check(made, IID_IQorSimRoot);
  base::checkPointer(root.get(), IID_IQorSimRoot);
  base::ComPtr<IQorSimCkt> circuit;
  base::check(root->FindSim(page.get(), circuit.receive()), IID_IQorSimRoot);
  base::checkPointer(circuit.get(), IID_IQorSimRoot);
  base::ComPtr<IQorDev> device;
  if (FAILED(circuit->GetDev(shape.get(), device.receive())) || !device)
    return false;
  WaitCursor wait;
  base::Bstr name(owner.compGuid());
  base::Bstr id(owner.partId());
  base::check(circuit->put_OcxMapPartID(name.get(), id.get()), IID_IQorSimCkt);
  base::check(device->UpdateParams(), IID_IQorDev);
  base::check(circuit->SolveDC(), IID_IQorSimCkt);
  return true;
}

} // namespace uikit
