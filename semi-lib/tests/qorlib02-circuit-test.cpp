// QorLib02's devices in the real QorSim: every circuit of the ngspice
// cross-check drawn on a page of the stand-in host, with QorLib01's
// sources and resistors beside the diodes and transistors, solved by
// QorSim, and each compared value read back from the page (node voltages,
// the sources' currents, the transistors' RESULT items) and checked against
// the same circuit solved by the device core natively. The ground is the
// simulator tests' TestGnd, whose load count gives QorSim's Newton passes.
// The values also go to ngspice (compare-ngspice.py, as the native check
// does). Devices installed a second time on a recording circuit show the
// ResetDC rules and the floating-point guard through COM.
#include "semi-lib/tests/library-files.h"
#include "semi-lib/tests/qorsim-page.h"
#include "semi-lib/win32/model-library-resource.h"
#include "semi-lib/win32/fp-guard.h"

#include "testing/server-exports.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

using passive_test::ansi;
using passive_test::Bstr;
using passive_test::ComPtr;
using passive_test::TestCircuit;
using passive_test::TestComponent;
using semi_test::DrawnPart;
using semi_test::PartRecord;
using semi_test::QorSimPage;

const double Inf = std::numeric_limits<double>::infinity();

// A new device of a semiconductor kind, through its ProgID as QorSim makes
// them.
ComPtr<IQorDev> createDevice(PartRecord::Kind kind) {
  CLSID clsid;
  EXPECT_EQ(CLSIDFromProgID(ansi(semi_test::semiProgId(kind)).get(), &clsid), S_OK);
  ComPtr<IQorDev> created;
  EXPECT_EQ(
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IQorDev, created.receiveVoid()),
      S_OK);
  return created;
}

HRESULT canUnloadNow(const char *module) {
  return testing_support::callExport(GetModuleHandleA(module), "DllCanUnloadNow");
}

semi_test::CheckCircuit checkCircuit(const std::string &name) {
  for (const semi_test::CheckCircuit &cc : semi_test::checkCircuits())
    if (cc.name == name)
      return cc;
  throw std::runtime_error("no check circuit " + name);
}

class QorLib02InQorSim : public testing::Test {
protected:
  static void SetUpTestSuite() {
    CoInitialize(nullptr);
    servers_ = new semi_test::QorServers(QORSIM_DLL, QORLIB01_DLL, QORLIB02_DLL, TEST_DEVICES_DLL);
    ASSERT_TRUE(servers_->ready());
    host_ = new drawhost::StandInHost();
    // The files of an earlier run go: ngspice is to see this run's only.
    static bool cleared = false;
    std::error_code ignored;
    if (!cleared)
      std::filesystem::remove_all(checkDir(), ignored);
    std::filesystem::create_directories(checkDir(), ignored);
    cleared = true;
  }
  static void TearDownTestSuite() {
    delete host_;
    host_ = nullptr;
    delete servers_;
    servers_ = nullptr;
    CoUninitialize();
  }
  void SetUp() override {
    ASSERT_EQ(CoCreateInstance(CLSID_QorLib, nullptr, CLSCTX_INPROC_SERVER, IID_IQorLib,
                               lib_.receiveVoid()),
              S_OK);
    page_ = std::make_unique<QorSimPage>(*host_, lib_.get(), "Semi.vsd");
    ASSERT_TRUE(page_->ready());
    circuit_ = ComPtr<IQorSimCkt>(page_->circuit());
  }
  void TearDown() override {
    circuit_.reset();
    page_.reset();
  }

