// The add-on's shared contract as other servers and the host's macros see
// it: the embedded type library's interfaces in slot order with their
// dispatch identifiers and parameter names, the enumerations, the
// singleton root and refused aggregation (the classes' registry keys are
// qorsim-regsvr32's). The expected tables are written from the contract,
// not from our IDL.
#include "QorSim.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/base/win32/unique-handle.h"
#include "testing/server-exports.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using base::ComPtr;
using testing_support::callExport;

struct Slot {
  const char *name;
  MEMBERID dispid;
  INVOKEKIND kind;
  std::vector<std::string> params; // named parameters; a put's value has no name
};

const INVOKEKIND Method = INVOKE_FUNC, Get = INVOKE_PROPERTYGET, Put = INVOKE_PROPERTYPUT;

struct InterfaceSlots {
  const IID *iid;
  const char *name;
  std::vector<Slot> slots;
};

const std::vector<InterfaceSlots> &contract() {
  static const std::vector<InterfaceSlots> interfaces = {
      {&IID_IQorSparseEntry,
       "IQorSparseEntry",
       {{"RealValue", 1, Get, {"pVal"}}, {"RealValue", 1, Put, {}}}},
      {&IID_IQorSparseMatrix,
       "IQorSparseMatrix",
       {{"InstallMatrixEntry", 1, Method, {"Row", "Col", "pEntry"}},
        {"InstallMatrixTransadmittance",
         2,
         Method,
         {"Row1", "Row2", "Col1", "Col2", "pEntry1", "pEntry2", "pEntry3Neg", "pEntry4Neg"}}}},
      {&IID_IQorSimDC,
       "IQorSimDC",
       {{"Matrix", 1, Get, {"pVal"}},
        {"Solution", 2, Get, {"Index", "pVal"}},
        {"Solution", 2, Put, {"Index"}},
        {"DeltaSolution", 3, Get, {"Index", "pVal"}},
        {"DeltaSolution", 3, Put, {"Index"}},
        {"Rhs", 4, Get, {"Index", "pVal"}},
        {"Rhs", 4, Put, {"Index"}},
        {"AbsSum", 5, Get, {"Index", "pVal"}},
        {"AbsSum", 5, Put, {"Index"}}}},
      {&IID_IQorSimCkt,
       "IQorSimCkt",
       {{"VisEventProc", 1, Method, {"Event", "Source", "ID", "Seq", "Subject", "Extra"}},
        {"SetupEvents", 2, Method, {"DrawingPage"}},
        {"SplashScreen", 3, Method, {}},
        {"CreateNetlist", 5, Method, {}},
        {"Quit", 6, Method, {}},
        {"OcxMapFind", 7, Method, {"DevName", "pOcx"}},
        {"OcxMapInsert", 8, Method, {"DevName", "QorShape", "Ocx", "UpdateDrawing"}},
        {"OcxMapPartID", 9, Get, {"DevName", "pID"}},
        {"OcxMapPartID", 9, Put, {"DevName"}},
        {"GetDev", 10, Method, {"QorShape", "pDev"}},
        {"GetDevIff", 11, Method, {"QorShape", "pDev"}},
        {"IndexMapFind", 12, Method, {"NetName", "pIndex"}},
        {"IndexMapInsert", 13, Method, {"NetName", "pIndex"}},
        {"DevMapFind", 14, Method, {"DevName", "pDev"}},
        {"DevMapInsert", 15, Method, {"DevName", "Dev"}},
        {"TopologyInsert", 16, Method, {"Index1", "Index2", "NameIndex", "PathType"}},
        {"VarType", 17, Get, {"Index", "pType"}},
        {"VarType", 17, Put, {"Index"}},
        {"NakedPin", 18, Get, {"Index", "pFlag"}},
        {"NakedPin", 18, Put, {"Index"}},
        {"SpiceNet", 19, Get, {"Index", "pNetname"}},
        {"SolveDC", 20, Method, {}},
        {"ResetDC", 21, Method, {"RebuildMatrix"}}}},
      {&IID_IQorOcx,
       "IQorOcx",
       {{"_Name", 0, Get, {"pVal"}},
        {"Name", 1, Get, {"pVal"}},
        {"DevProgID", 2, Get, {"pVal"}},
        {"CompShape", 3, Get, {"pShape"}},
        {"Status", 4, Get, {"pStatus"}},
        {"PartID", 5, Get, {"pVal"}},
        {"PartID", 5, Put, {}},
        {"ErrorMark", 6, Get, {"pVal"}},
        {"ErrorMark", 6, Put, {}},
        {"Initialize", 7, Method, {"Shape"}},
        {"ShowProperties", 8, Method, {}},
        {"OnAdvise", 9, Method, {"Mask"}}}},
      {&IID_IQorDev,
       "IQorDev",
       {{"InstallDevice", 1, Method, {"DevName", "Component", "Circuit"}},
        {"TopologyFix", 2, Method, {}},
        {"SpiceInfo", 3, Method, {"pElement", "pModel"}},
        {"SetUpDeviceDC", 4, Method, {}},
        {"LoadDevicePWL", 5, Method, {}},
        {"LoadDeviceDC", 6, Method, {}},
        {"LimitDeltaDC", 7, Method, {}},
        {"UpdateParams", 8, Method, {}},
        {"UpdateResult", 9, Method, {}}}},
      {&IID_IQorSimRoot,
       "IQorSimRoot",
       {{"VisEventProc", 1, Method, {"Event", "Source", "ID", "Seq", "Subject", "Extra"}},
        {"FindSim", 2, Method, {"DrawingPage", "pQorSimCkt"}},
        {"ShowHelpAbout", 3, Method, {}},
        {"CreateNetlist", 4, Method, {"ActivePage"}}}},
      {&IID_IQorWireDev,
       "IQorWireDev",
       {{"NetInfo", 1, Get, {"VisFromParts", "pNetIndex"}}, {"NetInfo", 1, Put, {"VisFromParts"}}}},
  };
  return interfaces;
}

