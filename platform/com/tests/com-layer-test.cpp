// The COM layer through a real server: registration written and removed
// exactly, class objects, QueryInterface rules, reference and module
// counts, the singleton class, aggregation refused, IDispatch answered from
// the embedded type library and error info at the boundary.
#include "test-server.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/base/win32/unique-handle.h"
#include "platform/base/win32/variant.h"
#include "platform/com/win32/registry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using base::ComPtr;

std::optional<std::string> readRegistryText(const std::string &path, const char *name = nullptr) {
  base::RegKey key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS)
    return std::nullopt;
  char value[1024];
  DWORD size = sizeof value;
  DWORD type = 0;
  if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE *>(value), &size) !=
      ERROR_SUCCESS)
    return std::string(); // the key exists without that value
  return std::string(value, size ? size - 1 : 0);
}

bool keyExists(const std::string &path) {
  base::RegKey key;
  return RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.receive()) ==
         ERROR_SUCCESS;
}

using ServerCall = HRESULT(WINAPI *)();

class ServerModule {
public:
  ServerModule() : module_(LoadLibraryA("test-server.dll")) {}
  bool loaded() const { return static_cast<bool>(module_); }
  HRESULT call(const char *name) {
    auto function = reinterpret_cast<ServerCall>(
        reinterpret_cast<void (*)()>(GetProcAddress(module_.get(), name)));
    return function ? function() : E_NOTIMPL;
  }

private:
  base::ModuleHandle module_;
};

const std::string counterKey = "CLSID\\" + com::guidText(CLSID_TestCounter);
const std::string sharedKey = "CLSID\\" + com::guidText(CLSID_TestShared);
const std::string libraryKey = "TypeLib\\" + com::guidText(LIBID_ComTestLib);

class ComLayer : public testing::Test {
protected:
  static void SetUpTestSuite() {
    CoInitialize(nullptr);
    server_ = new ServerModule();
    ASSERT_TRUE(server_->loaded());
    ASSERT_EQ(server_->call("DllRegisterServer"), S_OK);
  }
  static void TearDownTestSuite() {
    EXPECT_EQ(server_->call("DllUnregisterServer"), S_OK);
    delete server_;
    server_ = nullptr;
    CoUninitialize();
  }
  static ComPtr<ITestCounter> create(const wchar_t *progId) {
    CLSID clsid;
    ComPtr<ITestCounter> counter;
    if (SUCCEEDED(CLSIDFromProgID(progId, &clsid)))
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_ITestCounter,
                       counter.receiveVoid());
    return counter;
  }
  static ServerModule *server_;
};
ServerModule *ComLayer::server_;