  // A second device of a part's kind installed on a recording circuit under
  // the part's name.
  ComPtr<IQorDev> twin(DrawnPart &p, TestCircuit *recorder) {
    ComPtr<IQorDev> created = createDevice(p.record.kind);
    EXPECT_EQ(created->InstallDevice(ansi(p.key).get(), static_cast<IQorOcx *>(p.control.get()),
                                     recorder),
              S_OK);
    return created;
  }
  ComPtr<com::Object<TestCircuit>> recorder() {
    return ComPtr<com::Object<TestCircuit>>::adopt(new com::Object<TestCircuit>(circuit_.get()));
  }
  static std::string checkDir() {
    return testing_support::hostPath(testing_support::envOr("TEST_BINARY_DIR", ".") +
                                     "/qorsim-ngspice-check");
  }
  // Draws the check circuit named, with further parts (netlist lines), and
  // solves the page; native holds the circuit as the device core builds it.
  HRESULT drawAndSolve(semi_test::TestCircuit &native, const std::string &name,
                       const std::string &more = "") {
    checkCircuit(name).build(native);
    semi_test::TestCircuit extra;
    semi_test::addNetlist(extra, more);
    std::vector<PartRecord> records = native.parts;
    records.insert(records.end(), extra.parts.begin(), extra.parts.end());
    page_->draw(records);
    return page_->solve();
  }

  static semi_test::QorServers *servers_;
  static drawhost::StandInHost *host_;
  ComPtr<IQorLib> lib_;
  std::unique_ptr<QorSimPage> page_;
  ComPtr<IQorSimCkt> circuit_;
};

semi_test::QorServers *QorLib02InQorSim::servers_;
drawhost::StandInHost *QorLib02InQorSim::host_;

// Solves one check circuit natively and in QorSim; every compared value of
// the page must equal the native one to 1e-9 relative (the two run the same
// Newton core over the same equations; only the wires' own unknowns
// differ). The page's values are written for ngspice.
class CheckCircuits : public QorLib02InQorSim, public testing::WithParamInterface<std::size_t> {
public:
  void run(const semi_test::CheckCircuit &cc, std::size_t number) {
    const std::string &name = cc.name;
    semi_test::TestCircuit native;
    cc.build(native);
    const semi_test::SolveReport report = native.SolveDC();
    ASSERT_TRUE(report.converged) << name;
    page_->draw(native.parts);
    const LONG before = servers_->testDeviceLoads();
    ASSERT_EQ(page_->solve(), S_OK) << name << ": QorSim did not converge";
    const LONG passes = servers_->testDeviceLoads() - before;
    std::printf("%s: %ld Newton passes in QorSim, %d natively\n", name.c_str(),
                static_cast<long>(passes), report.passes);
    EXPECT_GE(passes, 1);
    EXPECT_LE(passes, semi_test::MostCheckPasses);
    std::vector<semi_test::Compared> list = semi_test::checkQuantities(native, cc);
    ASSERT_FALSE(list.empty());
    for (semi_test::Compared &q : list) {
      const double ours = page_->value(q);
      EXPECT_NEAR(ours, q.ours, 1e-9 * std::fabs(q.ours) + 1e-15)
          << name << ": " << q.what << " in QorSim against the native core";
      q.ours = ours;
    }
    // The semiconductors' SPICE lines through COM: the model line as the
    // core writes it, the element line naming the part and that model.
    for (const PartRecord &record : native.parts) {
      if (record.kind != PartRecord::Diode && record.kind != PartRecord::Npn &&
          record.kind != PartRecord::Pnp)
        continue;
      ComPtr<IQorDev> device;
      ASSERT_EQ(circuit_->GetDev(page_->part(record.partId).shape, device.receive()), S_OK);
      ASSERT_TRUE(device);
      Bstr element, model;
      ASSERT_EQ(device->SpiceInfo(element.receive(), model.receive()), S_OK);
      std::string nativeElement, nativeModel;
      native.device(record.partId).SpiceInfo(nativeElement, nativeModel);
      EXPECT_EQ(model.toAnsi(), nativeModel);
      const std::string text = element.toAnsi();
      EXPECT_EQ(text.substr(0, text.find(' ')), record.partId);
      EXPECT_EQ(text.substr(text.rfind(' ')), nativeElement.substr(nativeElement.rfind(' ')));
    }
    char base[32];
    std::snprintf(base, sizeof base, "/qorsim-%02u", static_cast<unsigned>(number));
    semi_test::writeCheckFiles(checkDir() + base, native.netlist(cc.name), cc.name + " in QorSim",
                               std::to_string(passes), list);
  }
};