std::string qorSimPath() { return testing_support::hostPath(QORSIM_DLL); }

ComPtr<ITypeLib> loadEmbeddedLibrary() {
  base::Bstr path(qorSimPath());
  ComPtr<ITypeLib> library;
  EXPECT_EQ(LoadTypeLibEx(path.get(), REGKIND_NONE, library.receive()), S_OK) << qorSimPath();
  return library;
}

std::string documentation(ITypeInfo *info, MEMBERID id) {
  base::Bstr name, help;
  info->GetDocumentation(id, name.receive(), help.receive(), nullptr, nullptr);
  return id == MEMBERID_NIL ? help.toAnsi() : name.toAnsi();
}

TEST(Contract, LibraryIdentity) {
  ComPtr<ITypeLib> library = loadEmbeddedLibrary();
  ASSERT_TRUE(library);
  TLIBATTR *attr = nullptr;
  ASSERT_EQ(library->GetLibAttr(&attr), S_OK);
  EXPECT_TRUE(IsEqualGUID(attr->guid, LIBID_QORSIMLib));
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->wMinorVerNum, 0);
  EXPECT_EQ(attr->lcid, 1033u);
  library->ReleaseTLibAttr(attr);
  base::Bstr name, help;
  ASSERT_EQ(library->GetDocumentation(-1, name.receive(), help.receive(), nullptr, nullptr), S_OK);
  EXPECT_EQ(name.toAnsi(), "QORSIMLib");
  EXPECT_EQ(help.toAnsi(), "QorSim 1.0 Type Library");
}

TEST(Contract, InterfacesKeepTheirSlotOrder) {
  ComPtr<ITypeLib> library = loadEmbeddedLibrary();
  ASSERT_TRUE(library);
  for (const InterfaceSlots &expected : contract()) {
    SCOPED_TRACE(expected.name);
    ComPtr<ITypeInfo> dispatchInfo;
    ASSERT_EQ(library->GetTypeInfoOfGuid(*expected.iid, dispatchInfo.receive()), S_OK);
    EXPECT_EQ(documentation(dispatchInfo.get(), MEMBERID_NIL),
              std::string(expected.name) + " Interface");
    // The vtable half of the dual interface.
    HREFTYPE ref;
    ASSERT_EQ(dispatchInfo->GetRefTypeOfImplType(-1, &ref), S_OK);
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(dispatchInfo->GetRefTypeInfo(ref, info.receive()), S_OK);
    TYPEATTR *attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
    EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDUAL);
    UINT count = attr->cFuncs;
    info->ReleaseTypeAttr(attr);
    ASSERT_EQ(count, expected.slots.size());
    for (UINT i = 0; i < count; ++i) {
      const Slot &slot = expected.slots[i];
      SCOPED_TRACE(slot.name);
      FUNCDESC *func = nullptr;
      ASSERT_EQ(info->GetFuncDesc(i, &func), S_OK);
      // IDispatch fills slots 0 to 6; the interface's own methods follow.
      EXPECT_EQ(func->oVft, static_cast<SHORT>((7 + i) * sizeof(void *)));
      EXPECT_EQ(func->memid, slot.dispid);
      EXPECT_EQ(func->invkind, slot.kind);
      EXPECT_EQ(func->elemdescFunc.tdesc.vt, VT_HRESULT);
      MEMBERID memid = func->memid;
      info->ReleaseFuncDesc(func);
      BSTR names[16] = {};
      UINT got = 0;
      ASSERT_EQ(info->GetNames(memid, names, 16, &got), S_OK);
      // GetNames answers for the first function of that id; a put shares
      // its get's id, so compare the method name and, for gets and methods,
      // the parameter names.
      EXPECT_EQ(base::Bstr::toAnsiText(names[0]), slot.name);
      if (slot.kind != Put) {
        std::vector<std::string> params;
        for (UINT n = 1; n < got; ++n)
          params.push_back(base::Bstr::toAnsiText(names[n]));
        EXPECT_EQ(params, slot.params);
      }
      for (UINT n = 0; n < got; ++n)
        SysFreeString(names[n]);
    }
  }
}