TEST_F(ComLayer, RegistrationWritesTheClassKeys) {
  struct Expected {
    std::string path;
    const char *name;
    std::string value;
  } expected[] = {
      {"QOR.TestCounter.1", nullptr, "Test Counter"},
      {"QOR.TestCounter.1\\CLSID", nullptr, com::guidText(CLSID_TestCounter)},
      {"QOR.TestCounter", nullptr, "Test Counter"},
      {"QOR.TestCounter\\CLSID", nullptr, com::guidText(CLSID_TestCounter)},
      {"QOR.TestCounter\\CurVer", nullptr, "QOR.TestCounter.1"},
      {counterKey, nullptr, "Test Counter"},
      {counterKey + "\\ProgID", nullptr, "QOR.TestCounter.1"},
      {counterKey + "\\VersionIndependentProgID", nullptr, "QOR.TestCounter"},
      {counterKey + "\\Programmable", nullptr, ""},
      {counterKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {counterKey + "\\TypeLib", nullptr, com::guidText(LIBID_ComTestLib)},
      {sharedKey + "\\Control", nullptr, ""},
      {sharedKey + "\\MiscStatus", nullptr, "0"},
      {sharedKey + "\\MiscStatus\\1", nullptr, "131473"},
      {sharedKey + "\\Version", nullptr, "1.0"},
  };
  for (const Expected &e : expected)
    EXPECT_EQ(readRegistryText(e.path, e.name), e.value) << e.path;
  std::optional<std::string> module = readRegistryText(counterKey + "\\InprocServer32");
  ASSERT_TRUE(module);
  EXPECT_NE(module->find("test-server.dll"), std::string::npos) << *module;
  EXPECT_FALSE(keyExists(counterKey + "\\Control"));
  EXPECT_TRUE(keyExists(libraryKey));
}

TEST_F(ComLayer, RegisteringTwiceThenUnregisteringLeavesNothing) {
  // A stray sub-key from an older registration goes with the forced removal.
  ASSERT_EQ(com::createRegistryKey(HKEY_CLASSES_ROOT, counterKey + "\\Stale"), S_OK);
  ASSERT_EQ(server_->call("DllRegisterServer"), S_OK);
  EXPECT_FALSE(keyExists(counterKey + "\\Stale"));
  ASSERT_EQ(server_->call("DllUnregisterServer"), S_OK);
  for (const std::string &path : {std::string("QOR.TestCounter.1"), std::string("QOR.TestCounter"),
                                  std::string("QOR.TestShared"), counterKey, sharedKey, libraryKey})
    EXPECT_FALSE(keyExists(path)) << path;
  EXPECT_TRUE(keyExists("CLSID"));
  // Unregistering what is not registered succeeds.
  EXPECT_EQ(server_->call("DllUnregisterServer"), S_OK);
  ASSERT_EQ(server_->call("DllRegisterServer"), S_OK);
}

TEST_F(ComLayer, QueryInterfaceFollowsTheIdentityRules) {
  ComPtr<ITestCounter> counter = create(L"QOR.TestCounter");
  ASSERT_TRUE(counter);
  ComPtr<IUnknown> fromCounter = counter.query<IUnknown>();
  ComPtr<IDispatch> dispatch = counter.query<IDispatch>();
  ASSERT_TRUE(dispatch);
  ComPtr<IUnknown> fromDispatch = dispatch.query<IUnknown>();
  EXPECT_EQ(fromCounter.get(), fromDispatch.get());

  void *out = reinterpret_cast<void *>(1);
  EXPECT_EQ(counter->QueryInterface(IID_IClassFactory, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(counter->QueryInterface(IID_ITestCounter, nullptr), E_POINTER);
}

TEST_F(ComLayer, ReferenceAndModuleCountsDecideUnloading) {
  ComPtr<ITestCounter> counter = create(L"QOR.TestCounter.1");
  ASSERT_TRUE(counter);
  EXPECT_EQ(counter->AddRef(), 2u);
  EXPECT_EQ(counter->Release(), 1u);
  EXPECT_EQ(server_->call("DllCanUnloadNow"), S_FALSE);
  counter.reset();
  EXPECT_EQ(server_->call("DllCanUnloadNow"), S_OK);

  ComPtr<IClassFactory> factory;
  ASSERT_EQ(CoGetClassObject(CLSID_TestCounter, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             factory.receiveVoid()),
            S_OK);
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  factory.reset();
  EXPECT_EQ(server_->call("DllCanUnloadNow"), S_FALSE);
  ASSERT_EQ(CoGetClassObject(CLSID_TestCounter, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             factory.receiveVoid()),
            S_OK);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  factory.reset();
  EXPECT_EQ(server_->call("DllCanUnloadNow"), S_OK);
}

TEST_F(ComLayer, AggregationIsRefused) {
  ComPtr<IUnknown> outer = create(L"QOR.TestCounter").query<IUnknown>();
  ASSERT_TRUE(outer);
  for (const CLSID *clsid : {&CLSID_TestCounter, &CLSID_TestShared}) {
    IUnknown *inner = reinterpret_cast<IUnknown *>(1);
    EXPECT_EQ(CoCreateInstance(*clsid, outer.get(), CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void **>(&inner)),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(inner, nullptr);
  }
}

TEST_F(ComLayer, SingletonClassGivesOneObjectPerProcess) {
  ComPtr<ITestCounter> first = create(L"QOR.TestShared");
  ComPtr<ITestCounter> second = create(L"QOR.TestShared.1");
  ASSERT_TRUE(first && second);
  EXPECT_TRUE(base::sameObject(first.get(), second.get()));
  ASSERT_EQ(first->Add(3), S_OK);
  LONG total = 0;
  ASSERT_EQ(second->get_Total(&total), S_OK);
  EXPECT_EQ(total, 3);
  // While a client holds it, the module stays.
  EXPECT_EQ(server_->call("DllCanUnloadNow"), S_FALSE);
  first.reset();
  second.reset();
  // Only the class table's own reference is left: the module may go.
  EXPECT_EQ(server_->call("DllCanUnloadNow"), S_OK);
  // Plain counters are separate objects.
  EXPECT_FALSE(
      base::sameObject(create(L"QOR.TestCounter").get(), create(L"QOR.TestCounter").get()));
}

HRESULT invokeByName(IDispatch *dispatch, const wchar_t *name, WORD flags, VARIANT *args,
                     UINT count, VARIANT *result, EXCEPINFO *exception) {
  DISPID id;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr))
    return hr;
  DISPPARAMS params = {args, nullptr, count, 0};
  UINT argError = 0;
  return dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, exception,
                          &argError);
}

TEST_F(ComLayer, LateBoundCallsReachTheVtableMethods) {
  ComPtr<ITestCounter> counter = create(L"QOR.TestCounter");
  ComPtr<IDispatch> dispatch = counter.query<IDispatch>();
  ASSERT_TRUE(dispatch);

  struct {
    const wchar_t *name;
    DISPID id;
  } names[] = {{L"Add", 1}, {L"Total", 2}, {L"Fail", 3}, {L"label", 4}};
  for (const auto &n : names) {
    DISPID id = -1;
    LPOLESTR one[] = {const_cast<LPOLESTR>(n.name)};
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, one, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, n.id);
  }
  LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"Subtract")};
  DISPID id;
  EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, unknown, 1, LOCALE_USER_DEFAULT, &id),
            DISP_E_UNKNOWNNAME);

  VARIANT amount;
  V_VT(&amount) = VT_I4;
  V_I4(&amount) = 41;
  ASSERT_EQ(invokeByName(dispatch.get(), L"Add", DISPATCH_METHOD, &amount, 1, nullptr, nullptr),
            S_OK);
  ASSERT_EQ(counter->Add(1), S_OK);
  base::Variant total;
  ASSERT_EQ(invokeByName(dispatch.get(), L"Total", DISPATCH_PROPERTYGET, nullptr, 0, total.get(),
                         nullptr),
            S_OK);
  ASSERT_EQ(total.type(), VT_I4);
  EXPECT_EQ(V_I4(total.get()), 42);

  VARIANT index;
  V_VT(&index) = VT_I4;
  V_I4(&index) = 1;
  base::Variant label;
  ASSERT_EQ(
      invokeByName(dispatch.get(), L"Label", DISPATCH_PROPERTYGET, &index, 1, label.get(), nullptr),
      S_OK);
  ASSERT_EQ(label.type(), VT_BSTR);
  EXPECT_EQ(base::Bstr::toAnsiText(V_BSTR(label.get())), "Counter \xB5"
                                                         "43");
}