TEST_P(CheckCircuits, AgreesWithTheNativeCore) {
  run(semi_test::checkCircuits().at(GetParam()), GetParam() + 1);
}

// Each row under its circuit's name, "_" for each character that is no
// letter or digit.
INSTANTIATE_TEST_SUITE_P(QorSim, CheckCircuits,
                         testing::Range<std::size_t>(0, semi_test::checkCircuits().size()),
                         [](const testing::TestParamInfo<std::size_t> &info) {
                           std::string name = semi_test::checkCircuits().at(info.param).name;
                           for (char &ch : name)
                             ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                           return name;
                         });

TEST_F(QorLib02InQorSim, AFailedTopologyCheckGivesInfinityInEveryResult) {
  // Two resistors in a loop of their own: no DC path to the reference.
  semi_test::TestCircuit native;
  drawAndSolve(native, "2N3904 common-emitter stage", "RX x y 1k; RY y x 1k");
  TestComponent &q = *page_->part("Q1").control.get();
  for (const std::string &name : semi_test::transistorResultNames())
    EXPECT_EQ(q.result(name), Inf) << name;
  EXPECT_EQ(q.dirty, VARIANT_TRUE);
}

// A transistor that nothing touches stays out of the solve: the rest of
// the page gives what it gives without it.
TEST_F(QorLib02InQorSim, AnUnconnectedTransistorIsInert) {
  semi_test::TestCircuit native;
  const char *name = "2N3904 common-emitter stage";
  ASSERT_EQ(drawAndSolve(native, name, "Q9 free-c free-b free-e"), S_OK);
  ASSERT_TRUE(native.SolveDC().converged);
  for (const semi_test::Compared &q : semi_test::checkQuantities(native, checkCircuit(name)))
    EXPECT_NEAR(page_->value(q), q.ours, 1e-9 * std::fabs(q.ours) + 1e-15) << q.what;
  EXPECT_EQ(page_->part("Q9").control->lastUpdate, S_OK);
}

TEST_F(QorLib02InQorSim, ResetDcRulesThroughCom) {
  semi_test::TestCircuit native;
  ASSERT_EQ(drawAndSolve(native, "2N3904 common-emitter stage"), S_OK);
  DrawnPart &q = page_->part("Q1");
  auto counter = recorder();
  ComPtr<IQorDev> dev = twin(q, counter.get());
  counter->resets = 0;
  EXPECT_EQ(dev->UpdateParams(), S_OK);
  EXPECT_EQ(counter->resets, 0) << "unchanged values";
  q.control->setParam("RC", "10"); // 0 to 10: a structure change
  EXPECT_EQ(dev->UpdateParams(), S_OK);
  EXPECT_EQ(counter->resets, 1);
  EXPECT_EQ(counter->lastRebuild, VARIANT_TRUE);
  q.control->setParam("RC", "20");
  EXPECT_EQ(dev->UpdateParams(), S_OK);
  EXPECT_EQ(counter->resets, 2);
  EXPECT_EQ(counter->lastRebuild, VARIANT_FALSE);
  q.control->setParam("TF", "1E-9"); // no DC parameter
  EXPECT_EQ(dev->UpdateParams(), S_OK);
  EXPECT_EQ(counter->resets, 2);
}

