// The stand-in host runs the macro texts of menu items: a late-bound call
// on an object created by programmatic identifier, as the host's macro
// language would make it.
#include "platform/drawing-host/win32/stand-in-host.h"

#include "platform/drawing-host/win32/host-menus.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/variant.h"

namespace drawhost {

namespace {

std::string between(const std::string &text, const std::string &open, const std::string &close,
                    std::size_t &at) {
  const std::size_t start = text.find(open, at);
  if (start == std::string::npos)
    return std::string();
  const std::size_t end = text.find(close, start + open.size());
  if (end == std::string::npos)
    return std::string();
  at = end + close.size();
  return text.substr(start + open.size(), end - start - open.size());
}

HRESULT invoke(IDispatch *object, const std::string &method, VARIANT *args, UINT count) {
  base::Bstr name(method);
  LPOLESTR names[] = {name.get()};
  DISPID id = 0;
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr))
    return hr;
  DISPPARAMS params = {args, nullptr, count, 0};
  base::Variant result;
  EXCEPINFO exception = {};
  hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result.get(),
                      &exception, nullptr);
  if (hr == DISP_E_EXCEPTION)
    hr = exception.scode;
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return hr;
}

// Walks the interfaces as an add-on would see them.
template <typename Out, typename In, typename Getter, typename... Args>
base::ComPtr<Out> fetch(In *from, Getter getter, Args... args) {
  base::ComPtr<Out> out;
  if (from)
    (from->*getter)(args..., out.receive());
  return out;
}

std::string captionOf(IDrawMenu *menu) {
  base::Bstr text;
  menu->get_Caption(text.receive());
  return text.toAnsi();
}

} // namespace

HRESULT StandInHost::runMacro(const std::string &macro) {
  note("run macro " + macro);
  if (macro.rfind("call shell(", 0) == 0)
    return S_OK;
  std::size_t at = 0;
  const std::string progId = between(macro, "CreateObject(\"", "\")", at);
  const std::string method = between(macro, ".", "(", at);
  const std::string argument = macro.substr(at, macro.rfind(')') - at);
  if (progId.empty() || method.empty())
    return E_INVALIDARG;
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(base::Bstr(progId).get(), &clsid);
  if (FAILED(hr))
    return hr;
  base::ComPtr<IDispatch> object;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object.receiveVoid());
  if (FAILED(hr))
    return hr;
  if (argument.empty())
    return invoke(object.get(), method, nullptr, 0);
  if (argument != "ActivePage")
    return E_INVALIDARG;
  base::ComPtr<IDrawPage> page = fetch<IDrawPage>(activeWindow(), &IDrawWindow::get_Page);
  base::Variant arg;
  V_VT(arg.get()) = VT_DISPATCH;
  V_DISPATCH(arg.get()) = page.detach();
  return invoke(object.get(), method, arg.get(), 1);
}

HRESULT StandInHost::chooseMenuItem(Document *document, const std::string &menu,
                                    const std::string &item) {
  IDrawUIObject *ui = document ? document->customMenus() : nullptr;
  auto sets = fetch<IDrawMenuSets>(ui, &IDrawUIObject::get_MenuSets);
  auto set = fetch<IDrawMenuSet>(sets.get(), &IDrawMenuSets::get_ItemAtID, 2L);
  auto menus = fetch<IDrawMenus>(set.get(), &IDrawMenuSet::get_Menus);
  LONG count = 0;
  if (!menus || FAILED(menus->get_Count(&count)))
    return DrawHostNoSuchItem;
  for (LONG m = 0; m < count; ++m) {
    auto found = fetch<IDrawMenu>(menus.get(), &IDrawMenus::get_Item, m);
    if (!found || captionOf(found.get()) != menu)
      continue;
    auto items = fetch<IDrawMenuItems>(found.get(), &IDrawMenu::get_MenuItems);
    LONG itemCount = 0;
    if (!items || FAILED(items->get_Count(&itemCount)))
      return DrawHostNoSuchItem;
    for (LONG i = 0; i < itemCount; ++i) {
      auto entry = fetch<IDrawMenuItem>(items.get(), &IDrawMenuItems::get_Item, i);
      base::Bstr caption, macro;
      if (!entry || FAILED(entry->get_Caption(caption.receive())) || caption.toAnsi() != item)
        continue;
      entry->get_AddOnName(macro.receive());
      return runMacro(macro.toAnsi());
    }
  }
  return DrawHostNoSuchItem;
}

} // namespace drawhost