TEST_F(ComLayer, FailureCrossesTheBoundaryWithErrorInfo) {
  ComPtr<ITestCounter> counter = create(L"QOR.TestCounter");
  ASSERT_TRUE(counter);
  EXPECT_EQ(counter->Fail(E_ACCESSDENIED), E_ACCESSDENIED);
  ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, info.receive()), S_OK);
  GUID guid;
  ASSERT_EQ(info->GetGUID(&guid), S_OK);
  EXPECT_TRUE(IsEqualGUID(guid, IID_ITestCounter));

  ComPtr<ISupportErrorInfo> support = counter.query<ISupportErrorInfo>();
  ASSERT_TRUE(support);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_ITestCounter), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
  EXPECT_TRUE(base::sameObject(support.get(), counter.get()));

  // Late bound, the failure comes back as the method's code.
  VARIANT code;
  V_VT(&code) = VT_I4;
  V_I4(&code) = E_INVALIDARG;
  EXCEPINFO exception = {};
  ComPtr<IDispatch> dispatch = counter.query<IDispatch>();
  HRESULT hr =
      invokeByName(dispatch.get(), L"Fail", DISPATCH_METHOD, &code, 1, nullptr, &exception);
  if (hr == DISP_E_EXCEPTION)
    EXPECT_EQ(exception.scode, E_INVALIDARG);
  else
    EXPECT_EQ(hr, E_INVALIDARG);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
}

} // namespace