TEST_F(QorLib02InQorSim, CallsBeforeInstallAndWithNullArgumentsFailCleanly) {
  for (PartRecord::Kind kind : {PartRecord::Diode, PartRecord::Npn, PartRecord::Pnp}) {
    ComPtr<IQorDev> dev = createDevice(kind);
    ASSERT_TRUE(dev);
    EXPECT_TRUE(dev.query<IQorDev2>());
    // Late-bound callers find the members by name in the module's type
    // libraries.
    ComPtr<IDispatch> dispatch = dev.query<IDispatch>();
    ASSERT_TRUE(dispatch);
    Bstr memberName = ansi("UpdateParams");
    LPOLESTR names[] = {memberName.get()};
    DISPID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0x0409, &id), S_OK);
    // A live device keeps the library loaded; no class aggregates.
    EXPECT_EQ(canUnloadNow("QorLib02.dll"), S_FALSE);
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(ansi(semi_test::semiProgId(kind)).get(), &clsid), S_OK);
    ComPtr<IUnknown> aggregated;
    EXPECT_EQ(CoCreateInstance(clsid, lib_.get(), CLSCTX_INPROC_SERVER, IID_IUnknown,
                               aggregated.receiveVoid()),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(dev->LoadDeviceDC(), E_POINTER);
    EXPECT_EQ(dev->UpdateResult(), E_POINTER);
    EXPECT_EQ(dev->InstallDevice(nullptr, nullptr, circuit_.get()), E_INVALIDARG);
    Bstr element;
    EXPECT_EQ(dev->SpiceInfo(element.receive(), nullptr), E_POINTER);
  }
}

// Floating-point traps in this process are counted, and the interrupted
// instruction is let through with every exception masked, so that a trap
// shows as a count rather than a crash.
LONG traps;
const DWORD MultipleFaults = 0xC00002B4, MultipleTraps = 0xC00002B5;

LONG CALLBACK countFloatingPointTrap(EXCEPTION_POINTERS *info) {
  switch (info->ExceptionRecord->ExceptionCode) {
  case STATUS_FLOAT_DIVIDE_BY_ZERO:
  case STATUS_FLOAT_INVALID_OPERATION:
  case STATUS_FLOAT_OVERFLOW:
  case STATUS_FLOAT_UNDERFLOW:
  case STATUS_FLOAT_INEXACT_RESULT:
  case STATUS_FLOAT_DENORMAL_OPERAND:
  case STATUS_FLOAT_STACK_CHECK:
  case MultipleFaults:
  case MultipleTraps:
    break;
  default:
    return EXCEPTION_CONTINUE_SEARCH;
  }
  ++traps;
  CONTEXT *context = info->ContextRecord;
#ifdef _WIN64
  context->MxCsr = (context->MxCsr | 0x1F80) & ~0x3Fu;
  context->FltSave.MxCsr = context->MxCsr;
  context->FltSave.ControlWord |= 0x3F;
  context->FltSave.StatusWord &= ~0xFF;
#else
  context->FloatSave.ControlWord |= 0x3F;
  context->FloatSave.StatusWord &= ~0xFF;
  DWORD *mxcsr = reinterpret_cast<DWORD *>(context->ExtendedRegisters + 24);
  *mxcsr = (*mxcsr | 0x1F80) & ~0x3Fu;
#endif
  return EXCEPTION_CONTINUE_EXECUTION;
}

bool sameControl(const semi_win32::FpControl &a, const semi_win32::FpControl &b) {
  return a.x87 == b.x87 && a.mxcsr == b.mxcsr;
}

// A host that unmasks division by zero, overflow and invalid operations.
const semi_win32::FpControl Unmasked = {0x0272, 0x1900};