// The library's type of that name, or null; its help string in help.
ComPtr<ITypeInfo> typeNamed(ITypeLib *library, const std::string &wanted, std::string *help) {
  ComPtr<ITypeInfo> info;
  for (UINT i = 0; i < library->GetTypeInfoCount() && !info; ++i) {
    base::Bstr name, text;
    library->GetDocumentation(i, name.receive(), text.receive(), nullptr, nullptr);
    if (name.toAnsi() == wanted) {
      library->GetTypeInfo(i, info.receive());
      *help = text.toAnsi();
    }
  }
  return info;
}

std::optional<long> enumValue(ITypeLib *library, const char *enumName, const char *constant) {
  std::string help;
  ComPtr<ITypeInfo> info = typeNamed(library, enumName, &help);
  TYPEATTR *attr = nullptr;
  if (!info || info->GetTypeAttr(&attr) != S_OK)
    return std::nullopt;
  UINT vars = attr->cVars;
  info->ReleaseTypeAttr(attr);
  for (UINT v = 0; v < vars; ++v) {
    VARDESC *var = nullptr;
    info->GetVarDesc(v, &var);
    MEMBERID memid = var->memid;
    long value = V_I4(var->lpvarValue);
    info->ReleaseVarDesc(var);
    if (documentation(info.get(), memid) == constant)
      return value;
  }
  return std::nullopt;
}

TEST(Contract, EnumerationValues) {
  ComPtr<ITypeLib> library = loadEmbeddedLibrary();
  ASSERT_TRUE(library);
  struct {
    const char *type, *constant;
    long value;
  } expected[] = {
      {"QorVariableTypes", "qorVarNoType", 0},    {"QorVariableTypes", "qorVarEffort", 1},
      {"QorVariableTypes", "qorVarFlow", 2},      {"QorVariableTypes", "qorVarElectric", 16},
      {"QorVariableTypes", "qorVarVoltage", 17},  {"QorVariableTypes", "qorVarCurrent", 18},
      {"QorVariableTypes", "qorVarMagnetic", 32}, {"QorVariableTypes", "qorVarMMF", 33},
      {"QorVariableTypes", "qorVarFluxRate", 34}, {"QorPathTypes", "qorPathNoType", 0},
      {"QorPathTypes", "qorPathDcOpen", 1},       {"QorPathTypes", "qorPathDcResist", 2},
      {"QorPathTypes", "qorPathDcShort", 4},      {"QorPathTypes", "qorPathSource", 16},
      {"QorPathTypes", "qorPathISource", 17},     {"QorPathTypes", "qorPathVSource", 20},
      {"QorPathTypes", "qorPathNetShort", 32},    {"QorPathTypes", "qorPathWire", 36},
      {"QorPathTypes", "qorPathGndWire", 100},    {"QorAdviseMask", "qorMaskNone", 0},
      {"QorAdviseMask", "qorMaskDC", 1},
  };
  for (const auto &e : expected)
    EXPECT_EQ(enumValue(library.get(), e.type, e.constant), e.value) << e.constant;
}