TEST_F(QorLib02InQorSim, EmissionCoefficientZeroWithExceptionsUnmaskedGivesInfinitiesNoTrap) {
  semi_test::TestCircuit native;
  ASSERT_EQ(drawAndSolve(native, "1N4148 forward"), S_OK);
  DrawnPart &d = page_->part("D1");
  d.control->setParam("N", "0");
  auto counter = recorder();
  ComPtr<IQorDev> dev = twin(d, counter.get());
  ASSERT_EQ(dev->TopologyFix(), S_OK);
  ASSERT_EQ(dev->SetUpDeviceDC(), S_OK);

  PVOID handler = AddVectoredExceptionHandler(1, countFloatingPointTrap);
  ASSERT_TRUE(handler);
  const semi_win32::FpControl before = semi_win32::readFpControl();
  traps = 0;
  // The control: in this mode a division by zero here does trap.
  semi_win32::writeFpControl(Unmasked);
  volatile double zero = 0.0;
  volatile double quotient = 1.0 / zero;
  semi_win32::writeFpControl(before);
  EXPECT_EQ(traps, 1) << "the unmasked mode should trap on 1/0";
  EXPECT_EQ(quotient, Inf);

  traps = 0;
  struct Call {
    const char *name;
    HRESULT (STDMETHODCALLTYPE IQorDev::*method)();
  };
  const Call calls[] = {{"UpdateParams", &IQorDev::UpdateParams},
                        {"LoadDevicePWL", &IQorDev::LoadDevicePWL},
                        {"LoadDeviceDC", &IQorDev::LoadDeviceDC},
                        {"LimitDeltaDC", &IQorDev::LimitDeltaDC},
                        {"UpdateResult", &IQorDev::UpdateResult}};
  for (const Call &call : calls) {
    semi_win32::writeFpControl(Unmasked);
    const HRESULT hr = (dev.get()->*call.method)();
    const semi_win32::FpControl after = semi_win32::readFpControl();
    semi_win32::writeFpControl(before);
    EXPECT_EQ(hr, S_OK) << call.name;
    EXPECT_TRUE(sameControl(after, Unmasked))
        << call.name << " left x87 " << std::hex << after.x87 << ", MXCSR " << after.mxcsr;
  }
  RemoveVectoredExceptionHandler(handler);
  EXPECT_EQ(traps, 0) << "a device call trapped";
  // N = 0: the exponent divides by zero; the results show it.
  for (const char *name : {"Idc", "gd", "cd"})
    EXPECT_FALSE(std::isfinite(d.control->result(name))) << name;
  EXPECT_TRUE(std::isfinite(d.control->result("Vj")));
}

} // namespace

namespace {

// Devices create their QorLib service objects from one class object of
// QorLib01 that they share while any of them lives (so a page of thousands
// reads the registry once); the last one to go lets it go, so QorLib01 may
// unload again.
TEST(QorLib02Service, TheLastDeviceToGoLetsTheServiceModuleUnload) {
  CoInitialize(nullptr);
  {
    semi_test::QorServers servers(QORSIM_DLL, QORLIB01_DLL, QORLIB02_DLL, TEST_DEVICES_DLL);
    ASSERT_TRUE(servers.ready());
    std::vector<ComPtr<IQorDev>> devices;
    for (int i = 0; i < 50; ++i)
      devices.push_back(createDevice(PartRecord::Diode));
    ASSERT_TRUE(GetModuleHandleA("QorLib01.dll")) << "the devices loaded the service's module";
    EXPECT_EQ(canUnloadNow("QorLib01.dll"), S_FALSE);
    devices.resize(1);
    EXPECT_EQ(canUnloadNow("QorLib01.dll"), S_FALSE) << "one device still holds its service";
    devices.clear();
    EXPECT_EQ(canUnloadNow("QorLib01.dll"), S_OK) << "the last device let the class object go";
  }
  CoUninitialize();
}

// QorLib02.dll's model libraries: resources 201 to 203 of type "XML" hold
// the library texts byte for byte, so what the module carries parses,
// builds fresh components and chooses models as the sources do in the
// model tests; a module without them gives nothing.
TEST(QorLib02Resources, LibrariesAreTheShippedTextsByteForByte) {
  HMODULE module = LoadLibraryExA(testing_support::hostPath(QORLIB02_DLL).c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr) << QORLIB02_DLL << " error " << GetLastError();
  for (semi::SemiKind kind : semi::AllSemiKinds) {
    std::string text;
    EXPECT_TRUE(semi::loadModelLibrary(module, kind, text)) << semi::libraryResourceId(kind);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text, semi_test::shippedLibrary(kind)) << semi::libraryResourceId(kind);
  }
  FreeLibrary(module);
  std::string text = "stale";
  EXPECT_FALSE(semi::loadModelLibrary(GetModuleHandleA(nullptr), semi::SemiKind::Npn, text));
  EXPECT_TRUE(text.empty());
}

} // namespace