TEST(Contract, PointerAliasesAndClasses) {
  ComPtr<ITypeLib> library = loadEmbeddedLibrary();
  ASSERT_TRUE(library);
  struct {
    const char *name;
    TYPEKIND kind;
    const char *help;
  } expected[] = {
      {"LPQORSPARSEENTRY", TKIND_ALIAS, nullptr},  {"LPQORSPARSEMATRIX", TKIND_ALIAS, nullptr},
      {"LPQORSIMDC", TKIND_ALIAS, nullptr},        {"LPQORSIMCKT", TKIND_ALIAS, nullptr},
      {"LPQORSIMROOT", TKIND_ALIAS, nullptr},      {"LPQOROCX", TKIND_ALIAS, nullptr},
      {"LPQORDEV", TKIND_ALIAS, nullptr},          {"LPQORWIREDEV", TKIND_ALIAS, nullptr},
      {"SimRoot", TKIND_COCLASS, "SimRoot Class"}, {"SimCkt", TKIND_COCLASS, "SimCkt Class"},
      {"WireDev", TKIND_COCLASS, "WireDev Class"},
  };
  for (const auto &e : expected) {
    std::string help;
    ComPtr<ITypeInfo> info = typeNamed(library.get(), e.name, &help);
    TYPEATTR *attr = nullptr;
    ASSERT_TRUE(info && info->GetTypeAttr(&attr) == S_OK) << e.name;
    EXPECT_EQ(attr->typekind, e.kind) << e.name;
    info->ReleaseTypeAttr(attr);
    EXPECT_EQ(help, e.help ? e.help : help) << e.name;
  }
}

class Server : public testing::Test {
protected:
  void SetUp() override {
    CoInitialize(nullptr);
    module_.reset(LoadLibraryA(qorSimPath().c_str()));
    ASSERT_TRUE(module_);
    ASSERT_EQ(callExport(module_.get(), "DllRegisterServer"), S_OK);
    // The host's library, as an installed host has it registered: late-bound
    // calls whose parameters are host objects need it.
    base::Bstr hostLibraryPath(testing_support::hostPath(DRAWING_HOST_TLB));
    ASSERT_EQ(LoadTypeLibEx(hostLibraryPath.get(), REGKIND_REGISTER, hostLibrary_.receive()), S_OK);
  }
  void TearDown() override {
    if (hostLibrary_) {
      TLIBATTR *attr = nullptr;
      hostLibrary_->GetLibAttr(&attr);
      UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid,
                        attr->syskind);
      hostLibrary_->ReleaseTLibAttr(attr);
    }
    EXPECT_EQ(callExport(module_.get(), "DllUnregisterServer"), S_OK);
    CoUninitialize();
  }
  static ComPtr<IQorSimRoot> createRoot() {
    CLSID clsid;
    ComPtr<IQorSimRoot> root;
    if (SUCCEEDED(CLSIDFromProgID(L"QOR.SimRoot", &clsid)))
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IQorSimRoot, root.receiveVoid());
    return root;
  }
  base::ModuleHandle module_;
  ComPtr<ITypeLib> hostLibrary_;
};

TEST_F(Server, RootIsOnePerProcess) {
  ComPtr<IQorSimRoot> first = createRoot();
  ComPtr<IQorSimRoot> second = createRoot();
  ASSERT_TRUE(first && second);
  EXPECT_TRUE(base::sameObject(first.get(), second.get()));
}

TEST_F(Server, AggregationIsRefused) {
  ComPtr<IQorSimRoot> root = createRoot();
  ASSERT_TRUE(root);
  IUnknown *inner = reinterpret_cast<IUnknown *>(1);
  EXPECT_EQ(CoCreateInstance(CLSID_SimRoot, root.get(), CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void **>(&inner)),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(inner, nullptr);
}

TEST_F(Server, LateBoundCallByNameReachesTheSameMethod) {
  ComPtr<IQorSimRoot> root = createRoot();
  ASSERT_TRUE(root);
  EXPECT_EQ(root->CreateNetlist(nullptr), E_POINTER);

  ComPtr<IDispatch> dispatch = root.query<IDispatch>();
  ASSERT_TRUE(dispatch);
  LPOLESTR name[] = {const_cast<LPOLESTR>(L"CreateNetlist")};
  DISPID id = 0;
  ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  EXPECT_EQ(id, 4);
  VARIANT page;
  V_VT(&page) = VT_DISPATCH;
  V_DISPATCH(&page) = nullptr;
  DISPPARAMS params = {&page, nullptr, 1, 0};
  EXCEPINFO exception = {};
  UINT argError = 0;
  HRESULT hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                nullptr, &exception, &argError);
  if (hr == DISP_E_EXCEPTION)
    EXPECT_EQ(exception.scode, E_POINTER);
  else
    EXPECT_EQ(hr, E_POINTER);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
}

} // namespace
